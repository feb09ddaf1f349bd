// The window follows what a command did to the library while it was open.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTabBar>
#include <QTreeWidgetItem>

#include "config/config_file.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/shell.h"
#include "support/temp_game.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/tree/folder_tree.h"
#include "window/tree/folder_tree_ids.h"

namespace qv5 {
namespace {

QTreeWidgetItem* Child(QTreeWidgetItem* item, const std::string& text) {
    for (int i = 0; i < item->childCount(); ++i)
        if (FolderTree::ItemText(item->child(i)) == text) return item->child(i);
    return nullptr;
}

QTreeWidgetItem* Root(FolderTree* tree, const std::string& text) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (FolderTree::ItemText(tree->topLevelItem(i)) == text) return tree->topLevelItem(i);
    return nullptr;
}

TEST(LibraryWatch, WhatAnotherProcessRegisteredShowsOnActivation) {
    TheConfig() = ConfigRecord{};
    test::TempGame game;
    test::MakePlayer("player", "pass");
    game.WriteFile("songs/one/a.bms", "#TITLE A\n#00111:0101\n");
    ConfigRecord config;
    config.id = "player";
    config.pass = "pass";
    ASSERT_EQ(SaveConfig(config), 1);
    const std::string qv5 = std::string("'") + QV5_EXE + "' --dir '" + game.host() + "' ";
    ASSERT_EQ(test::RunShell(qv5 + "add-root '" + game.HostPath("songs") + "' 2>&1").code, 0);
    test::ScopedScriptedUi ui;
    MainWindow dlg;
    dlg.InitDialog();
    FolderTree* tree = dlg.JukeboxTab()->Tree();
    QTreeWidgetItem* songs = Root(tree, "songs\\");
    ASSERT_TRUE(songs);
    QTreeWidgetItem* one = Child(songs, "one");
    ASSERT_TRUE(one);
    tree->OnDoubleClick(one);
    songs->setExpanded(true);
    one->setExpanded(true);

    game.WriteFile("songs/two/b.bms", "#TITLE B\n#00111:0101\n");
    game.WriteFile("songs/one/c.bms", "#TITLE C\n#00111:0101\n");
    game.WriteFile("more/m/d.bms", "#TITLE D\n#00111:0101\n");
    ASSERT_EQ(test::RunShell(qv5 + "refresh '" + game.HostPath("songs") + "' 2>&1").code, 0);
    ASSERT_EQ(test::RunShell(qv5 + "add-root '" + game.HostPath("more") + "' 2>&1").code, 0);
    QApplication::processEvents();
    EXPECT_FALSE(Child(songs, "two"));  // not before the window is activated

    // The watcher's notice arrives through the event loop; each activation
    // after it brings the tree up to date.
    for (int i = 0; i < 100 && !Child(songs, "two"); ++i) {
        QApplication::processEvents();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&dlg, &activate);
        if (!Child(songs, "two")) usleep(10000);
    }
    EXPECT_TRUE(Child(songs, "two"));
    EXPECT_TRUE(Child(one, "c.bms"));
    EXPECT_TRUE(Root(tree, "more\\"));
    // Nothing collapsed: the same items, still open.
    EXPECT_EQ(Child(songs, "one"), one);
    EXPECT_TRUE(songs->isExpanded());
    EXPECT_TRUE(one->isExpanded());
    // The window's next save keeps the folder the command added.
    EXPECT_EQ(TheConfig().path_count, 2);
}

std::string TreeRoots(MainWindow& dlg) {
    return test::JoinedRoots(dlg.JukeboxTab()->RootTexts());
}

