// The folder tree's file commands on real folders: each changes the disk
// first, then song.db, and never overwrites or loses an entry.
#include <QAction>
#include <cstdlib>

#include "support/library_compare.h"
#include "support/scoped_env.h"
#include "window/browser_fixture.h"
#include "window/tree/folder_tree_ids.h"
#include "window/tree/tree_icons.h"

namespace qv5 {
namespace {

using test::ChartText;
using test::MatchesFreshRegistration;

class TreeEditsTest : public test::BrowserTest {
  protected:
    void SetUp() override {
        BrowserTest::SetUp();
        game.WriteFile("songs/p/q/r/c.bms", ChartText("C"));
        game.WriteFile("songs/p/q/b.bms", ChartText("B"));
        game.WriteFile("songs/o/keep.txt", "keep");
        game.WriteFile("songs/f/a.bms", ChartText("A"));
        game.WriteFile("songs/f/note.txt", "note");
        AddRoot("songs");
        root = tree()->topLevelItem(0);
        for (auto texts : {std::initializer_list<std::string>{"songs\\", "p"},
                           {"songs\\", "p", "q"},
                           {"songs\\", "p", "q", "r"},
                           {"songs\\", "o"},
                           {"songs\\", "f"}})
            tree()->OnDoubleClick(Item(texts));
        ForgetMessages();
    }
    QTreeWidgetItem* root = nullptr;
};

TEST_F(TreeEditsTest, RenamingAChartToTextAndBackTakesItOutOfTheLibraryAndBackIn) {
    ASSERT_TRUE(HasSong("songs\\f\\a.bms"));
    // Declining the extension question renames nothing.
    AnswerName("a.txt");
    ui->AnswerMessage(MsgAnswer::No);
    Run(Item({"songs\\", "f", "a.bms"}), kCmdChartRename);
    EXPECT_TRUE(game.Exists("songs/f/a.bms"));

    AnswerName("a.txt");
    ui->AnswerMessage(MsgAnswer::Yes);
    Run(Item({"songs\\", "f", "a.bms"}), kCmdChartRename);
    EXPECT_EQ(Messages()[1], "拡張子が変更されています。\n本当によろしいでしょうか？");
    QTreeWidgetItem* text = Item({"songs\\", "f", "a.txt"});
    ASSERT_TRUE(text);
    EXPECT_EQ(FolderTree::NormalIcon(text), kIconDocument);
    EXPECT_TRUE(game.Exists("songs/f/a.txt"));
    EXPECT_FALSE(HasSong("songs\\f\\a.bms"));
    EXPECT_EQ(tree()->KindOf(text), ItemKind::OtherFile);

    AnswerName("a.bms");
    ui->AnswerMessage(MsgAnswer::Yes);
    Run(text, kCmdFileRename);
    QTreeWidgetItem* chart = Item({"songs\\", "f", "a.bms"});
    ASSERT_TRUE(chart);
    EXPECT_EQ(FolderTree::NormalIcon(chart), kIconChart);
    EXPECT_TRUE(HasSong("songs\\f\\a.bms"));

    // Same extension: no question; the row follows the file.
    AnswerName("z.bms");
    Run(chart, kCmdChartRename);
    EXPECT_TRUE(HasSong("songs\\f\\z.bms"));
    EXPECT_FALSE(HasSong("songs\\f\\a.bms"));
    EXPECT_EQ(Children(Item({"songs\\", "f"})), (std::vector<std::string>{"note.txt", "z.bms"}));
    EXPECT_TRUE(MatchesFreshRegistration(page.RootTexts()));
}

TEST_F(TreeEditsTest, RenamingOntoAnExistingNameFailsAndOverwritesNothing) {
    game.WriteFile("songs/f/b.bms", "other chart");
    for (const char* name : {"b.bms", "note.txt", "..", "x\\y.bms"}) {
        AnswerName(name);
        if (std::string(name).find("bms") == std::string::npos)
            ui->AnswerMessage(MsgAnswer::Yes);  // the extension question
        ui->AnswerMessage(MsgAnswer::Ok);
        Run(Item({"songs\\", "f", "a.bms"}), kCmdChartRename);
        EXPECT_EQ(Messages().back(), "リネームに失敗しました。") << name;
        EXPECT_EQ(ui->prompts().back().Utf8Caption(), "エラー");
    }
    EXPECT_EQ(game.ReadFile("songs/f/b.bms"), "other chart");
    EXPECT_EQ(game.ReadFile("songs/f/note.txt"), "note");
    EXPECT_TRUE(game.Exists("songs/f/a.bms"));
    EXPECT_TRUE(HasSong("songs\\f\\a.bms"));
}

TEST_F(TreeEditsTest, RenamingAFolderSuggestsArtistAndTitleAndMovesOnlyItsOwnRows) {
    // "ab" is the beginning of its sibling "abc".
    game.WriteFile("songs/o/ab/x.bms", ChartText("Title/One", "#SUBTITLE [ANOTHER]\r\n"));
    game.WriteFile("songs/o/abc/y.bms", ChartText("Y"));
    Run(Item({"songs\\", "o"}), kCmdFolderRefresh);  // refresh: lists and registers both
    ASSERT_TRUE(HasSong("songs\\o\\abc\\y.bms"));
    std::string offered;
    AnswerName("moved", &offered);
    Run(Item({"songs\\", "o", "ab"}), kCmdFolderRename);
    EXPECT_EQ(offered, test::U(u8"[someone] Title／One"));
    EXPECT_TRUE(game.Exists("songs/o/moved/x.bms"));
    EXPECT_TRUE(HasSong("songs\\o\\moved\\x.bms"));
    EXPECT_TRUE(HasSong("songs\\o\\abc\\y.bms"));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE path LIKE 'songs\\o\\ab\\%'"), 0);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder WHERE path = 'songs\\o\\abc\\'"), 1);
    EXPECT_TRUE(Item({"songs\\", "o", "moved"}));
    EXPECT_TRUE(MatchesFreshRegistration(page.RootTexts()));
}

