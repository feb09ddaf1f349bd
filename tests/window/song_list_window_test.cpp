// The song list window on a real library, opened from the main window.
#include "window/song_list/song_list_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <functional>

#include "browser/game_body.h"
#include "cli/command_songs.h"
#include "config/config_file.h"
#include "library/file_hash.h"
#include "library/refresh.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "support/fake_wine.h"
#include "support/players.h"
#include "support/scoped_env.h"
#include "support/scripted_ui.h"
#include "support/shell.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "tables/table_store.h"
#include "window/common/controls.h"
#include "window/dialogs/tag_editor_dialog_ids.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/song_list/song_list_model.h"
#include "window/tree/folder_tree.h"
#include "window/tree/folder_tree_ids.h"

namespace qv5 {
namespace {

std::string U8(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

std::string Chart(const char* title, const char* extra = "") {
    return std::string("#TITLE ") + title + "\r\n#ARTIST art\r\n" + extra + "#00111:01010101\r\n";
}

// A table kept as the table commands keep it: its entries each a chart's
// bytes (their md5 is the chart's hash) and a level.
void KeepTestTable(const std::string& header_json,
                   const std::vector<std::pair<std::string, std::string>>& entries) {
    FetchedTable fetched;
    fetched.source = "https://tables.example/";
    fetched.header_bytes = header_json;
    fetched.data_bytes = "[";
    for (const auto& [chart, level] : entries)
        fetched.data_bytes += std::string(fetched.data_bytes.size() > 1 ? "," : "") +
                              "{\"md5\":\"" + Md5Hex(chart) + "\",\"level\":\"" + level +
                              "\",\"title\":\"t\"}";
    fetched.data_bytes += "]";
    std::string error;
    ASSERT_TRUE(ReadTableHeader(fetched.header_bytes, fetched.header, error)) << error;
    ASSERT_TRUE(ReadTableData(fetched.data_bytes, fetched.data, error)) << error;
    KeptTable kept;
    ASSERT_TRUE(KeepTable(fetched, TableChanges{}, nullptr, kept, error)) << error;
}

class SongListWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ConfigRecord c = test::NewPlayerRecord({"songs\\"});
        ASSERT_EQ(SaveConfig(c), 1);
        game.WriteFile("QV5body.exe", "MZ");
        game.WriteFile("songs/a/b/deep.bms", Chart("Deep Song", "#PLAYLEVEL 9\r\n"));
        game.WriteFile("songs/c/easy.bms", Chart("Easy Song", "#PLAYLEVEL 2\r\n"));
        game.WriteFile("songs/c/utf.bms", Chart("\xE6\x96\xB0\xE4\xB8\x96\xE7\x95\x8C"));  // 新世界
        OpenTestLibrary("player");
        ASSERT_TRUE(TestRegisterRoot("songs\\"));
        CloseTestLibrary();
        dlg.InitDialog();
        QAction* open = dlg.findChild<QAction*>(QStringLiteral("songListAction"));
        ASSERT_TRUE(open);
        open->trigger();
        list = dlg.findChild<SongListWindow*>();
        ASSERT_TRUE(list);
    }
    int Row(const std::string& path) { return list->Model()->RowOf(WinPath(path)); }
    std::string Cell(int row, SongColumn c) {
        return list->Model()
            ->data(list->Model()->index(row, static_cast<int>(c)), Qt::DisplayRole)
            .toString()
            .toStdString();
    }

