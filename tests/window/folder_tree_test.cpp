// The folder tree on real folders: what it shows, which menu each item gets,
// and what a double click or a drag does.
#include <QAction>

#include "platform/shell.h"
#include "support/library_compare.h"
#include "window/browser_fixture.h"
#include "window/tree/folder_tree_ids.h"
#include "window/tree/tree_icons.h"

namespace qv5 {
namespace {

using test::ChartText;
using test::U;

class FolderTreeTest : public test::BrowserTest {
  protected:
    void SetUp() override {
        BrowserTest::SetUp();
        game.WriteFile("songs/mixed/a.bms", ChartText("A"));
        game.WriteFile("songs/mixed/readme.txt", "text");
        for (const char* other : {"b.wav", "c.ogg", "d.bmp", "e.png"})
            game.WriteFile(std::string("songs/mixed/") + other, "x");
        game.WriteFile("songs/hidden/x.bm_", ChartText("X"));
        game.WriteFile("songs/hidden/y.wav", "x");
        game.WriteFile("songs/upper/A.BMS", ChartText("U"));
        game.WriteFile("songs/web/i.html", "<html></html>");
        game.MakeDir("songs/sub/deeper");
        game.WriteFile("songs/nothing/b.wav", "x");
        AddRoot("songs");
        root = tree()->topLevelItem(0);
        ForgetMessages();
    }
    QTreeWidgetItem* Open(const std::string& folder) {
        QTreeWidgetItem* item = Item({"songs\\", folder});
        tree()->OnDoubleClick(item);
        return item;
    }
    QTreeWidgetItem* root = nullptr;
};

TEST_F(FolderTreeTest, ShowsFoldersAndTheFilesAPlayerNeedsWithTheirIcons) {
    ASSERT_TRUE(root);
    EXPECT_EQ(FolderTree::ItemText(root), "songs\\");
    EXPECT_EQ(Children(root),
              (std::vector<std::string>{"hidden", "mixed", "nothing", "sub", "upper", "web"}));
    struct Case {
        std::string folder;
        std::vector<std::string> children;
        std::vector<int> child_icons;
        int folder_icon;
    } cases[] = {
        {"mixed", {"a.bms", "readme.txt"}, {kIconChart, kIconDocument}, kIconFolder},
        {"hidden", {"x.bm_"}, {kIconHidden}, kIconHidden},
        {"upper", {"A.BMS"}, {kIconChart}, kIconFolder},
        {"web", {"i.html"}, {kIconDocument}, kIconFolder},
        {"sub", {"deeper"}, {kIconFolder}, kIconFolder},
        {"nothing", {}, {}, kIconFolder},
    };
    for (const Case& c : cases) {
        QTreeWidgetItem* item = Open(c.folder);
        ASSERT_TRUE(item) << c.folder;
        EXPECT_EQ(Children(item), c.children) << c.folder;
        for (size_t i = 0; i < c.child_icons.size(); ++i)
            EXPECT_EQ(FolderTree::NormalIcon(item->child(int(i))), c.child_icons[i]) << c.folder;
        EXPECT_EQ(FolderTree::NormalIcon(item), c.folder_icon) << c.folder;
    }
    EXPECT_EQ(FolderTree::ItemPath(Item({"songs\\", "mixed", "a.bms"})), "songs\\mixed\\a.bms");
    EXPECT_EQ(FolderTree::ItemPath(nullptr), "_ERROR_");
    // A second double click adds no second copy.
    Open("mixed");
    EXPECT_EQ(Children(Item({"songs\\", "mixed"})).size(), 2u);
}

// "表" is 0x95 0x5C: a folder of that name still needs a separator before its
// entries, in the tree, in the library and in the song folder list.
TEST_F(FolderTreeTest, AFolderWhoseNameEndsInTheByteOfASeparatorIsStillAFolder) {
    const std::string hyo = Sj(u8"表");
    game.WriteFile("songs/表/a.bms", ChartText("H"));
    tree()->Repopulate(root);
    QTreeWidgetItem* folder = Item({"songs\\", hyo});
    ASSERT_TRUE(folder);
    tree()->OnDoubleClick(folder);
    ASSERT_EQ(Children(folder), std::vector<std::string>{"a.bms"});
    EXPECT_EQ(FolderTree::ItemPath(folder->child(0)), "songs\\" + hyo + "\\a.bms");

    game.WriteFile("more/表/b.bms", ChartText("B"));
    AddRoot("more\\" + hyo);
    EXPECT_EQ(FolderTree::ItemText(tree()->topLevelItem(1)), "more\\" + hyo + "\\");
    EXPECT_EQ(test::PathsUnder("song", "more\\"),
              std::vector<std::string>{"more\\" + hyo + "\\b.bms"});
}

TEST_F(FolderTreeTest, EachKindOfItemGetsItsMenu) {
    for (const char* f : {"mixed", "hidden", "upper", "web"}) Open(f);
    struct Case {
        QTreeWidgetItem* item;
        ItemKind kind;
    } cases[] = {
        {root, ItemKind::Root},
        {Item({"songs\\", "mixed"}), ItemKind::Folder},
        {Item({"songs\\", "mixed", "a.bms"}), ItemKind::Chart},
        {Item({"songs\\", "mixed", "readme.txt"}), ItemKind::OtherFile},
        // The menu goes by the exact ending: an upper-case chart is a file.
        {Item({"songs\\", "upper", "A.BMS"}), ItemKind::OtherFile},
        {Item({"songs\\", "hidden", "x.bm_"}), ItemKind::OtherFile},
        // A folder with the question mark stays a folder.
        {Item({"songs\\", "hidden"}), ItemKind::Folder},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.item);
        EXPECT_EQ(tree()->KindOf(c.item), c.kind) << FolderTree::ItemPath(c.item);
    }
    const std::vector<int> chart = {kCmdPlayChart,      kCmdAutoplayChart, kCmdChartTags,
                                    kCmdChartBmsEditor, kCmdChartRanking,  kCmdChartTextEditor,
                                    kCmdChartRename,    kCmdChartDelete,   kCmdMovieAutoplay,
                                    kCmdMovieBgaOnly,   kCmdMovieReplay,   kCmdBgmWav,
                                    kCmdBgmMp3};
    EXPECT_EQ(FolderTree::MenuCommands(ItemKind::Chart), chart);
    EXPECT_EQ(FolderTree::MenuCommands(ItemKind::OtherFile),
              (std::vector<int>{kCmdFileTextEditor, kCmdFileRename, kCmdFileDelete}));
    EXPECT_EQ(FolderTree::MenuCommands(ItemKind::Root).size(), 12u);
    EXPECT_EQ(FolderTree::MenuCommands(ItemKind::Folder).size(), 13u);
    for (ItemKind k : {ItemKind::Root, ItemKind::Folder, ItemKind::Chart, ItemKind::OtherFile})
        for (int id : FolderTree::MenuCommands(k)) EXPECT_TRUE(Control<QAction>(tree(), id)) << id;
}

TEST_F(FolderTreeTest, DoubleClickOpensTextAndWebFilesButNotCharts) {
    for (const char* f : {"mixed", "upper", "web"}) Open(f);
    std::vector<std::string> edited, opened;
    auto old_editor = SetTextEditorHandler([&](const std::string& f) {
        edited.push_back(f);
        return true;
    });
    auto old_shell = SetShellOpenHandler([&](const std::string& t) { opened.push_back(t); });
    for (auto texts : {std::initializer_list<std::string>{"songs\\", "mixed", "a.bms"},
                       {"songs\\", "mixed", "readme.txt"},
                       {"songs\\", "upper", "A.BMS"},
                       {"songs\\", "web", "i.html"}})
        tree()->OnDoubleClick(Item(texts));
    SetTextEditorHandler(old_editor);
    SetShellOpenHandler(old_shell);
    EXPECT_EQ(edited,
              (std::vector<std::string>{"songs\\mixed\\readme.txt", "songs\\upper\\A.BMS"}));
    EXPECT_EQ(opened, (std::vector<std::string>{"songs\\web\\i.html"}));
}

TEST_F(FolderTreeTest, OpenInFileBrowserQuotesThePathAndChartCommandsReachTheLauncher) {
    Open("mixed");
    std::vector<std::string> opened;
    auto old_shell = SetShellOpenHandler([&](const std::string& t) { opened.push_back(t); });
    Run(Item({"songs\\", "mixed"}), kCmdFolderOpen);
    Run(root, kCmdRootOpen);
    SetShellOpenHandler(old_shell);
    EXPECT_EQ(opened, (std::vector<std::string>{"\"songs\\mixed\"", "\"songs\\\""}));

    std::vector<std::pair<int, std::string>> started, converted;
    tree()->hooks.chart_command = [&](int id, const std::string& p) { started.push_back({id, p}); };
    tree()->hooks.convert = [&](int id, const std::string& p) { converted.push_back({id, p}); };
    for (int id : {kCmdPlayChart, kCmdAutoplayChart, kCmdMovieAutoplay, kCmdMovieBgaOnly,
                   kCmdMovieReplay, kCmdBgmWav, kCmdBgmMp3})
        Run(Item({"songs\\", "mixed", "a.bms"}), id);
    Run(Item({"songs\\", "mixed"}), kCmdFolderWavToOgg);
    Run(root, kCmdRootWavAndBmp);
    ASSERT_EQ(started.size(), 7u);
    EXPECT_EQ(started[0], (std::pair<int, std::string>{kCmdPlayChart, "songs\\mixed\\a.bms"}));
    EXPECT_EQ(started[6].first, kCmdBgmMp3);
    EXPECT_EQ(converted,
              (std::vector<std::pair<int, std::string>>{{kCmdFolderWavToOgg, "songs\\mixed"},
                                                        {kCmdRootWavAndBmp, "songs\\"}}));
}

TEST_F(FolderTreeTest, DraggingInsideTheTreeOnlyTellsToUseCutAndPaste) {
    Open("sub");
    QTreeWidgetItem* mixed = Item({"songs\\", "mixed"});
    QTreeWidgetItem* sub = Item({"songs\\", "sub"});
    ui->AnswerMessage(MsgAnswer::Ok);
    tree()->OnDragRelease(mixed, sub);
    tree()->OnDragRelease(sub, Item({"songs\\", "sub", "deeper"}));  // inside itself: silent
    tree()->OnDragRelease(sub, sub);
    tree()->OnDragRelease(sub, nullptr);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0],
              "現在ツリー内ファイルドラッグ機能は利用できません。\n"
              "右クリックメニューの切り取り・貼り付けを用いてください。");
    EXPECT_TRUE(game.Exists("songs/mixed/a.bms"));
    EXPECT_EQ(Children(root).size(), 6u);
}

