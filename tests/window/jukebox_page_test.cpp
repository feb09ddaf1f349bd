// The JUKEBOX1 page: adding roots by the picker and by drops, the full
// rescan, a registration stopped from the progress window, the removed
// buttons and the tool settings limits.
#include <QLabel>
#include <QPushButton>

#include "config/config_file.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "window/browser_fixture.h"
#include "window/common/progress_window.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page_ids.h"
#include "window/tree/folder_tree_ids.h"
#include "window/tree/tree_icons.h"

namespace qv5 {
namespace {

using test::ChartText;

class JukeboxPageTest : public test::BrowserTest {
  protected:
    void SetUp() override {
        BrowserTest::SetUp();
        for (const char* folder : {"one", "two", "three"})
            for (int c = 0; c < 4; ++c)
                game.WriteFile(std::string("songs/") + folder + "/c" + std::to_string(c) + ".bms",
                               ChartText(std::string(folder) + std::to_string(c)));
        game.WriteFile("more/m/x.bms", ChartText("X"));
    }
    void Click(int id) { Control<QPushButton>(&page, id)->click(); }
};

TEST_F(JukeboxPageTest, AddingARootAsksThenListsAndRegistersIt) {
    ui->AnswerPath(std::nullopt);  // cancelled picker
    Click(jukebox_page_id::kAddRoot);
    ui->AnswerPath("songs");
    ui->AnswerMessage(MsgAnswer::No);
    Click(jukebox_page_id::kAddRoot);
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 0);
    ASSERT_EQ(ui->prompts().size(), 3u);
    EXPECT_EQ(ui->prompts()[0].kind, "folder");
    EXPECT_EQ(ui->prompts()[0].text, "NEW SONG FOLDER");
    EXPECT_EQ(ui->prompts()[2].Utf8Text(),
              "bmsが多い場合、追加作業に数分かかる場合があります。\nよろしいですか？");
    EXPECT_EQ(ui->prompts()[2].Utf8Caption(), "確認");

    AddRoot("songs");
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"songs\\"}));
    EXPECT_EQ(Children(tree()->topLevelItem(0)), (std::vector<std::string>{"one", "three", "two"}));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 12);
    // No duplicate check on this path: a second identical root, no new rows.
    AddRoot("songs\\");
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"songs\\", "songs\\"}));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 12);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE difficulty < 0"), 0);
}

TEST_F(JukeboxPageTest, DroppedFoldersAreCheckedAgainstTheRootsAndStoredRelative) {
    AddRoot("songs");
    ForgetMessages();
    const std::string dir = ProgramDirectory();
    struct Case {
        std::string dropped;
        std::string message;  // empty: registered
    } cases[] = {
        {dir + "songs", "このフォルダは既に登録されています。"},
        {dir + "songs\\one", "親フォルダが既に登録されています。"},
        {"songs\\two\\", "親フォルダが既に登録されています。"},
        {dir + "more", ""},
    };
    for (const Case& c : cases) {
        JukeboxPage::DropState drop;
        ui->AnswerMessage(c.message.empty() ? MsgAnswer::Yes : MsgAnswer::Ok);
        EXPECT_EQ(page.RegisterDroppedFolder(c.dropped, drop), c.message.empty()) << c.dropped;
        if (!c.message.empty()) {
            EXPECT_EQ(Messages().back(), c.message) << c.dropped;
            EXPECT_EQ(ui->prompts().back().caption, kAppTitle);
        }
    }
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"songs\\", "more\\"}));
    EXPECT_TRUE(HasSong("more\\m\\x.bms"));
    // The parent of a registered root is not detected.
    JukeboxPage::DropState drop;
    ui->AnswerMessage(MsgAnswer::Yes);
    EXPECT_TRUE(page.RegisterDroppedFolder(dir.substr(0, dir.size() - 1), drop));
    EXPECT_EQ(page.RootTexts().back(), dir);
}

TEST_F(JukeboxPageTest, OneDropAsksOnceAFolderIsConfirmed) {
    game.MakeDir("x");
    game.MakeDir("y");
    game.MakeDir("z");
    JukeboxPage::DropState drop;
    ui->AnswerMessage(MsgAnswer::No);   // x declined
    ui->AnswerMessage(MsgAnswer::Yes);  // y asks again, confirmed
    EXPECT_FALSE(page.RegisterDroppedFolder("x", drop));
    EXPECT_TRUE(page.RegisterDroppedFolder("y", drop));
    EXPECT_TRUE(page.RegisterDroppedFolder("z", drop));  // no question
    EXPECT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0],
              "ルートフォルダに加えます。よろしいですか？\n"
              "(bmsが多い場合、追加作業に数分かかる場合があります。)");
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"y\\", "z\\"}));
    // A new drop asks again.
    JukeboxPage::DropState next;
    ui->AnswerMessage(MsgAnswer::No);
    EXPECT_FALSE(page.RegisterDroppedFolder("x", next));
}