    test::TempGame game;
    // The remembered column widths, sort and filters of each test stay in it.
    test::ScopedEnv config_home{"XDG_CONFIG_HOME", game.host() + "/.config"};
    test::FakeWine wine;
    test::ScopedScriptedUi ui;
    MainWindow dlg;
    SongListWindow* list = nullptr;
};

TEST_F(SongListWindowTest, TheMenuOpensTheListAndPlayRunsTheTreesPlayCommand) {
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->CountText().toStdString(), U8(u8"3 / 3 譜面"));
    EXPECT_EQ(Cell(Row("songs\\c\\utf.bms"), SongColumn::Title), U8(u8"新世界"));
    // The tree's own command, then each way of playing the row: one game each.
    const std::string chart = "songs\\c\\easy.bms";
    dlg.JukeboxTab()->Tree()->hooks.chart_command(kCmdPlayChart, chart);
    const QModelIndex index = list->Model()->index(Row(chart), 0);
    list->View()->setCurrentIndex(index);
    const struct {
        const char* way;
        std::function<void()> act;
    } ways[] = {
        {"Enter", [&] { QTest::keyClick(list->View(), Qt::Key_Return); }},
        {"Enter of the keypad",
         [&] { QTest::keyClick(list->View(), Qt::Key_Enter, Qt::KeypadModifier); }},
        // The first click, then the second one that makes it double.
        {"double click",
         [&] {
             const QPoint at = list->View()->visualRect(index).center();
             QTest::mouseClick(list->View()->viewport(), Qt::LeftButton, {}, at);
             QTest::mouseDClick(list->View()->viewport(), Qt::LeftButton, {}, at);
         }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        const size_t before = wine.Runs().size();
        w.act();
        const auto runs = wine.Runs();
        ASSERT_EQ(runs.size(), before + 1);
        EXPECT_EQ(runs.back().argv, runs[0].argv);
        EXPECT_EQ(runs.back().cwd, runs[0].cwd);
    }
    const auto argv = wine.Runs()[0].argv;
    EXPECT_NE(std::find(argv.begin(), argv.end(), chart), argv.end());
}

TEST_F(SongListWindowTest, OpenTheFolderOpensTheFolderThatHoldsTheChart) {
    game.WriteFile(U8(u8"songs/pack/ソング.bms"), Chart("Pack Song"));
    OpenTestLibrary("player");
    ASSERT_TRUE(TestRefresh("songs\\"));
    CloseTestLibrary();
    list->FollowLibrary(true);
    const struct {
        std::string chart, folder;
    } cases[] = {
        {"songs\\a\\b\\deep.bms", "songs\\a\\b\\"},
        {Sj(u8"songs\\pack\\ソング.bms"), "songs\\pack\\"},  // ソ is 0x83 0x5C
    };
    std::vector<std::string> opened, want;
    const auto old = SetShellOpenHandler([&](const std::string& t) { opened.push_back(t); });
    for (const auto& c : cases) {
        ASSERT_GE(Row(c.chart), 0) << c.folder;
        list->OpenFolder(Row(c.chart));
        want.push_back(c.folder);
    }
    SetShellOpenHandler(old);
    EXPECT_EQ(opened, want);
}

TEST_F(SongListWindowTest, ShowInTheFolderTreeSelectsTheChartsItem) {
    list->ShowInTree(Row("songs\\a\\b\\deep.bms"));
    EXPECT_EQ(dlg.Tabs()->currentIndex(), 1);
    FolderTree* tree = dlg.JukeboxTab()->Tree();
    ASSERT_TRUE(tree->currentItem());
    EXPECT_EQ(FolderTree::ItemPath(tree->currentItem()), "songs\\a\\b\\deep.bms");
}

TEST_F(SongListWindowTest, TheTagEditorsSaveShowsInTheRow) {
    ui->AnswerDialog([](QDialog& d) {
        Control<QLineEdit>(&d, tag_editor_id::kTitle)->setText(QStringLiteral("Renamed"));
        Control<QPushButton>(&d, 1)->click();
        return d.result();
    });
    list->EditTags(Row("songs\\c\\easy.bms"));
    EXPECT_EQ(Cell(Row("songs\\c\\easy.bms"), SongColumn::Title), "Renamed");
}

// Gone while the list was open, nothing written to the library: greyed when
// the window is next activated.
TEST_F(SongListWindowTest, AVanishedFileIsGreyedNotHidden) {
    auto colour = [&](const std::string& path) {
        return list->Model()->data(list->Model()->index(Row(path), 0), Qt::ForegroundRole);
    };
    ASSERT_FALSE(colour("songs\\c\\easy.bms").isValid());  // shown while there
    ASSERT_EQ(unlink(game.HostPath("songs/c/easy.bms").c_str()), 0);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(list, &activate);
    EXPECT_TRUE(colour("songs\\c\\easy.bms").isValid());
    EXPECT_FALSE(colour("songs\\a\\b\\deep.bms").isValid());
    EXPECT_EQ(list->Model()->rowCount(), 3);
}

TEST_F(SongListWindowTest, ARefreshByAnotherProcessShowsOnActivation) {
    game.WriteFile("songs/c/new.bms", Chart("New Song"));
    const std::string qv5 = std::string("'") + QV5_EXE + "' --dir '" + game.host() + "' ";
    ASSERT_EQ(test::RunShell(qv5 + "refresh '" + game.HostPath("songs") + "' 2>&1").code, 0);
    EXPECT_EQ(list->Model()->rowCount(), 3);  // not before the activation
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(list, &activate);
    EXPECT_EQ(list->CountText().toStdString(), U8(u8"4 / 4 譜面"));
}

// The command prints the rows the window shows for the same filter and sort.
TEST_F(SongListWindowTest, TheSongsCommandPrintsTheWindowsRows) {
    const std::string qv5 = std::string("'") + QV5_EXE + "' --dir '" + game.host() + "' songs --tsv ";
    auto with = [](auto set) {
        SongFilter f;
        set(f);
        return f;
    };
    const struct {
        const char* args;
        SongFilter filter;
        SongColumn column;
        bool descending;
    } cases[] = {
        {"", {}, SongColumn::Added, true},
        {"SONG", with([](SongFilter& f) { f.words = "SONG"; }), SongColumn::Added, true},
        {"--level 5- --sort added", with([](SongFilter& f) { f.level_min = 5; }),
         SongColumn::Added, true},
        {"--mode 7 --sort -title", with([](SongFilter& f) { f.mode = 7; }), SongColumn::Title,
         true},
        {"easy --not-played --sort level",
         with([](SongFilter& f) { f.words = "easy", f.not_played = true; }), SongColumn::Level,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const auto printed = test::RunShell(qv5 + c.args + " 2>/dev/null");
        ASSERT_EQ(printed.code, 0);
        list->SetFilterControls(c.filter);
        list->View()->sortByColumn(static_cast<int>(c.column),
                                   c.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        std::string shown = "path";
        for (int col = 0; col < kSongColumns; ++col)
            if (SongColumn(col) != SongColumn::Path) shown += std::string("\t") + ColumnKey(SongColumn(col));
        shown += "\thost_path\n";
        for (int row = 0; row < list->Model()->rowCount(); ++row) {
            shown += Cell(row, SongColumn::Path);
            for (int col = 0; col < kSongColumns; ++col)
                if (SongColumn(col) != SongColumn::Path) shown += '\t' + Cell(row, SongColumn(col));
            // The host path last, from the game folder the command ran in.
            std::string host = Cell(row, SongColumn::Path);
            std::replace(host.begin(), host.end(), '\\', '/');
            shown += '\t' + host + '\n';
        }
        EXPECT_EQ(printed.out, shown);
    }
}

// Every level of every kept table listing the chart, in the column and in
// the filter by table and level.
TEST_F(SongListWindowTest, TheTablesColumnAndFilterShowTheKeptTablesLevels) {
    const std::string deep = Chart("Deep Song", "#PLAYLEVEL 9\r\n");
    const std::string easy = Chart("Easy Song", "#PLAYLEVEL 2\r\n");
    KeepTestTable(
        U8(u8R"({"name":"Insane","symbol":"★","data_url":"d.json","level_order":["13","12"]})"),
        {{easy, "12"}, {deep, "12"}, {easy, "13"}, {Chart("Not Held"), "12"}});
    // Its path is not ASCII: song.db's hashes hold it in CP932, the rows in UTF-8.
    const std::string pack = Chart("Pack Song");
    game.WriteFile(U8(u8"songs/pack/ソング.bms"), pack);
    OpenTestLibrary("player");
    ASSERT_TRUE(TestRefresh("songs\\"));
    CloseTestLibrary();
    list->FollowLibrary(true);
    KeepTestTable(R"({"name":"Satellite","symbol":"sl","data_url":"d.json"})",
                  {{deep, "3"}, {pack, "3"}});
    // Seen when the window is next activated, as the tables' files changed.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(list, &activate);
    for (int waited = 0; waited < 10000 && list->ReadingTables(); waited += 10) QTest::qWait(10);
    ASSERT_FALSE(list->ReadingTables());

    const struct {
        std::string path, shown;
    } cells[] = {
        {"songs\\a\\b\\deep.bms", U8(u8"★12 sl3")},  // two tables
        {"songs\\c\\easy.bms", U8(u8"★13 ★12")},     // two levels, in the table's order
        {"songs\\c\\utf.bms", ""},                   // none
        {Sj(u8"songs\\pack\\ソング.bms"), "sl3"},
    };
    for (const auto& c : cells)
        EXPECT_EQ(list->Model()
                      ->data(list->Model()->index(Row(c.path), kTablesColumn), Qt::DisplayRole)
                      .toString()
                      .toStdString(),
                  c.shown)
            << c.path;

    const struct {
        const char *table, *level;
        std::vector<std::string> shown;  // by path
    } filters[] = {
        {"",
         "",
         {"songs\\a\\b\\deep.bms", "songs\\c\\easy.bms", "songs\\c\\utf.bms",
          U8(u8"songs\\pack\\ソング.bms")}},
        {"Insane", "", {"songs\\a\\b\\deep.bms", "songs\\c\\easy.bms"}},
        {"Insane", "13", {"songs\\c\\easy.bms"}},
        {"Insane", "12", {"songs\\a\\b\\deep.bms", "songs\\c\\easy.bms"}},
        {"Satellite", "", {"songs\\a\\b\\deep.bms", U8(u8"songs\\pack\\ソング.bms")}},
        {"Satellite", "3", {"songs\\a\\b\\deep.bms", U8(u8"songs\\pack\\ソング.bms")}},
    };
    list->View()->sortByColumn(static_cast<int>(SongColumn::Path), Qt::AscendingOrder);
    for (const auto& f : filters) {
        SCOPED_TRACE(std::string(f.table) + " " + f.level);
        QComboBox* table = list->TableBox();
        table->setCurrentIndex(table->findData(QString::fromUtf8(f.table)));
        ASSERT_EQ(table->currentData().toString().toStdString(), f.table);
        QComboBox* level = list->TableLevelBox();
        level->setCurrentIndex(level->findData(QString::fromUtf8(f.level)));
        ASSERT_EQ(level->currentData().toString().toStdString(), f.level);
        std::vector<std::string> shown;
        for (int row = 0; row < list->Model()->rowCount(); ++row)
            shown.push_back(Cell(row, SongColumn::Path));
        EXPECT_EQ(shown, f.shown);
    }
    // Remembered by name, and chosen again once a new window has read the
    // tables.
    list->close();
    {
        SongListWindow again(dlg.Library());
        for (int waited = 0; waited < 10000 && again.ReadingTables(); waited += 10)
            QTest::qWait(10);
        EXPECT_EQ(again.TableBox()->currentData().toString().toStdString(), "Satellite");
        EXPECT_EQ(again.TableLevelBox()->currentData().toString().toStdString(), "3");
        EXPECT_EQ(again.Model()->rowCount(), 2);
    }
    // By the column: the levels in shown order, a chart of none last.
    list->TableBox()->setCurrentIndex(0);
    list->View()->sortByColumn(kTablesColumn, Qt::AscendingOrder);
    EXPECT_EQ(Cell(0, SongColumn::Path), "songs\\c\\easy.bms");
    EXPECT_EQ(Cell(3, SongColumn::Path), "songs\\c\\utf.bms");
}

TEST_F(SongListWindowTest, CaptionsFollowTheLanguage) {
    dlg.OnLanguage(1);
    QApplication::processEvents();  // Qt posts the LanguageChange
    EXPECT_EQ(list->windowTitle().toStdString(), "Song list");
    EXPECT_EQ(list->Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(),
              "Title");
    EXPECT_EQ(list->CountText().toStdString(), "3 / 3 charts");
    EXPECT_EQ(dlg.LibraryMenu()->title().toStdString(), "Library");
    dlg.OnLanguage(0);
    QApplication::processEvents();
    EXPECT_EQ(list->windowTitle().toStdString(), U8(u8"曲リスト"));
    EXPECT_EQ(dlg.LibraryMenu()->title().toStdString(), U8(u8"ライブラリ"));
}

TEST_F(SongListWindowTest, FiltersSortAndWidthsAreRememberedBetweenRuns) {
    list->FilterEdit()->setText(QStringLiteral("easy"));
    list->View()->sortByColumn(static_cast<int>(SongColumn::Level), Qt::DescendingOrder);
    list->View()->horizontalHeader()->resizeSection(0, 333);
    list->close();
    SongListWindow again(dlg.Library());
    EXPECT_EQ(again.FilterEdit()->text().toStdString(), "easy");
    EXPECT_EQ(again.Model()->SortColumn(), SongColumn::Level);
    EXPECT_TRUE(again.Model()->Descending());
    EXPECT_EQ(again.View()->horizontalHeader()->sectionSize(0), 333);
    EXPECT_EQ(again.CountText().toStdString(), U8(u8"1 / 3 譜面"));
}

}  // namespace
}  // namespace qv5