TEST_F(FolderTreeTest, ExcludingARootEmptiesItsRowsAndKeepsItsFiles) {
    ASSERT_GT(test::QueryInt("SELECT count(*) FROM song WHERE path LIKE 'songs\\%'"), 0);
    Run(root, kCmdRootExclude);
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 0);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder"), 0);
    EXPECT_TRUE(game.Exists("songs/mixed/a.bms"));
    EXPECT_TRUE(page.RootTexts().empty());
}

TEST_F(FolderTreeTest, RefreshListsWhatAppearedOnDiskAndTheLibraryFollows) {
    QTreeWidgetItem* mixed = Open("mixed");
    game.WriteFile("songs/mixed/new.bme", ChartText("N"));
    game.WriteFile("songs/mixed/a.bms", ChartText("A changed"));
    Age("songs/mixed/a.bms", 10);
    Run(mixed, kCmdFolderRefresh);
    mixed = Item({"songs\\", "mixed"});
    EXPECT_EQ(Children(mixed), (std::vector<std::string>{"a.bms", "new.bme", "readme.txt"}));
    EXPECT_TRUE(HasSong("songs\\mixed\\new.bme"));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE title = 'A changed'"), 1);
    EXPECT_TRUE(test::MatchesFreshRegistration(page.RootTexts()));
}

