// The tables window on a real library and a real player database with
// scores, the tables fetched from a real HTTP server on 127.0.0.1: the
// levels with their counts and lamps, the entries and their links, and the
// add, update and remove jobs with song.db and the level folders after each.
#include "window/tables/tables_window.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "config/config_file.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "support/http_server.h"
#include "support/library_compare.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "window/main/main_window.h"
#include "window/tables/lamp_bar.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

std::string U8(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

std::string Entry(const std::string& level, const std::string& md5, const std::string& title,
                  const std::string& more = "") {
    return R"({"level":")" + level + R"(","md5":")" + md5 + R"(","title":")" + title + "\"" + more +
           "}";
}

// The lamps each chart's score gives, and the charts without a score row.
constexpr int kClears[] = {0, 1, 2, 3, 4, 5, 9};  // 9: a value past the full combo

class TablesWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("no_proxy", "127.0.0.1", 1);
        unsetenv("http_proxy");
        server.SetMode("missing");
        ASSERT_EQ(SaveConfig(test::NewPlayerRecord({"songs\\"})), 1);
        for (int i = 0; i < 8; ++i)
            game.WriteFile("songs/s/c" + std::to_string(i) + ".bms",
                           "#TITLE c" + std::to_string(i) +
                               "\r\n#00111:" + std::string(size_t(2 * (i + 1)), '1') + "\r\n");
        OpenTestLibrary("player");
        ASSERT_TRUE(TestRegisterRoot("songs\\"));
        md5 = test::QueryRows("SELECT hash FROM song ORDER BY path");
        ASSERT_EQ(md5.size(), 8u);
        // c0..c6 scored (the lamp of kClears, 80% of the EX maximum); c7 not.
        for (size_t i = 0; i < std::size(kClears); ++i)
            ASSERT_TRUE(
                TestDb().Exec("INSERT INTO scoredb.score(hash,clear,perfect,great,"
                              "totalnotes) VALUES('" +
                              md5[i] + "'," + std::to_string(kClears[i]) + ",70,20,100)"));
        CloseTestLibrary();
        server.Serve("/t/table.html",
                     R"(<html><head><meta name="bmstable" content="header.json"></head></html>)");
        server.Serve(
            "/t/header.json",
            U8(u8R"({"name":"Window table","symbol":"★","data_url":"data.json","level_order":["1","2"]})"));
        std::vector<std::string> level1;
        for (const std::string& m : md5) level1.push_back(Entry("1", m, "held"));
        level1.push_back(Entry("1", std::string(32, 'a'), "Missing one",
                               R"(,"artist":"someone","url":"https://example.org/song.zip",)"
                               R"("url_diff":"http://example.org/diff?id=3","comment":"new")"));
        level1.push_back(
            Entry("1", std::string(32, 'b'), "Unsafe link",
                  R"x(,"url":"file:///etc/passwd","url_diff":"javascript:alert(1)")x"));
        level1.push_back(R"({"level":"1","sha256":")" + std::string(64, 'c') +
                         R"(","title":"Only sha256"})");
        level1.push_back(Entry("2", md5[0], "held again"));
        level1.push_back(Entry("2", std::string(32, 'd'), "Missing two"));
        level1.push_back(Entry("2", std::string(32, 'e'), "c7 [ANOTHER]"));  // c7's song
        SetData(level1);
        dlg.InitDialog();
        QAction* open = dlg.findChild<QAction*>(QStringLiteral("tablesAction"));
        ASSERT_TRUE(open);
        open->trigger();
        window = dlg.findChild<TablesWindow*>();
        ASSERT_TRUE(window);
        window->progress_factory = [](QWidget*, const std::string&) {
            return std::unique_ptr<Progress>();  // shows nothing
        };
    }
    void SetData(const std::vector<std::string>& entries) {
        std::string out = "[";
        for (const std::string& e : entries) out += (out.size() > 1 ? "," : "") + e;
        server.Serve("/t/data.json", out + "]");
    }
    void AddByDialog() {
        ui->AnswerDialog([&](QDialog& d) {
            d.findChild<QLineEdit*>(QStringLiteral("source"))
                ->setText(QString::fromStdString(server.Url("/t/table.html")));
            return int(QDialog::Accepted);
        });
        ui->AnswerMessage(MsgAnswer::Ok);  // the summary
        window->AskToAddTable();
    }
    std::vector<std::string> Column(QTreeWidget* view, int column) const {
        std::vector<std::string> out;
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            out.push_back(view->topLevelItem(i)->text(column).toStdString());
        return out;
    }
    // song.db as the window's jobs left it against a fresh registration of
    // the song folders config.xml names.
    ::testing::AssertionResult LibraryIsFresh() {
        ConfigRecord c;
        LoadConfig(c);
        std::vector<std::string> roots;
        for (int i = 0; i < c.path_count; ++i) roots.push_back(c.path[i]);
        OpenTestLibrary("");
        const auto result = test::MatchesFreshRegistration(roots);
        CloseTestLibrary();
        return result;
    }
    size_t LevelFiles() const {
        size_t n = 0;
        if (fs::exists(game.HostPath("tables")))
            for (const auto& e : fs::recursive_directory_iterator(game.HostPath("tables")))
                n += e.path().extension() == ".qv5folder";
        return n;
    }

    test::TempGame game;
    test::HttpServer server;
    test::ScopedScriptedUi ui;
    std::vector<std::string> md5;
    MainWindow dlg;
    TablesWindow* window = nullptr;
};