TEST_F(TreeEditsTest, RenamingTheRootChangesTheRootListAndTheRows) {
    AnswerName("library");
    Run(root, kCmdRootRename);
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"library\\"}));
    EXPECT_TRUE(game.Exists("library/f/a.bms"));
    EXPECT_TRUE(HasSong("library\\f\\a.bms"));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE path LIKE 'songs\\%'"), 0);
    EXPECT_TRUE(MatchesFreshRegistration(page.RootTexts()));
}

TEST_F(TreeEditsTest, NewFolderCancelledCreatesNothingAndConfirmedShowsARedFolder) {
    QTreeWidgetItem* o = Item({"songs\\", "o"});
    std::string offered;
    AnswerName("", &offered);
    Run(o, kCmdFolderNewFolder);
    EXPECT_EQ(offered, test::U(u8"新しいフォルダ"));
    EXPECT_EQ(Children(o), (std::vector<std::string>{"keep.txt"}));
    AnswerName("");
    Run(root, kCmdRootNewFolder);
    EXPECT_FALSE(game.Exists("songs/" + Cp932ToUtf8(offered)));

    AnswerName("fresh");
    Run(o, kCmdFolderNewFolder);
    EXPECT_TRUE(game.Exists("songs/o/fresh"));
    QTreeWidgetItem* fresh = Item({"songs\\", "o", "fresh"});
    ASSERT_TRUE(fresh);
    EXPECT_EQ(FolderTree::NormalIcon(fresh), kIconNewFolder);
    EXPECT_EQ(tree()->KindOf(fresh), ItemKind::Folder);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder WHERE path = 'songs\\o\\fresh\\'"), 1);

    // A name that exists already, or would make two levels, is refused.
    for (const char* name : {"fresh", "a\\b"}) {
        AnswerName(name);
        ui->AnswerMessage(MsgAnswer::Ok);
        Run(o, kCmdFolderNewFolder);
        EXPECT_EQ(Messages().back(), "フォルダの作成に失敗しました。") << name;
    }
}