// A game folder with the song folders one to four, the first ones
// registered, and a window open on it.
class RootsBeside : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SaveConfig(test::NewPlayerRecord()), 1);
        for (const char* name : {"one", "two", "three", "four"})
            game_.WriteFile(std::string(name) + "/s/a.bms", "#TITLE A\n#00111:0101\n");
        ASSERT_EQ(Qv5("add-root one"), 0);
        ASSERT_EQ(Qv5("add-root two"), 0);
        ui_->AcceptAllMessages();
        ASSERT_TRUE(dlg_.InitDialog());
        ASSERT_EQ(TreeRoots(dlg_), "one\\;two\\;");
    }
    int Qv5(const std::string& args) {
        return test::RunShell("cd '" + game_.host() + "' && '" + QV5_EXE + "' --dir '" +
                              game_.host() + "' " + args + " 2>&1")
            .code;
    }
    int Charts(const std::string& root) {
        return test::QueryInt(test::SongDbFile(game_.host()),
                              "SELECT count(*) FROM song WHERE path LIKE '" + root + "%'");
    }
    void Exclude(const std::string& root) {
        FolderTree* tree = dlg_.JukeboxTab()->Tree();
        QTreeWidgetItem* item = Root(tree, root);
        ASSERT_TRUE(item);
        tree->setCurrentItem(item);
        tree->SetCurrent(item);
        tree->RunCommand(kCmdRootExclude);
    }

    test::TempGame game_;
    test::ScopedScriptedUi ui_;
    MainWindow dlg_;
};

TEST_F(RootsBeside, ASongFolderACommandRemovedStaysRemovedAtTheWindowsSave) {
    ASSERT_EQ(Qv5("remove-root one"), 0);
    dlg_.Tabs()->setCurrentIndex(3);  // the window saves, not activated meanwhile
    EXPECT_EQ(test::ConfigRoots(), "two\\;");
    EXPECT_EQ(TreeRoots(dlg_), "two\\;");
    EXPECT_EQ(Charts("one\\"), 0);
}

TEST_F(RootsBeside, ASongFolderACommandAddedIsKeptWhenTheWindowExits) {
    ASSERT_EQ(Qv5("add-root three"), 0);
    dlg_.Tabs()->setCurrentIndex(2);
    EXPECT_EQ(TreeRoots(dlg_), "one\\;two\\;three\\;");
    ASSERT_EQ(Qv5("add-root four"), 0);
    dlg_.OnExit();
    EXPECT_EQ(test::ConfigRoots(), "one\\;two\\;three\\;four\\;");
    EXPECT_EQ(Charts("four\\"), 1);
}

// The window's own changes win for the folders it changed, the commands' for
// the others.
TEST_F(RootsBeside, TheWindowsOwnChangesAndTheCommandsMeet) {
    Exclude("two\\");
    ui_->AnswerPath("three");
    dlg_.JukeboxTab()->AddRootFromBrowser();
    ASSERT_EQ(TreeRoots(dlg_), "one\\;three\\;");
    ASSERT_EQ(Qv5("remove-root one"), 0);
    ASSERT_EQ(Qv5("add-root four"), 0);
    ASSERT_EQ(test::ConfigRoots(), "two\\;four\\;");
    dlg_.Tabs()->setCurrentIndex(4);
    EXPECT_EQ(test::ConfigRoots(), "three\\;four\\;");
    EXPECT_EQ(TreeRoots(dlg_), "three\\;four\\;");
    // A song folder the window excluded is not brought back by the next
    // save, nor one the command removed: the list and the rows agree.
    ASSERT_EQ(Qv5("add-root one"), 0);
    dlg_.OnExit();
    EXPECT_EQ(test::ConfigRoots(), "three\\;four\\;one\\;");
    for (const char* root : {"one\\", "three\\", "four\\"}) EXPECT_EQ(Charts(root), 1) << root;
    EXPECT_EQ(Charts("two\\"), 0);
}

// Following the library (on activation) takes removals in too, and the
// Cancel command, which writes the record without reading the pages, keeps
// what the commands did.
TEST_F(RootsBeside, TheTreeFollowsARemovalAndCancelKeepsTheCommandsList) {
    ASSERT_EQ(Qv5("remove-root one"), 0);
    ASSERT_EQ(Qv5("add-root three"), 0);
    dlg_.JukeboxTab()->FollowLibrary(TheConfig());
    EXPECT_EQ(TreeRoots(dlg_), "two\\;three\\;");
    ASSERT_EQ(Qv5("add-root four"), 0);
    dlg_.OnCancel();
    EXPECT_EQ(test::ConfigRoots(), "two\\;three\\;four\\;");
}

}  // namespace
}  // namespace qv5
