#include "window/main/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "config/config_file.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/small_fs.h"
#include "support/temp_game.h"
#include "window/common/controls.h"
#include "window/main/about.h"
#include "window/main/main_window_ids.h"
#include "window/pages/jukebox_page.h"
#include "window/pages/main_page.h"
#include "window/pages/main_page_ids.h"
#include "window/pages/page.h"
#include "window/tree/folder_tree.h"

namespace qv5 {
namespace {

const char* kConfig = "QV5files/Config/config.xml";

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheConfig() = ConfigRecord{};
        test::MakePlayer("player", "pass");
    }
    test::TempGame game;
    test::ScopedScriptedUi ui;
};

TEST_F(MainWindowTest, ShellLayout) {
    MainWindow dlg;
    dlg.InitDialog();
    EXPECT_EQ(dlg.windowTitle(), "QV5 SETUP");
    QTabBar* tabs = Control<QTabBar>(&dlg, main_window_id::kTabs);
    ASSERT_TRUE(tabs);
    QStringList labels;
    for (int i = 0; i < tabs->count(); ++i) labels << tabs->tabText(i);
    EXPECT_EQ(labels, (QStringList{"MAIN", "JUKEBOX1", "JUKEBOX2", "OPTION", "SELECT", "SYSTEM"}));
    for (int id : {main_window_id::kPlay, main_window_id::kPlayOptions, main_window_id::kMakeMovie,
                   main_window_id::kExit}) {
        auto* b = Control<QPushButton>(&dlg, id, true);
        ASSERT_TRUE(b) << id;
        EXPECT_FALSE(b->isHidden()) << id;
    }
    for (int id : std::initializer_list<int>{kIdOk, kIdCancel, main_window_id::kHiddenButton,
                                             main_window_id::kNoOpButton}) {
        auto* b = Control<QPushButton>(&dlg, id, true);
        ASSERT_TRUE(b) << id;
        EXPECT_TRUE(b->isHidden()) << id;
        EXPECT_FALSE(b->isEnabled()) << id;
    }
    EXPECT_TRUE(dlg.acceptDrops());
    EXPECT_EQ(Control<QPushButton>(&dlg, main_window_id::kPlay, true)->text(),
              QString::fromUtf8(u8"QV5の起動"));
    EXPECT_EQ(Control<QPushButton>(&dlg, main_window_id::kExit, true)->text(),
              QString::fromUtf8(u8"終了"));
}

TEST_F(MainWindowTest, CancelWritesTheRecordUnchanged) {
    game.WriteFile(kConfig,
                   "<config><system><vsync>1</vsync></system><player><id>player</id>"
                   "<pass>pass</pass></player></config>");
    MainWindow dlg;
    dlg.InitDialog();
    // A value changed on a page since the last apply is lost ...
    dlg.MainTab()->values.screenmode = 1;
    dlg.MainTab()->ShowValues();
    // ... but the language chosen from the menu is written.
    Control<QAction>(&dlg, main_window_id::kMenuEnglish)->trigger();
    EXPECT_EQ(Control<QPushButton>(&dlg, main_window_id::kExit, true)->text(), "Exit");
    dlg.reject();  // Escape: the Cancel command
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.language, 1);
    EXPECT_EQ(back.vsync, 1);
    EXPECT_EQ(back.screenmode, 0);
    EXPECT_TRUE(dlg.isHidden());

    Control<QAction>(&dlg, main_window_id::kMenuJapanese)->trigger();
    EXPECT_EQ(TheConfig().language, 0);
}

TEST_F(MainWindowTest, AnUnreadableConfigIsToldOnceAndKept) {
    const std::string broken =
        "<config><player><id>player</id><pass>pass</pass></player></config>\x01";
    game.WriteFile(kConfig, broken);
    ui->AnswerMessage(MsgAnswer::Ok);
    MainWindow dlg;
    dlg.InitDialog();
    const auto texts = ui->MessageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("config.xml cannot be read"), std::string::npos) << texts[0];
    dlg.reject();  // the Cancel command saves
    std::string kept;
    for (const auto& e : std::filesystem::directory_iterator(game.HostPath("QV5files/Config")))
        if (e.path().filename().string().starts_with("config.xml.unreadable-"))
            kept = game.ReadFile("QV5files/Config/" + e.path().filename().string());
    EXPECT_EQ(kept, broken);
    ConfigRecord back;
    EXPECT_EQ(LoadConfig(back), ConfigState::Read);
}

TEST_F(MainWindowTest, ApplySettingsStoresAtMost1000Roots) {
    game.WriteFile(kConfig, "<config><player><id>player</id><pass>pass</pass></player></config>");
    MainWindow dlg;
    dlg.InitDialog();
    for (int i = 0; i < 1005; ++i)
        dlg.JukeboxTab()->Tree()->InsertRoot(WinPath("r" + std::to_string(i) + "\\"));
    ASSERT_EQ(dlg.ApplySettings(), 1);
    ConfigRecord back;
    LoadConfig(back);
    ASSERT_EQ(back.path_count, 1000);
    EXPECT_EQ(back.path[999], "r999\\");
}

