// The window follows what a command did to the library while it was open.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTreeWidgetItem>

#include "window/jukebox_page.h"
#include "window/main_window.h"
#include "window/folder_tree.h"
#include "config/config_file.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/shell.h"
#include "support/temp_game.h"

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

}  // namespace
}  // namespace qv5