TEST_F(TreeEditsTest, PasteRespectsTheFolderItsOwnAncestorsAndSubfolders) {
    QTreeWidgetItem* q = Item({"songs\\", "p", "q"});
    // Onto its own parent or grandparent: nothing at all.
    for (auto target : {std::initializer_list<std::string>{"songs\\", "p"}, {"songs\\"}}) {
        Run(q, kCmdFolderCut);
        Run(Item(target), kCmdFolderPaste);
        EXPECT_TRUE(Messages().empty());
    }
    // Into its own subfolder: asked, then refused by the file system.
    Run(q, kCmdFolderCut);
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(Item({"songs\\", "p", "q", "r"}), kCmdFolderPaste);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0],
              "ファイルを移動してもよろしいですか？\n移動元:songs\\p\\q\n"
              "移動先:songs\\p\\q\\r\\q");
    EXPECT_EQ(Messages()[1], "ファイルの移動に失敗しました。");
    EXPECT_TRUE(game.Exists("songs/p/q/b.bms"));
    EXPECT_EQ(tree()->cut_item, nullptr);

    // Onto another folder: moved with its subtree, rows follow.
    Run(Item({"songs\\", "p", "q"}), kCmdFolderCut);
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(Item({"songs\\", "o"}), kCmdFolderPaste);
    EXPECT_EQ(Messages().back(), "ファイルを移動しました。");
    EXPECT_TRUE(game.Exists("songs/o/q/r/c.bms"));
    EXPECT_EQ(Children(Item({"songs\\", "o"})), (std::vector<std::string>{"keep.txt", "q"}));
    EXPECT_TRUE(Item({"songs\\", "o", "q", "r", "c.bms"}));
    EXPECT_FALSE(Item({"songs\\", "p", "q"}));
    EXPECT_TRUE(HasSong("songs\\o\\q\\r\\c.bms"));
    EXPECT_TRUE(HasSong("songs\\o\\q\\b.bms"));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE path LIKE 'songs\\p\\%'"), 0);
    EXPECT_TRUE(MatchesFreshRegistration(page.RootTexts()));
}

TEST_F(TreeEditsTest, PasteOntoAnExistingNameFailsAndOverwritesNothing) {
    game.WriteFile("songs/o/a.bms", "the other a");
    Run(Item({"songs\\", "o"}), kCmdFolderRefresh);
    Run(Item({"songs\\", "f", "a.bms"}), kCmdFolderCut);
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(Item({"songs\\", "o"}), kCmdFolderPaste);
    EXPECT_EQ(Messages().back(), "ファイルの移動に失敗しました。");
    EXPECT_EQ(game.ReadFile("songs/o/a.bms"), "the other a");
    EXPECT_TRUE(game.Exists("songs/f/a.bms"));

    // A chart moved elsewhere takes its row along.
    Run(Item({"songs\\", "f", "a.bms"}), kCmdFolderCut);
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(Item({"songs\\", "p"}), kCmdFolderPaste);
    EXPECT_TRUE(HasSong("songs\\p\\a.bms"));
    EXPECT_FALSE(HasSong("songs\\f\\a.bms"));
    EXPECT_TRUE(MatchesFreshRegistration(page.RootTexts()));
}

using test::ScopedEnv;