TEST_F(FolderTreeTest, RefreshingARootAddsWhatWasPutDirectlyIntoIt) {
    game.WriteFile("songs/top.bms", ChartText("Top"));
    game.WriteFile("songs/newsong/n.bms", ChartText("N"));
    Run(root, kCmdRootRefresh);
    EXPECT_TRUE(HasSong("songs\\top.bms"));
    EXPECT_TRUE(HasSong("songs\\newsong\\n.bms"));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE difficulty < 0"), 0);
    EXPECT_EQ(Children(root).back(), "web");
    EXPECT_EQ(Children(root)[3], "nothing");
    const int songs = test::QueryInt("SELECT count(*) FROM song");
    Run(root, kCmdRootRefresh);  // nothing new: nothing added twice
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), songs);
    EXPECT_TRUE(test::MatchesFreshRegistration(page.RootTexts()));
}

TEST_F(FolderTreeTest, TheRankingPageAndTheInformationPanelFollowTheChart) {
    Open("mixed");
    std::vector<std::string> opened, shown, tagged;
    auto old_shell = SetShellOpenHandler([&](const std::string& t) { opened.push_back(t); });
    tree()->hooks.show_info = [&](const std::string& p) { shown.push_back(p); };
    tree()->hooks.edit_tags = [&](const std::string& p, bool folder) {
        if (!folder) tagged.push_back(p);
    };
    Run(Item({"songs\\", "mixed", "a.bms"}), kCmdChartRanking);
    Run(Item({"songs\\", "mixed", "a.bms"}), kCmdChartTags);
    SetShellOpenHandler(old_shell);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("search.cgi"), std::string::npos) << opened[0];
    EXPECT_EQ(tagged, (std::vector<std::string>{"songs\\mixed\\a.bms"}));
    // Selecting showed it, the tag edit showed it again.
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.back(), "songs\\mixed\\a.bms");
}