TEST_F(TablesWindowTest, LevelsCountTheLampsOfThePlayersScores) {
    EXPECT_EQ(window->TableBox()->count(), 0);
    AddByDialog();
    EXPECT_TRUE(ui->Exhausted());
    ASSERT_EQ(window->Tables().tables.size(), 1u);
    EXPECT_EQ(test::ConfigRoots(), "songs\\;tables\\;");  // the first table's song folder
    EXPECT_EQ(LevelFiles(), 2u);
    EXPECT_TRUE(LibraryIsFresh());

    EXPECT_EQ(Column(window->Levels(), 0), (std::vector<std::string>{U8(u8"★1"), U8(u8"★2")}));
    EXPECT_EQ(Column(window->Levels(), 1), (std::vector<std::string>{"8 / 11", "1 / 3"}));
    // Level 1: three not held (two missing, one of sha256 only), c6 past
    // the full combo counted as one, c0 (lamp 0) and c7 (no score) not played.
    const struct {
        EntryLamp lamp;
        long level1, level2;
    } cases[] = {
        {EntryLamp::NotHeld, 3, 2},   {EntryLamp::NotPlayed, 2, 1}, {EntryLamp::Failed, 1, 0},
        {EntryLamp::Easy, 1, 0},      {EntryLamp::Clear, 1, 0},     {EntryLamp::Hard, 1, 0},
        {EntryLamp::FullCombo, 2, 0},
    };
    ASSERT_EQ(window->LevelLamps().size(), 2u);
    for (const auto& c : cases) {
        EXPECT_EQ(window->LevelLamps()[0].count[int(c.lamp)], c.level1) << int(c.lamp);
        EXPECT_EQ(window->LevelLamps()[1].count[int(c.lamp)], c.level2) << int(c.lamp);
        // What the bar is painted from, and its tooltip.
        const QVariantList bar =
            window->Levels()->topLevelItem(0)->data(2, kLampCountsRole).toList();
        ASSERT_EQ(bar.size(), kEntryLamps);
        EXPECT_EQ(bar[int(c.lamp)].toLongLong(), c.level1);
    }
    const QString tip = window->Levels()->topLevelItem(0)->toolTip(2);
    EXPECT_TRUE(tip.contains(QStringLiteral("FULL COMBO 2"))) << tip.toStdString();
    EXPECT_FALSE(tip.contains(QStringLiteral("FAIL 0"))) << tip.toStdString();

    // The entries of level 1 with their lamps, rates and paths.
    EXPECT_EQ(window->Entries()->topLevelItemCount(), 11);
    EXPECT_EQ(window->Entries()->topLevelItem(2)->text(0).toStdString(), "EASY");
    EXPECT_EQ(window->Entries()->topLevelItem(2)->text(3).toStdString(), "80%");
    EXPECT_EQ(window->Entries()->topLevelItem(2)->text(4).toStdString(), "songs\\s\\c2.bms");
    EXPECT_EQ(window->Entries()->topLevelItem(7)->text(3).toStdString(), "");     // no score
    EXPECT_EQ(window->Entries()->topLevelItem(8)->text(4).toStdString(), "new");  // the comment

    // The filters.
    const struct {
        EntryFilter filter;
        const char* words;
        std::vector<std::string> titles;
    } filters[] = {
        {EntryFilter::Missing, "", {"Missing one", "Unsafe link", "Only sha256"}},
        {EntryFilter::NotCleared, "MISSING", {"Missing one"}},
        {EntryFilter::All, "c1.bms", {"held"}},
        {EntryFilter::All, "someone", {"Missing one"}},
    };
    for (const auto& f : filters) {
        window->SetEntryFilter(f.filter, QString::fromLatin1(f.words));
        EXPECT_EQ(Column(window->Entries(), 1), f.titles) << f.words;
    }
    window->SetEntryFilter(EntryFilter::NotCleared);
    EXPECT_EQ(window->Entries()->topLevelItemCount(), 6);  // 3 not held, 2 not played, 1 failed
    window->SelectLevel(1);
    window->SetEntryFilter(EntryFilter::All);
    EXPECT_EQ(Column(window->Entries(), 1),
              (std::vector<std::string>{"held again", "Missing two", "c7 [ANOTHER]"}));
    // Only the additional chart of c7's song is missing: its folder is named.
    EXPECT_EQ(Column(window->Entries(), 4)[1], "");
    EXPECT_EQ(Column(window->Entries(), 4)[2], U8(u8"曲フォルダあり: songs\\s\\"));
}