TEST_F(TreeEditsTest, DeleteGoesToTheTrashAndTheParentIsListedAgain) {
    ScopedEnv data("XDG_DATA_HOME", game.HostPath("data"));
    game.WriteFile("songs/f/late.bms", ChartText("L"));  // appeared meanwhile
    // Declined: nothing deleted, the folder listed again all the same.
    ui->AnswerMessage(MsgAnswer::No);
    Run(Item({"songs\\", "f", "a.bms"}), kCmdChartDelete);
    EXPECT_TRUE(game.Exists("songs/f/a.bms"));
    EXPECT_EQ(Children(Item({"songs\\", "f"})),
              (std::vector<std::string>{"a.bms", "late.bms", "note.txt"}));

    ui->AnswerMessage(MsgAnswer::Yes);
    Run(Item({"songs\\", "f", "a.bms"}), kCmdChartDelete);
    EXPECT_FALSE(game.Exists("songs/f/a.bms"));
    EXPECT_TRUE(game.Exists("data/Trash/files/a.bms"));
    EXPECT_EQ(Children(Item({"songs\\", "f"})), (std::vector<std::string>{"late.bms", "note.txt"}));
    EXPECT_FALSE(HasSong("songs\\f\\a.bms"));
    EXPECT_TRUE(HasSong("songs\\f\\late.bms"));
    EXPECT_EQ(tree()->CurrentItem(), Item({"songs\\", "f"}));

    ui->AnswerMessage(MsgAnswer::Yes);
    Run(Item({"songs\\", "p"}), kCmdFolderDelete);
    EXPECT_TRUE(game.Exists("data/Trash/files/p/q/b.bms"));
    EXPECT_FALSE(Item({"songs\\", "p"}));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE path LIKE 'songs\\p\\%'"), 0);
    EXPECT_TRUE(MatchesFreshRegistration(page.RootTexts()));
}

TEST_F(TreeEditsTest, AFolderHoldingARootIsNeitherDeletedNorRenamedNorMoved) {
    AddRoot("songs\\p\\q");  // the browser path makes no duplicate check
    ForgetMessages();
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(Item({"songs\\", "p"}), kCmdFolderDelete);
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(Item({"songs\\", "p", "q"}), kCmdFolderRename);
    Run(Item({"songs\\", "p"}), kCmdFolderCut);
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(Item({"songs\\", "o"}), kCmdFolderPaste);
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_TRUE(game.Exists("songs/p/q/b.bms"));
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"songs\\", "songs\\p\\q\\"}));
}

TEST_F(TreeEditsTest, ARegisteredSongFolderIsNeverCutNorPasted) {
    game.WriteFile("songs_c/c/x.bms", ChartText("X"));
    AddRoot("songs_c");
    QTreeWidgetItem* other = tree()->topLevelItem(1);
    const std::string rows = Dump();
    ForgetMessages();
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(other, kCmdRootCut);
    EXPECT_EQ(tree()->cut_item, nullptr);
    // A root cut all the same (as before the refusal) is not pasted either:
    // not into another root, not into a folder.
    for (QTreeWidgetItem* target : {root, Item({"songs\\", "o"})}) {
        tree()->cut_item = other;
        ui->AnswerMessage(MsgAnswer::Ok);
        Run(target, target == root ? kCmdRootPaste : kCmdFolderPaste);
        EXPECT_EQ(tree()->cut_item, nullptr);
    }
    EXPECT_EQ(Messages(), std::vector<std::string>(3, "ルートフォルダは移動できません。"));
    EXPECT_EQ(ui->prompts().back().Utf8Caption(), "エラー");
    EXPECT_TRUE(game.Exists("songs_c/c/x.bms"));
    EXPECT_FALSE(game.Exists("songs/songs_c"));
    EXPECT_FALSE(game.Exists("songs/o/songs_c"));
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"songs\\", "songs_c\\"}));
    EXPECT_EQ(Dump(), rows);
    EXPECT_TRUE(MatchesFreshRegistration(page.RootTexts()));
}

