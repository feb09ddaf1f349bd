// The Library menu's check: progress window with Stop, the report grouped by
// kind, its actions on the folder tree, and the saved report.
#include "window/check/library_check_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "config/config_file.h"
#include "library/check_text.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "window/common/progress_window.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/tree/folder_tree.h"

namespace qv5 {
namespace {

// UTF-8 text of a u8 literal.
std::string T(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

// The real progress window, whose Stop button is pressed at its `press`th report.
class PressStop final : public Progress {
  public:
    PressStop(QWidget* owner, const std::string& title, long press)
        : window_(owner, title), press_(press) {}
    void Update(long done, long total, const std::string& current) override {
        window_.Update(done, total, current);
        if (++updates_ == press_)
            window_.dialog()->findChild<QPushButton*>(QStringLiteral("stop"))->click();
        if (window_.StopRequested()) RequestStop();
    }
    void SetStatus(const std::string& text) override { window_.SetStatus(text); }

  private:
    ProgressWindow window_;
    long press_, updates_ = 0;
};

class LibraryCheckWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheConfig() = ConfigRecord{};
        test::MakePlayer("player", "pass");
        for (int f = 0; f < 30; ++f)
            game.WriteFile("songs/f" + std::to_string(f) + "/a.bms",
                           "#TITLE t" + std::to_string(f) + "\r\n#WAV01 k.wav\r\n#00111:01\r\n");
        // A chart no one can read: its row has no hash, found before the walk.
        game.MakeDir("songs/f5");
        ASSERT_EQ(mkfifo(game.HostPath("songs/f5/p.bms").c_str(), 0644), 0);
        ConfigRecord config;
        config.id = "player";
        config.pass = "pass";
        config.path[0] = "songs\\";
        config.path_count = 1;
        ASSERT_EQ(SaveConfig(config), 1);
        OpenTestLibrary("player");
        ASSERT_TRUE(TestRegisterRoot("songs\\"));
        CloseTestLibrary();
        dlg.InitDialog();
    }
    QAction* Entry() {
        QMenu* library = dlg.findChild<QMenu*>(QStringLiteral("libraryMenu"));
        return library ? library->findChild<QAction*>(QStringLiteral("checkLibrary")) : nullptr;
    }
    LibraryCheckWindow* Report() { return dlg.findChild<LibraryCheckWindow*>(); }
    // The `child`th finding of a kind (the first of a folder group).
    void Select(const std::string& kind_prefix, int child = 0) {
        QTreeWidget* t = Report()->Findings();
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            if (t->topLevelItem(i)->text(0).startsWith(QString::fromUtf8(kind_prefix))) {
                QTreeWidgetItem* item = t->topLevelItem(i)->child(child);
                if (item && item->data(0, Qt::UserRole).toInt() < 0) item = item->child(0);
                t->setCurrentItem(item);
                return;
            }
        FAIL() << kind_prefix;
    }
    test::TempGame game;
    test::ScopedScriptedUi ui;
    MainWindow dlg;
};

// The menu entry in both languages, the report's groups and counts, and
// each action on its finding.
TEST_F(LibraryCheckWindowTest, TheMenuEntryChecksAndTheReportActsOnItsFindings) {
    std::filesystem::remove_all(game.HostPath("songs/f3"));
    game.WriteFile("songs/f4/new.bms", "#TITLE new\r\n#00111:01\r\n");
    ASSERT_TRUE(Entry());
    EXPECT_EQ(Entry()->text(), QString::fromStdString(T(u8"ライブラリの検査...")));
    dlg.OnLanguage(1);
    EXPECT_EQ(Entry()->text(), QStringLiteral("Check library..."));
    Entry()->trigger();
    ASSERT_TRUE(Report());
    QTreeWidget* t = Report()->Findings();
    // What can be mended at once comes first and open; the missing files
    // last, closed, by chart folder.
    ASSERT_EQ(t->topLevelItemCount(), kCheckKinds);
    EXPECT_EQ(t->topLevelItem(0)->text(0), QStringLiteral("Out of date (3)"));
    EXPECT_TRUE(t->topLevelItem(0)->isExpanded());
    EXPECT_EQ(t->topLevelItem(4)->text(0), QStringLiteral("Missing files (29)"));
    EXPECT_FALSE(t->topLevelItem(4)->isExpanded());
    EXPECT_EQ(t->topLevelItem(4)->childCount(), 29);
    EXPECT_EQ(t->topLevelItem(4)->child(0)->text(0),
              QStringLiteral("songs\\f0\\: 1 chart, 1 file missing"));
    const QString text = QString::fromStdString(ReportText(Report()->result()));
    EXPECT_TRUE(text.contains(QStringLiteral("\nOut of date (3)\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nsongs\\f0\\: 1 chart, 1 file missing\n"
                                             "  songs\\f0\\a.bms: 1 missing: k.wav\n")))
        << text.toStdString();
    EXPECT_EQ(Report()->findChild<QPushButton*>(QStringLiteral("saveReport"))->text(),
              QStringLiteral("Save report..."));

    std::vector<std::string> opened;
    const auto old = SetShellOpenHandler([&](const std::string& t) { opened.push_back(t); });
    Select("Missing files");
    Report()->OpenFolder();
    EXPECT_EQ(opened, std::vector<std::string>{"\"songs\\f0\\\""});
    Report()->ShowInTree();
    EXPECT_EQ(dlg.Tabs()->currentIndex(), 1);
    EXPECT_EQ(FolderTree::ItemPath(dlg.JukeboxTab()->Tree()->currentItem()), "songs\\f0\\a.bms");
    // A vanished folder: its nearest folder on disk is opened and refreshed,
    // and the library then holds neither the gone rows nor misses the new chart.
    Select("Out of date", 0);
    EXPECT_EQ(Report()->SelectedFolder(), "songs\\");
    EXPECT_TRUE(Report()->findChild<QPushButton*>(QStringLiteral("refreshFolder"))->isEnabled());
    EXPECT_FALSE(Report()->IsDone(0));
    Report()->RefreshFolder();
    EXPECT_EQ(FolderTree::ItemPath(dlg.JukeboxTab()->Tree()->currentItem()), "songs\\");
    // The refresh mended every finding out of date below the folder, and
    // the report says so; the others stay as they were.
    for (size_t i = 0; i < Report()->result().findings.size(); ++i)
        EXPECT_EQ(Report()->IsDone(i),
                  KindOf(Report()->result().findings[i].reason) == CheckKind::OutOfDate)
            << i;
    EXPECT_TRUE(t->topLevelItem(0)->child(0)->text(0).startsWith(QStringLiteral("Done: ")));
    SetShellOpenHandler(old);
    Report()->close();
    QApplication::processEvents();
    Entry()->trigger();
    EXPECT_EQ(Report()->Findings()->topLevelItem(0)->text(0), QStringLiteral("Out of date (0)"));
}

// Stop in the progress window ends the check early; the report says so and
// shows what was found, and saves as UTF-8 text.
TEST_F(LibraryCheckWindowTest, StopShowsTheFindingsSoFarAndTheReportIsSaved) {
    dlg.JukeboxTab()->Tree()->progress_factory = [](QWidget* owner, const std::string& title) {
        return std::make_unique<PressStop>(owner, title, 5);
    };
    Entry()->trigger();
    ASSERT_TRUE(Report());
    const CheckResult& r = Report()->result();
    EXPECT_TRUE(r.stopped);
    EXPECT_LT(r.folders, 31);
    EXPECT_EQ(r.Count(CheckKind::Missing), r.charts);
    EXPECT_TRUE(Report()->findChild<QLabel*>()->text().contains(
        QString::fromStdString(T(u8"途中で止めました"))));

    const std::string file = game.HostPath(T(u8"報告.txt"));
    ui->AnswerPath(*FromHostPath(file));
    Report()->SaveReport();
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(text.rfind(T(u8"ライブラリの検査: "), 0), 0u) << text;
    EXPECT_NE(text.find(T(u8"途中で止めました。")), std::string::npos);
    EXPECT_NE(text.find(T(u8"\n見つからないファイル (") + std::to_string(r.charts) + ")\n"),
              std::string::npos);
    EXPECT_NE(text.find(T(u8"\nsongs\\f5\\p.bms: ライブラリの行にハッシュがありません\n")),
              std::string::npos);
    EXPECT_LT(text.find(T(u8"\n読めない譜面・空の譜面 (")), text.find(T(u8"\n見つからないファイル (")));
}

}  // namespace
}  // namespace qv5