TEST_F(TablesWindowTest, EntriesOpenTheirPagesAndPlay) {
    AddByDialog();
    window->SetEntryFilter(EntryFilter::Missing);
    std::vector<std::string> opened, played;
    const auto old = SetShellOpenHandler([&](const std::string& t) { opened.push_back(t); });
    window->OpenEntryPage(0, false);
    window->OpenEntryPage(0, true);
    // Links that are no web addresses are never handed over: each is said.
    ui->AnswerMessage(MsgAnswer::Ok);
    ui->AnswerMessage(MsgAnswer::Ok);
    window->OpenEntryPage(1, false);
    window->OpenEntryPage(1, true);
    SetShellOpenHandler(old);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org/song.zip",
                                                "http://example.org/diff?id=3"}));
    EXPECT_TRUE(ui->Exhausted());

    window->hooks.play = [&](const std::string& p) { played.push_back(p); };
    window->SetEntryFilter(EntryFilter::All);
    window->PlayEntry(3);
    window->PlayEntry(8);  // missing: nothing to play
    EXPECT_EQ(played, (std::vector<std::string>{"songs\\s\\c3.bms"}));
}

TEST_F(TablesWindowTest, UpdateAndRemoveKeepSongDbFresh) {
    AddByDialog();
    // Level 2 gone, c1 moved to level 3.
    SetData({Entry("1", md5[0], "held"), Entry("3", md5[1], "moved")});
    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_TRUE(window->UpdateTables(false));
    const std::vector<std::string> said = ui->MessageTexts();
    ASSERT_FALSE(said.empty());
    EXPECT_NE(said.back().find(U8(u8"1 / 1 の表を更新しました。")), std::string::npos)
        << said.back();
    EXPECT_NE(said.back().find(U8(u8"0 件追加、")), std::string::npos) << said.back();
    EXPECT_EQ(Column(window->Levels(), 0), (std::vector<std::string>{U8(u8"★1"), U8(u8"★3")}));
    const std::string changes = window->Changes()->toPlainText().toStdString();
    EXPECT_NE(changes.find(U8(u8"★1 → ★3  moved")), std::string::npos) << changes;
    EXPECT_NE(changes.find("Missing two"), std::string::npos) << changes;
    EXPECT_EQ(LevelFiles(), 2u);
    EXPECT_TRUE(LibraryIsFresh());

    ui->AnswerMessage(MsgAnswer::No);
    EXPECT_FALSE(window->RemoveShownTable());
    EXPECT_EQ(window->Tables().tables.size(), 1u);
    ui->AnswerMessage(MsgAnswer::Yes);
    EXPECT_TRUE(window->RemoveShownTable());
    EXPECT_TRUE(window->Tables().tables.empty());
    EXPECT_EQ(window->Levels()->topLevelItemCount(), 0);
    EXPECT_EQ(LevelFiles(), 0u);
    EXPECT_TRUE(LibraryIsFresh());
    EXPECT_TRUE(ui->Exhausted());
}

// A kept table whose files were damaged since: its data is said when it is
// shown, and a table that cannot be read at all is named; nothing else goes.
TEST_F(TablesWindowTest, DamagedKeptTablesAreSaidAndTheOthersShown) {
    AddByDialog();
    server.Serve("/t/header.json", R"({"name":"Second","data_url":"data.json"})");
    ui->AnswerMessage(MsgAnswer::Ok);
    ASSERT_TRUE(window->AddTable(server.Url("/t/header.json")));
    ASSERT_EQ(window->Tables().tables.size(), 2u);
    const auto host = [&](size_t table, const char* file) {
        return *WinPath(window->Tables().tables[table].folder).Join(file).ToHost();
    };
    const std::string first_data = host(0, "data.json"), second_header = host(1, "header.json");
    const std::string unreadable = "Tables/" + window->Tables().tables[1].header.name;
    std::ofstream(first_data, std::ios::binary | std::ios::trunc) << "[{\"level\":";
    std::ofstream(second_header, std::ios::binary | std::ios::trunc) << "{}";
    window->Reload();
    ASSERT_EQ(window->Tables().tables.size(), 1u);  // the second cannot be read
    window->SelectTable(0);
    const std::string summary =
        window->findChild<QLabel*>(QStringLiteral("summary"))->text().toStdString();
    EXPECT_NE(summary.find("JSON"), std::string::npos) << summary;      // the data's fault
    EXPECT_NE(summary.find(unreadable), std::string::npos) << summary;  // the other table
    EXPECT_EQ(window->Levels()->topLevelItemCount(), 0);
    EXPECT_EQ(window->Entries()->topLevelItemCount(), 0);
    EXPECT_TRUE(ui->Exhausted());
}

}  // namespace
}  // namespace qv5