TEST_F(JukeboxPageTest, ACustomFolderFileBecomesADocumentRootWithoutAScan) {
    game.WriteFile("lists/best.qv5folder", "#TITLE best\r\n");
    EXPECT_TRUE(page.AddCustomFolderRoot(ProgramDirectory() + "lists\\best.qv5folder"));
    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_FALSE(page.AddCustomFolderRoot("lists\\best.qv5folder"));
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"lists\\best.qv5folder"}));
    EXPECT_EQ(FolderTree::NormalIcon(tree()->topLevelItem(0)), kIconDocument);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder"), 0);
}

TEST_F(JukeboxPageTest, FullRescanSaysDoneOnlyWhenThereWereRoots) {
    AddRoot("songs");
    // The root leaves the tree but not the library: the rescan empties it.
    tree()->RemoveItem(tree()->topLevelItem(0));
    ForgetMessages();
    ui->AnswerMessage(MsgAnswer::No);
    Click(jukebox_page_id::kFullRescan);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 12);
    ui->AnswerMessage(MsgAnswer::Yes);
    Click(jukebox_page_id::kFullRescan);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 0);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0],
              "全フォルダを再検索します。\n"
              "しばらくコンフィグプログラムは応答不能になります。\nよろしいですか？");

    tree()->InsertRoot(WinPath("songs\\"));
    tree()->InsertRoot(WinPath("gone\\"));
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    ui->AnswerMessage(MsgAnswer::Ok);
    Click(jukebox_page_id::kFullRescan);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 12);
    ASSERT_EQ(Messages().size(), 5u);
    EXPECT_EQ(Messages()[3], "終了しました");
    EXPECT_NE(Messages()[4].find("gone\\"), std::string::npos);
}

// Presses the progress window's own Stop button once the work has reported
// `after` items, as the person at the screen would.
class StopPressingProgress final : public Progress {
  public:
    StopPressingProgress(QWidget* owner, const std::string& title, long after)
        : window_(owner, title), after_(after) {}
    ~StopPressingProgress() override {
        if (seen_) *seen_ = updates_;
    }
    void Update(long done, long total, const std::string& current) override {
        window_.Update(done, total, current);
        if (++updates_ == after_)
            window_.dialog()->findChild<QPushButton*>(QStringLiteral("stop"))->click();
        if (window_.StopRequested()) RequestStop();
    }
    void SetStatus(const std::string& text) override { window_.SetStatus(text); }
    long updates_ = 0;
    long* seen_ = nullptr;  // the count, kept past the page's own end of the object

  private:
    ProgressWindow window_;
    long after_;
};

TEST_F(JukeboxPageTest, StoppingAnAddRootMidwayLeavesTheLibraryAsItWas) {
    AddRoot("more");
    const std::string before = Dump();
    const int songs = test::QueryInt("SELECT count(*) FROM song"),
              folders = test::QueryInt("SELECT count(*) FROM folder");
    bool made = false;
    long updates = 0;
    tree()->progress_factory = [&](QWidget* owner, const std::string& title) {
        auto p = std::make_unique<StopPressingProgress>(owner, title, 5);
        p->seen_ = &updates;
        made = true;
        return std::unique_ptr<Progress>(std::move(p));
    };
    ForgetMessages();
    ui->AnswerPath("songs");
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    Click(jukebox_page_id::kAddRoot);
    ASSERT_TRUE(made);
    EXPECT_GE(updates, 5);
    EXPECT_EQ(Messages().back(), "登録を中止しました。ライブラリは元のままです。");
    EXPECT_EQ(page.RootTexts(), (std::vector<std::string>{"more\\"}));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), songs);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder"), folders);
    EXPECT_EQ(std::hash<std::string>{}(Dump()), std::hash<std::string>{}(before));
    EXPECT_EQ(Dump(), before);
}