TEST_F(MainWindowTest, CloseRequestAppliesTheSettings) {
    game.WriteFile(kConfig,
                   "<config><player><id>player</id><pass>pass</pass></player>"
                   "<jukebox><path>songs\\</path></jukebox></config>");
    MainWindow dlg;
    dlg.InitDialog();
    dlg.show();
    Control<QLineEdit>(dlg.MainTab(), main_page_id::kWidth)->setText("1280");
    Control<QCheckBox>(dlg.MainTab(), main_page_id::kWindowMode)->setChecked(true);
    dlg.close();
    EXPECT_TRUE(dlg.isHidden());
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.windowsize_x, 1280);
    EXPECT_EQ(back.screenmode, 1);
    EXPECT_EQ(back.path_count, 1);
}

// QV5files/Config is put on a small tmpfs of its own, made read-only and
// writable again. A save that fails is told with the file's host path and the system's
// reason; Exit and the close request keep the window so the player can
// retry (which saves once it can) or cancel (Escape closes, saying so).
TEST_F(MainWindowTest, AFailedSaveIsToldAndExitKeepsTheWindowOpen) {
    test::SmallFileSystem folder(game.HostPath("QV5files/Config"), 64);
    ASSERT_TRUE(folder.mounted());
    const std::string kept =
        "<config><player><id>player</id><pass>pass</pass></player>"
        "<jukebox><path>songs\\</path></jukebox></config>";
    game.WriteFile(kConfig, kept);
    const std::string told = "設定を保存できませんでした。\n" +
                             std::filesystem::canonical(game.HostPath(kConfig)).string() + ": " +
                             std::strerror(EROFS);
    MainWindow dlg;
    dlg.InitDialog();
    dlg.show();
    Control<QLineEdit>(dlg.MainTab(), main_page_id::kWidth)->setText("1280");
    ASSERT_TRUE(folder.ReadOnly(true));
    ui->AcceptAllMessages();
    Control<QPushButton>(&dlg, main_window_id::kExit, true)->click();  // Exit
    dlg.close();                                      // the title bar's close button
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(ui->MessageTexts().size(), 2u);
    for (const auto& text : ui->MessageTexts()) EXPECT_EQ(text.find(told), 0u) << text;
    EXPECT_EQ(ui->prompts()[0].Utf8Caption(), "エラー");
    EXPECT_EQ(game.ReadFile(kConfig), kept);

    ASSERT_TRUE(folder.ReadOnly(false));
    Control<QPushButton>(&dlg, main_window_id::kExit, true)->click();  // retry
    EXPECT_FALSE(dlg.isVisible());
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.windowsize_x, 1280);

    MainWindow again;
    again.InitDialog();
    again.show();
    ASSERT_TRUE(folder.ReadOnly(true));
    again.reject();  // Escape
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(ui->MessageTexts().size(), 3u);
    EXPECT_EQ(ui->MessageTexts().back(), told);
}

TEST_F(MainWindowTest, TabChangeShowsThePageAndSaves) {
    game.WriteFile(kConfig,
                   "<config><player><id>player</id><pass>pass</pass></player>"
                   "<jukebox><path>songs\\</path></jukebox></config>");
    MainWindow dlg;
    dlg.InitDialog();
    auto* stack = dlg.findChild<QStackedWidget*>();
    EXPECT_EQ(stack->currentWidget(), dlg.PageAt(0));
    Control<QLineEdit>(dlg.MainTab(), main_page_id::kHeight)->setText("  720px");
    dlg.Tabs()->setCurrentIndex(5);
    EXPECT_EQ(stack->currentWidget(), dlg.PageAt(5));
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.windowsize_y, 720);
    EXPECT_TRUE(game.Exists("QV5files/Database/song.db"));  // the library was reopened
}

TEST_F(MainWindowTest, RadioGroupExchangesItsIndex) {
    MainWindow dlg;
    MainPage* page = dlg.MainTab();
    struct Case {
        int value, read_back;
    } cases[] = {{0, 0}, {2, 2}, {7, -1}, {-1, -1}, {1, 1}};
    for (const auto& c : cases) {
        page->values.autoreload = c.value;
        page->ShowValues();
        page->ReadControls();
        EXPECT_EQ(page->values.autoreload, c.read_back) << c.value;
    }
    Control<QRadioButton>(page, main_page_id::kReloadManual)->click();
    page->ReadControls();
    EXPECT_EQ(page->values.autoreload, 0);
    EXPECT_FALSE(Control<QRadioButton>(page, main_page_id::kReloadOpened)->isChecked());
}

}  // namespace
}  // namespace qv5

namespace qv5 {
namespace {

// Help -> About: the versions --version prints and the licence, in the
// window's language.
TEST_F(MainWindowTest, AboutNamesVersionsAndLicence) {
    MainWindow dlg;
    dlg.InitDialog();
    auto* about = dlg.findChild<QAction*>("about");
    ASSERT_TRUE(about);
    for (int language : {0, 1}) {
        dlg.OnLanguage(language);
        ui->AnswerMessage(MsgAnswer::Ok);
        about->trigger();
        const test::Prompt& p = ui->prompts().back();
        EXPECT_EQ(p.text.rfind(VersionText(), 0), 0u);
        EXPECT_NE(p.text.find("SQLite "), std::string::npos);
        EXPECT_NE(p.Utf8Text().find(language == 1 ? "Licence: MIT" : "ライセンス: MIT"),
                  std::string::npos);
        EXPECT_EQ(p.Utf8Caption(), language == 1 ? "About QV5 SETUP" : "QV5 SETUPについて");
    }
}

}  // namespace
}  // namespace qv5