TEST_F(FolderTreeTest, OperationsForInstallsAndTheHiddenChartSearch) {
    QTreeWidgetItem* mixed = Open("mixed");
    EXPECT_EQ(tree()->SelectedFolderPath(), "");
    tree()->SetCurrent(Item({"songs\\", "mixed", "a.bms"}));
    EXPECT_EQ(tree()->SelectedFolderPath(), "songs\\mixed");
    tree()->SetCurrent(root);
    EXPECT_EQ(tree()->SelectedFolderPath(), "songs\\");

    // An archive was extracted into songs\mixed\pack.
    game.WriteFile("songs/mixed/pack/p.bms", ChartText("P"));
    QTreeWidgetItem* pack = tree()->InsertNewFolderItem(mixed, "pack");
    EXPECT_EQ(FolderTree::NormalIcon(pack), kIconNewFolder);
    EXPECT_EQ(Children(pack), (std::vector<std::string>{"p.bms"}));
    EXPECT_EQ(tree()->currentItem(), pack);
    EXPECT_EQ(tree()->CurrentItem(), pack);
    EXPECT_EQ(Children(mixed), (std::vector<std::string>{"a.bms", "pack", "readme.txt"}));

    QTreeWidgetItem* hidden = tree()->AddHiddenChartItem(pack, "secret.bms_");
    EXPECT_EQ(FolderTree::NormalIcon(hidden), kIconHidden);
    EXPECT_EQ(FolderTree::NormalIcon(pack), kIconNewFolder);
    EXPECT_EQ(tree()->KindOf(pack), ItemKind::Folder);

    // Repopulating lists the disk again and forgets a cut item that went.
    tree()->SetCurrent(hidden);
    tree()->RunCommand(kCmdFolderCut);
    tree()->Repopulate(pack);
    EXPECT_EQ(tree()->cut_item, nullptr);
    EXPECT_EQ(Children(pack), (std::vector<std::string>{"p.bms"}));
}

// What the folder lists already is marked, not listed twice; the folder
// keeps its own icon.
TEST_F(FolderTreeTest, TheHiddenChartSearchMarksFindsOnceAndLeavesTheFolderIcon) {
    game.WriteFile("songs/mixed/notes.txt", ChartText("N"));
    game.WriteFile("songs/mixed/secret.dat", ChartText("S"));
    struct Case {
        std::string folder;
        std::vector<std::string> children;
        std::vector<int> icons;
    } cases[] = {
        {"mixed",
         {"a.bms", "notes.txt", "readme.txt", "secret.dat"},
         {kIconChart, kIconHidden, kIconDocument, kIconHidden}},
        {"hidden", {"x.bm_"}, {kIconHidden}},
    };
    for (const Case& c : cases) {
        QTreeWidgetItem* folder = Open(c.folder);
        const int icon = FolderTree::NormalIcon(folder);
        ForgetMessages();
        ui->AnswerMessage(MsgAnswer::Ok);
        Run(folder, kCmdFolderHiddenSearch);
        EXPECT_EQ(Messages(), std::vector<std::string>{
                                  "隠し譜面を発見しました。必要に応じて拡張子を変更して下さい。"});
        EXPECT_EQ(Children(folder), c.children);
        for (size_t i = 0; i < c.icons.size() && i < size_t(folder->childCount()); ++i)
            EXPECT_EQ(FolderTree::NormalIcon(folder->child(int(i))), c.icons[i]) << c.children[i];
        EXPECT_EQ(FolderTree::NormalIcon(folder), icon) << c.folder;
    }
    EXPECT_EQ(FolderTree::NormalIcon(Item({"songs\\", "mixed"})), kIconFolder);
}

TEST_F(FolderTreeTest, TheBmsEditorNeedsAnExistingProgramAndIsWaitedFor) {
    Open("mixed");
    QTreeWidgetItem* chart = Item({"songs\\", "mixed", "a.bms"});
    for (const char* body : {"", "nowhere\\bmse.exe"}) {
        page.tools.bmse_body = body;
        ui->AnswerMessage(MsgAnswer::Ok);
        Run(chart, kCmdChartBmsEditor);
    }
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1],
              "利用するbmsエディターが設定されていないか、ファイルが見つかりません。\n"
              "詳細設定ボタンから設定して下さい。");
    // A real editor: it changes the chart; once it has exited, the library
    // and the information panel hear of it.
    game.WriteFile("editor.sh",
                   "#!/bin/sh\necho \"$@\" > args.txt\nprintf '#GENRE edited\\r\\n' >> \"$2\"\n"
                   "touch -d @$(( $(date +%s) + 10 )) \"$2\"\n");
    ::chmod(game.HostPath("editor.sh").c_str(), 0755);
    page.tools.bmse_body = "editor.sh";
    page.tools.bmse_option = "-x";
    std::vector<std::string> shown;
    tree()->hooks.show_info = [&](const std::string& p) { shown.push_back(p); };
    Run(chart, kCmdChartBmsEditor);
    EXPECT_EQ(game.ReadFile("args.txt"), "-x songs/mixed/a.bms\n");
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE genre = 'edited'"), 1);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "songs\\mixed\\a.bms");
}

}  // namespace
}  // namespace qv5