TEST_F(JukeboxPageTest, RemovedCommandsSaySoAndToolSettingsAreClampedAfterTheDialog) {
    for (int id : {jukebox_page_id::kRemovedUnregister, jukebox_page_id::kRemovedOpenFolder}) {
        ui->AnswerMessage(MsgAnswer::Ok);
        Click(id);
    }
    for (int id : {jukebox_page_id::kMenuRemoved1, jukebox_page_id::kMenuRemoved2}) {
        ui->AnswerMessage(MsgAnswer::Ok);
        Control<QAction>(&page, id)->trigger();
    }
    ASSERT_EQ(Messages().size(), 4u);
    for (const std::string& m : Messages()) EXPECT_EQ(m, "この機能は削除済みです。");
    EXPECT_EQ(ui->prompts().back().buttons, MsgButtons::Ok);

    struct Case {
        std::string quality, rate, want_quality, want_rate;
    } cases[] = {
        {"150", "61", "100", "60"},
        {"-5", "0", "0", "30"},
        {"50", "-3", "50", "30"},
        {"abc", "24", "0", "24"},
    };
    for (const Case& c : cases) {
        page.open_tool_settings = [&] {
            page.tools.mp3_volume = c.quality;
            page.tools.movie_framerate = c.rate;
        };
        Click(jukebox_page_id::kToolSettings);
        EXPECT_EQ(page.tools.mp3_volume, c.want_quality) << c.quality;
        EXPECT_EQ(page.tools.movie_framerate, c.want_rate) << c.rate;
    }
    page.open_tool_settings = nullptr;
    Click(jukebox_page_id::kToolSettings);  // without a dialog hooked in: only the limits
}

TEST_F(JukeboxPageTest, TheInstallFolderIsChosenAndOpened) {
    page.values.newsongfolder = "NEW SONG\\";
    page.ShowValues();
    ui->AnswerPath(std::nullopt);
    Click(jukebox_page_id::kChooseInstallFolder);
    EXPECT_EQ(page.values.newsongfolder, "NEW SONG\\");
    ui->AnswerPath("Z:\\songs\\inbox");
    Click(jukebox_page_id::kChooseInstallFolder);
    EXPECT_EQ(ui->prompts().back().Utf8Text(), "インストールするフォルダを選択して下さい");
    EXPECT_EQ(page.values.newsongfolder, "Z:\\songs\\inbox\\");
    EXPECT_EQ(Control<QLineEdit>(&page, jukebox_page_id::kInstallFolder)->text(),
              "Z:\\songs\\inbox\\");
    EXPECT_TRUE(Control<QLineEdit>(&page, jukebox_page_id::kInstallFolder)->isReadOnly());
    std::vector<std::string> opened;
    auto old = SetShellOpenHandler([&](const std::string& t) { opened.push_back(t); });
    Click(jukebox_page_id::kOpenInstallFolder);
    SetShellOpenHandler(old);
    EXPECT_EQ(opened, (std::vector<std::string>{"Z:\\songs\\inbox\\"}));
}

TEST(JukeboxConfig, RootsComeFromConfigAndGoBackInTreeOrder) {
    test::TempGame game;
    test::ScopedScriptedUi ui;
    TheConfig() = ConfigRecord{};
    test::MakePlayer("player", "pass");
    game.WriteFile("songs/a/x.bms", ChartText("X"));
    game.MakeDir("other");
    game.WriteFile("QV5files/Config/config.xml",
                   "<config><player><id>player</id><pass>pass</pass></player><jukebox>"
                   "<path>songs\\</path><path>other\\</path><path>missing\\</path>"
                   "</jukebox></config>");
    {
        MainWindow dlg;
        dlg.InitDialog();
        FolderTree* tree = dlg.JukeboxTab()->Tree();
        EXPECT_EQ(dlg.JukeboxTab()->RootTexts(),
                  (std::vector<std::string>{"songs\\", "other\\", "missing\\"}));
        EXPECT_EQ(FolderTree::ItemText(tree->topLevelItem(0)->child(0)), "a");
        tree->SetCurrent(tree->topLevelItem(1));
        tree->RunCommand(kCmdRootExclude);  // exclude "other"
        ASSERT_EQ(dlg.ApplySettings(), 1);
    }
    ConfigRecord back;
    LoadConfig(back);
    ASSERT_EQ(back.path_count, 2);
    EXPECT_EQ(back.path[0], "songs\\");
    EXPECT_EQ(back.path[1], "missing\\");
    CloseTestLibrary();
}

}  // namespace
}  // namespace qv5

namespace qv5 {
namespace {

// Registration, rescan and refresh end with their summary on the window's
// status line.
TEST_F(JukeboxPageTest, LongJobsEndWithASummaryLine) {
    auto* line = new QLabel(&page);
    line->setObjectName("jobSummary");
    AddRoot("songs");
    const std::string registered = FromQString(line->text());
    EXPECT_NE(registered.find(test::U(u8"フォルダの12譜面を")), std::string::npos);
    EXPECT_NE(registered.find(test::U(u8"秒で登録しました")), std::string::npos);
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    Click(jukebox_page_id::kFullRescan);
    EXPECT_NE(FromQString(line->text()).find(test::U(u8"秒で再検索しました")), std::string::npos);
    Run(tree()->topLevelItem(0), kCmdRootRefresh);
    EXPECT_NE(FromQString(line->text()).find(test::U(u8"秒で更新しました")), std::string::npos);
}

}  // namespace
}  // namespace qv5