TEST_F(TreeEditsTest, ACustomFolderRootIsRenamedAsAFile) {
    game.WriteFile("lists/best.qv5folder", "#TITLE Best\r\n#COMMAND __NEWSONG__\r\n");
    page.AddCustomFolderRoot("lists\\best.qv5folder");
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    page.FullRescan();  // registers the custom folder
    ASSERT_EQ(test::QueryInt("SELECT type FROM folder WHERE path = 'lists\\best.qv5folder'"), 3);
    QTreeWidgetItem* custom = tree()->topLevelItem(1);
    std::string offered;
    AnswerName("renamed.qv5folder", &offered);
    Run(custom, kCmdRootRename);
    EXPECT_EQ(offered, "best.qv5folder");
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"songs\\", "lists\\renamed.qv5folder"}));
    EXPECT_TRUE(game.Exists("lists/renamed.qv5folder"));
    EXPECT_TRUE(MatchesFreshRegistration(page.RootTexts()));

    // Another extension would make a root that registers nothing.
    ForgetMessages();
    AnswerName("renamed.txt");
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(custom, kCmdRootRename);
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"カスタムフォルダの拡張子（.qv5folder）は変更できません。"});
    EXPECT_TRUE(game.Exists("lists/renamed.qv5folder"));
    EXPECT_TRUE(MatchesFreshRegistration(page.RootTexts()));
}

TEST_F(TreeEditsTest, AFileRenamedToAChartAtARootsOwnLevelEntersTheLibrary) {
    game.WriteFile("songs/top.txt", ChartText("Top"));
    game.WriteFile("songs/x.bm_", ChartText("X"));
    Run(root, kCmdRootRefresh);
    for (auto [from, to] :
         {std::pair<std::string, std::string>{"top.txt", "top.bme"}, {"x.bm_", "x.bms"}}) {
        AnswerName(to);
        ui->AnswerMessage(MsgAnswer::Yes);  // the extension question
        Run(Item({"songs\\", from}), kCmdFileRename);
        EXPECT_TRUE(HasSong("songs\\" + to)) << to;
        EXPECT_TRUE(MatchesFreshRegistration(page.RootTexts())) << to;
    }
}

TEST_F(TreeEditsTest, ExcludingARootKeepsTheRowsOfAnotherRootOnTheSameFolders) {
    AddRoot("songs\\p\\q");
    AddRoot("songs");  // the same folder twice, through the picker
    const int songs = test::QueryInt("SELECT count(*) FROM song");
    ForgetMessages();
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(root, kCmdRootRename);  // renaming a root that another root names too: refused
    EXPECT_EQ(Messages().size(), 1u);
    Run(root, kCmdRootExclude);
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"songs\\p\\q\\", "songs\\"}));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), songs);
    Run(tree()->topLevelItem(1), kCmdRootExclude);
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"songs\\p\\q\\"}));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 2);  // b.bms and r\\c.bms
    EXPECT_TRUE(HasSong("songs\\p\\q\\b.bms"));
    Run(tree()->topLevelItem(0), kCmdRootExclude);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 0);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder"), 0);
}

TEST_F(TreeEditsTest, APathTooLongForTheTreeIsRefusedNotCut) {
    const std::string a(130, 'a'), b(130, 'b');
    game.WriteFile("songs/" + a + "/" + b + "/chart.bms", ChartText("Long"));
    Run(root, kCmdRootRefresh);
    tree()->OnDoubleClick(Item({"songs\\", a}));
    tree()->OnDoubleClick(Item({"songs\\", a, b}));
    QTreeWidgetItem* chart = Item({"songs\\", a, b, "chart.bms"});
    ASSERT_TRUE(chart);
    ForgetMessages();
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(chart, kCmdChartDelete);
    ui->AnswerMessage(MsgAnswer::Ok);
    Run(chart, kCmdChartRename);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].rfind("パスが長すぎるため", 0), 0u);
    EXPECT_TRUE(game.Exists("songs/" + a + "/" + b + "/chart.bms"));
}

}  // namespace
}  // namespace qv5
