// Drops on the real main window: real archives, files and song.db; the tree
// side is a recording stand-in and the person at the screen is scripted.
#include "window/main/drops.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QTabBar>
#include <map>
#include <set>

#include "config/config_file.h"
#include "install/archive.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "support/fake_wine.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/small_fs.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "support/zip_writer.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"

namespace qv5 {
namespace {

using test::File;

// A folder tree of items and their parents; records what the handler asks.
class RecordingTree final : public DropTarget {
  public:
    std::uintptr_t Add(std::uintptr_t parent, const std::string& text, const std::string& path,
                       int icon) {
        items_.push_back({items_.size() + 1, text, path, icon});
        parents_[items_.back().handle] = parent;
        return items_.back().handle;
    }
    void SelectHandle(std::uintptr_t h) { selected_ = h; }
    const DropItem& Item(std::uintptr_t h) const { return items_.at(h - 1); }

    bool JukeboxShown() const override { return jukebox; }
    std::optional<DropItem> SelectedItem() override {
        if (!selected_) return std::nullopt;
        return Item(selected_);
    }
    std::optional<DropItem> ParentOf(const DropItem& item) override {
        const std::uintptr_t p = parents_.at(item.handle);
        if (!p) return std::nullopt;
        return Item(p);
    }
    void Select(const DropItem& item) override {
        selected_ = item.handle;
        log.push_back("select " + Cp932ToUtf8(item.path));
    }
    void RepopulateItem(const DropItem& item) override {
        log.push_back("repopulate " + Cp932ToUtf8(item.path));
    }
    DropItem AddFolderItem(const DropItem& parent, const std::string& name) override {
        log.push_back("add " + Cp932ToUtf8(name));
        return Item(Add(parent.handle, name, parent.path + name + "\\", 4));
    }
    bool RootRefused(const std::string& path) override {
        return refused.count(Cp932ToUtf8(path)) > 0;
    }
    void AddRootFolder(const std::string& path) override {
        log.push_back("root " + Cp932ToUtf8(path));
    }
    void AddCustomFolderRoot(const std::string& path) override {
        log.push_back("custom " + Cp932ToUtf8(path));
    }
    void ConvertWavToOgg(const std::string& f) override { log.push_back("ogg " + Cp932ToUtf8(f)); }
    void ConvertBmpToPng(const std::string& f) override { log.push_back("png " + Cp932ToUtf8(f)); }
    void SearchHiddenCharts(const DropItem& item) override {
        log.push_back("hidden " + Cp932ToUtf8(item.path));
    }
    void RefreshControls() override { log.push_back("refresh"); }

    bool jukebox = true;
    std::set<std::string> refused;
    std::vector<std::string> log;

  private:
    std::vector<DropItem> items_;
    std::map<std::uintptr_t, std::uintptr_t> parents_;
    std::uintptr_t selected_ = 0;
};

std::string Chart(const std::string& title) {
    return "#PLAYER 1\r\n#TITLE " + title + "\r\n#00111:01\r\n";
}

class DropTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SaveConfig(test::NewPlayerRecord());
        game.WriteFile("Songs/Cat/Old/old.bms", Chart("old"));
        dlg.InitDialog();
        OpenTestLibrary("");
        ASSERT_TRUE(TestRegisterRoot("Songs\\"));
        root = tree.Add(0, "Songs\\", "Songs\\", 0);
        cat = tree.Add(root, "Cat", "Songs\\Cat\\", 0);
        old = tree.Add(cat, "Old", "Songs\\Cat\\Old\\", 0);
        chart = tree.Add(old, "old.bms", "Songs\\Cat\\Old\\old.bms", 1);
    }
    // Dropped paths arrive absolute, as the file manager gives them.
    std::string Abs(const std::string& relative) const { return ProgramDirectory() + relative; }
    void TearDown() override { CloseTestLibrary(); }
    test::TempGame game;
    test::ScopedScriptedUi ui;
    MainWindow dlg;
    RecordingTree tree;
    std::uintptr_t root = 0, cat = 0, old = 0, chart = 0;
};

TEST_F(DropTest, ThreeArchivesAskOnceAndTheDeleteAnswerHoldsForAll) {
    struct Case {
        MsgAnswer delete_answer;
        bool deleted;
    };
    for (const Case& c : {Case{MsgAnswer::Yes, true}, Case{MsgAnswer::No, false}}) {
        const std::string tag = c.deleted ? "d" : "k";
        std::vector<std::string> paths;
        for (int i = 0; i < 3; ++i) {
            const std::string name = tag + std::to_string(i);
            test::WriteZip(game.HostPath(name + ".zip"), {File(name + "/a.bms", Chart(name))});
            paths.push_back(Abs(name + ".zip"));
        }
        tree.SelectHandle(cat);
        tree.log.clear();
        dlg.JukeboxTab()->tools.autowavtoogg = 1;
        dlg.JukeboxTab()->tools.autofumensearch = 1;
        ui->AnswerMessage(MsgAnswer::Yes);
        ui->AnswerMessage(c.delete_answer);
        const size_t before = ui->prompts().size();
        dlg.HandleDrop(tree, paths);
        ASSERT_EQ(ui->prompts().size(), before + 2);
        EXPECT_EQ(ui->prompts()[before].Utf8Text(),
                  "フルパス:Songs\\Cat\\\nフォルダ名:"
                  "Cat\nこのフォルダにインストールしますがよろしいですか？\n"
                  "(同時にドロップしたファイルも同じフォルダにインストールされます。)");
        EXPECT_EQ(ui->prompts()[before + 1].Utf8Text(),
                  "インストールに成功しました。\n元ファイルを削除しますか？");
        for (int i = 0; i < 3; ++i) {
            const std::string name = tag + std::to_string(i);
            EXPECT_EQ(game.Exists(name + ".zip"), !c.deleted) << name;
            EXPECT_EQ(test::PathsUnder("song", "Songs\\Cat\\" + name + "\\").size(), 1u) << name;
        }
        const std::string f = "Songs\\Cat\\" + tag + "0\\";
        EXPECT_EQ(std::vector<std::string>(tree.log.begin(), tree.log.begin() + 5),
                  (std::vector<std::string>{"add " + tag + "0", "select " + f, "ogg " + f,
                                            "hidden " + f, "refresh"}));
    }
}

TEST_F(DropTest, AFailedInstallDoesNotOfferToDeleteTheArchive) {
    // A disk too small for what the archive holds.
    test::SmallFileSystem small(game.HostPath("Songs/Full"), 128);
    const std::uintptr_t full = tree.Add(root, "Full", "Songs\\Full\\", 0);
    test::WriteZip(game.HostPath("f.zip"),
                   {File("f/a.bms", Chart("f")), File("f/a.wav", std::string(100 << 10, 'w')),
                    File("f/b.wav", std::string(100 << 10, 'w'))});
    tree.SelectHandle(full);
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.HandleDrop(tree, {Abs("f.zip")});
    const auto texts = ui->MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].rfind("空き容量が足りないため", 0), 0u) << texts[1];
    EXPECT_TRUE(ui->Exhausted());
    EXPECT_TRUE(game.Exists("f.zip"));
    EXPECT_FALSE(game.Exists("Songs/Full/f"));
    EXPECT_EQ(test::PathsUnder("song", "Songs\\Full\\").size(), 0u);
}

// An archive of a kind the archive library cannot read: the window says so
// and offers the archivers' installer, which runs when it is there.
TEST_F(DropTest, AnUnreadableArchiveKindIsSaidAndTheLibrariesOffered) {
    const std::string offer = "解凍に必要なライブラリが存在しません。\nダウンロードしますか？";
    const std::string manual =
        "書庫解凍機能を利用するには、unzip32.dll、unrar32.dll、unrar.dllが必要です。\n"
        "手動で導入する場合は、これらをQV5.exeと同じフォルダに置いてください。";
    const struct {
        const char* archive;
        ArchiveKind kind;
        MsgAnswer offer;
        std::vector<std::string> texts;
        size_t installer_runs;
    } cases[] = {
        {"a.rar", ArchiveKind::Rar, MsgAnswer::No,
         {"UNrar32.DLLの読み込みに失敗しました。", offer, manual}, 0},
        {"a.zip", ArchiveKind::Zip, MsgAnswer::No,
         {"unzip32.dllの読み込みに失敗しました。", offer, manual}, 0},
        {"a.zip", ArchiveKind::Zip, MsgAnswer::Yes, {"unzip32.dllの読み込みに失敗しました。", offer}, 1},
    };
    game.WriteFile("QV5files/caldix/caldix.exe", "MZ");
    for (const auto& c : cases) {
        test::FakeWine wine;
        test::WriteZip(game.HostPath(c.archive), {File("a/a.bms", Chart("a"))});
        tree.SelectHandle(cat);
        test::ScopedScriptedUi script;
        script->AnswerMessage(MsgAnswer::Yes);  // install here
        script->AnswerMessage(MsgAnswer::Ok);
        script->AnswerMessage(c.offer);
        if (c.offer == MsgAnswer::No) script->AnswerMessage(MsgAnswer::Ok);
        SetArchiveKindReadableForTesting(c.kind, false);
        dlg.HandleDrop(tree, {Abs(c.archive)});
        SetArchiveKindReadableForTesting(c.kind, true);
        std::vector<std::string> texts = script->MessageTexts();
        ASSERT_FALSE(texts.empty());
        texts.erase(texts.begin());  // the install question
        EXPECT_EQ(texts, c.texts) << c.archive;
        EXPECT_TRUE(script->Exhausted());
        const auto runs = wine.Runs();
        ASSERT_EQ(runs.size(), c.installer_runs);
        for (const auto& run : runs)
            EXPECT_NE(run.argv.at(0).find("caldix.exe"), std::string::npos);
        EXPECT_TRUE(game.Exists(c.archive));
        EXPECT_FALSE(game.Exists("Songs/Cat/a"));
    }
}

TEST_F(DropTest, OneArchiveGetsTheShortQuestionAndANoSkipsIt) {
    test::WriteZip(game.HostPath("p.zip"), {File("p.bms", Chart("p"))});
    tree.SelectHandle(cat);
    ui->AnswerMessage(MsgAnswer::No);
    dlg.HandleDrop(tree, {Abs("p.zip")});
    EXPECT_EQ(ui->MessageTexts().back(),
              "フルパス:Songs\\Cat\\\nフォルダ名:"
              "Cat\nこのフォルダにインストールしますがよろしいですか？");
    EXPECT_FALSE(game.Exists("Songs/Cat/p"));
    // Charts at the archive's root: a folder named after it.
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::No);
    dlg.HandleDrop(tree, {Abs("p.zip")});
    EXPECT_EQ(test::PathsUnder("song", "Songs\\Cat\\p\\").size(), 1u);
}

TEST_F(DropTest, ASongFolderOrAChartSelectedInstallsNextToIt) {
    for (std::uintptr_t selected : {old, chart}) {
        const std::string name = "n" + std::to_string(selected);
        test::WriteZip(game.HostPath(name + ".zip"), {File(name + "/a.bms", Chart(name))});
        tree.SelectHandle(selected);
        ui->AnswerMessage(MsgAnswer::Yes);
        ui->AnswerMessage(MsgAnswer::No);
        dlg.HandleDrop(tree, {Abs(name + ".zip")});
        EXPECT_EQ(test::PathsUnder("song", "Songs\\Cat\\" + name + "\\").size(), 1u) << name;
    }
    // A root holding charts itself has nothing above it: the root is used.
    game.WriteFile("Songs/top.bms", Chart("top"));
    test::WriteZip(game.HostPath("r.zip"), {File("r/a.bms", Chart("r"))});
    tree.SelectHandle(root);
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::No);
    dlg.HandleDrop(tree, {Abs("r.zip")});
    EXPECT_EQ(test::PathsUnder("song", "Songs\\r\\").size(), 1u);
}

TEST_F(DropTest, NoSelectionOrACustomFolderEndsTheDrop) {
    test::WriteZip(game.HostPath("a.zip"), {File("a/a.bms", Chart("a"))});
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.HandleDrop(tree, {Abs("a.zip"), Abs("a.zip")});
    EXPECT_EQ(ui->MessageTexts(),
              std::vector<std::string>{"インストール先のフォルダをクリックして下さい。"});
    tree.SelectHandle(tree.Add(0, "list.qv5folder", "list.qv5folder", 3));
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.HandleDrop(tree, {Abs("a.zip"), Abs("a.zip")});
    EXPECT_EQ(ui->MessageTexts().back(), "カスタムフォルダ内にインストールすることは出来ません。");
    EXPECT_EQ(ui->MessageTexts().size(), 2u);
}

TEST_F(DropTest, TwoFoldersAskAgainAfterANo) {
    game.MakeDir("More/A");
    game.MakeDir("More/B");
    game.MakeDir("More/C");
    ui->AnswerMessage(MsgAnswer::No);
    ui->AnswerMessage(MsgAnswer::Yes);
    dlg.HandleDrop(tree, {Abs("More\\A"), Abs("More\\B"), Abs("More\\C")});
    EXPECT_EQ(ui->MessageTexts().size(), 2u);
    EXPECT_EQ(tree.log, (std::vector<std::string>{"root More\\B\\", "root More\\C\\"}));
    tree.refused = {"More\\A\\"};
    tree.log.clear();
    ui->AnswerMessage(MsgAnswer::Yes);
    dlg.HandleDrop(tree, {Abs("More\\A"), Abs("More\\B")});
    EXPECT_EQ(tree.log, (std::vector<std::string>{"root More\\B\\"}));
}

TEST_F(DropTest, PicturesByTheirEndings) {
    QImage picture(32, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(game.HostPath("shot.PNG")), "PNG"));
    ASSERT_TRUE(picture.save(QString::fromStdString(game.HostPath("wide.BMP")), "BMP"));
    dlg.HandleDrop(tree, {Abs("shot.PNG")});
    EXPECT_TRUE(ui->prompts().empty());
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.HandleDrop(tree, {Abs("wide.BMP")});
    ASSERT_EQ(ui->MessageTexts().size(), 2u);
    EXPECT_EQ(ui->MessageTexts()[1],
              "壁紙を追加しました。壁紙変更はマニュアルを参考にして下さい。");
    const std::string bmp = game.ReadFile("QV5files/WallPaper/Select/wide.bmp");
    ASSERT_GT(bmp.size(), 30u);
    EXPECT_EQ(bmp[28], 24);  // bits per pixel
    QImage made(QString::fromStdString(game.HostPath("QV5files/WallPaper/Select/wide.bmp")));
    EXPECT_EQ(made.size(), QSize(640, 480));
    EXPECT_EQ(made.pixelColor(320, 240), QColor(Qt::red));
    // A picture that cannot be loaded ends the drop.
    game.WriteFile("bad.jpg", "not a picture");
    test::WriteZip(game.HostPath("a.zip"), {File("a/a.bms")});
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.HandleDrop(tree, {Abs("bad.jpg"), Abs("a.zip")});
    EXPECT_EQ(ui->MessageTexts().back(), "画像の読み込みに失敗しました。");
}

TEST_F(DropTest, AChartPlaysOnAnotherTabAndInstallsIntoTheSongFolderOnJukebox) {
    test::FakeWine wine;
    game.WriteFile("QV5body.exe", "MZ");
    game.WriteFile("dl/another.bms", Chart("another"));
    tree.jukebox = false;
    tree.SelectHandle(old);
    dlg.HandleDrop(tree, {Abs("dl\\another.bms")});
    for (int i = 0; i < 2000 && wine.Runs().empty(); ++i) usleep(5000);
    ASSERT_EQ(wine.Runs().size(), 1u);
    EXPECT_EQ(wine.Runs()[0].argv,
              (std::vector<std::string>{"QV5body.exe", Cp932ToUtf8(Abs("dl\\another.bms"))}));
    EXPECT_FALSE(game.Exists("Songs/Cat/Old/another.bms"));

    tree.jukebox = true;
    tree.SelectHandle(chart);
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Yes);
    dlg.HandleDrop(tree, {Abs("dl\\another.bms")});
    EXPECT_EQ(ui->MessageTexts().at(0),
              "差分をインストールします。よろしいですか？\nSongs\\Cat\\Old\\");
    EXPECT_EQ(game.ReadFile("Songs/Cat/Old/another.bms"), Chart("another"));
    EXPECT_FALSE(game.Exists("dl/another.bms"));
    EXPECT_EQ(test::PathsUnder("song", "Songs\\Cat\\Old\\").size(), 2u);
    EXPECT_EQ(tree.log.back(), "repopulate Songs\\Cat\\Old\\");
    // An existing chart is not replaced, and nothing is said.
    for (const char* name : {"old.bms", "OLD.BMS"}) {
        game.WriteFile(std::string("dl/") + name, "other");
        ui->AnswerMessage(MsgAnswer::Yes);
        dlg.HandleDrop(tree, {Abs(std::string("dl\\") + name)});
    }
    EXPECT_EQ(game.ReadFile("Songs/Cat/Old/old.bms"), Chart("old"));
    EXPECT_FALSE(game.Exists("Songs/Cat/Old/OLD.BMS"));
    EXPECT_EQ(ui->MessageTexts().size(), 4u);
}

// A dropped chart whose name holds a double quote cannot be passed whole on
// the game's command line: it is named and not played; the next drop is.
TEST_F(DropTest, AChartNamedWithADoubleQuoteIsNotPlayed) {
    test::FakeWine wine;
    game.WriteFile("QV5body.exe", "MZ");
    game.WriteFile("dl/q\"uote.bms", Chart("q"));
    game.WriteFile("dl/plain.bms", Chart("p"));
    tree.jukebox = false;
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.HandleDrop(tree, {Abs("dl\\q\"uote.bms"), Abs("dl\\plain.bms")});
    ASSERT_EQ(ui->MessageTexts().size(), 1u);
    EXPECT_NE(ui->MessageTexts()[0].find(Cp932ToUtf8(Abs("dl\\q\"uote.bms"))), std::string::npos);
    for (int i = 0; i < 2000 && wine.Runs().empty(); ++i) usleep(5000);
    ASSERT_EQ(wine.Runs().size(), 1u);
    EXPECT_EQ(wine.Runs()[0].argv.back(), Cp932ToUtf8(Abs("dl\\plain.bms")));
}

TEST_F(DropTest, TheWindowTakesDroppedUrlsWhole) {
    test::FakeWine wine;
    game.WriteFile("QV5body.exe", "MZ");
    game.WriteFile("dl/曲.bms", Chart("c"));
    test::WriteZip(game.HostPath("a.zip"), {File("a/a.bms")});
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.OnDropFiles({QUrl::fromLocalFile(QString::fromStdString(game.HostPath("dl/曲.bms"))),
                     QUrl::fromLocalFile(QString::fromStdString(game.HostPath("a.zip"))),
                     QUrl::fromLocalFile(QString::fromStdString(game.HostPath("a.zip")))});
    for (int i = 0; i < 2000 && wine.Runs().empty(); ++i) usleep(5000);
    ASSERT_EQ(wine.Runs().size(), 1u);
    EXPECT_EQ(wine.Runs()[0].argv.back(), Cp932ToUtf8(Abs(Sj(u8"dl\\曲.bms"))));
    // The window alone has no tree, so there is no destination.
    EXPECT_EQ(ui->MessageTexts(),
              std::vector<std::string>{"インストール先のフォルダをクリックして下さい。"});
}

TEST_F(DropTest, FilesEndingInXmlAreCourseListsAndOthersAreIgnored) {
    game.WriteFile("x.myxml",
                   "<courselist><course><title>T</title><type>1</type></course></courselist>");
    game.WriteFile("y.txt", "text");
    game.WriteFile("list.qv5folder", "#TITLE list\r\n");
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.HandleDrop(tree, {Abs("x.myxml"), Abs("y.txt"), Abs("list.qv5folder")});
    EXPECT_EQ(ui->MessageTexts(),
              (std::vector<std::string>{"コースをデータベースに追加します。\nよろしいですか?",
                                        "1コース追加しました\n"}));
    EXPECT_FALSE(game.Exists("x.myxml"));
    EXPECT_EQ(tree.log, std::vector<std::string>{"custom list.qv5folder"});
    struct Case {
        const char* path;
        DropKind kind;
    };
    for (const Case& c : {Case{"a.QV5CRS", DropKind::CourseList}, Case{"a.GIF", DropKind::Ignored},
                          Case{"a.gif", DropKind::Wallpaper}, Case{"a.JPG", DropKind::Wallpaper},
                          Case{"a.QV5FOLDER", DropKind::Ignored}, Case{"a.PMS", DropKind::Chart},
                          Case{"a.ZIP", DropKind::Zip}, Case{"a.Rar", DropKind::Rar}})
        EXPECT_EQ(ClassifyDrop(c.path), c.kind) << c.path;
    // "ベ" is 0x83 0x78: its trail byte is no "x", so this name does not end in "xml".
    EXPECT_EQ(ClassifyDrop(Sj(u8"ベml")), DropKind::Ignored);
}

TEST_F(DropTest, ALongDroppedPathIsHandledWhole) {
    std::string dir = "dl";
    while (dir.size() < 300) dir += "/" + std::string(40, 'd');
    std::string internal = dir;
    for (char& ch : internal)
        if (ch == '/') ch = '\\';
    game.MakeDir(dir);
    test::WriteZip(game.HostPath(dir + "/long.zip"), {File("Long/a.bms", Chart("l"))});
    tree.SelectHandle(cat);
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::No);
    dlg.HandleDrop(tree, {Abs(internal + "\\long.zip")});
    EXPECT_EQ(test::PathsUnder("song", "Songs\\Cat\\Long\\").size(), 1u);
}

}  // namespace
}  // namespace qv5

namespace qv5 {
namespace {

// A dropped additional chart is offered to the song folder whose sounds it
// uses (in either language); Yes copies it there beside them, under a free
// name when another chart has its name; No goes on as a drop always did.
TEST_F(DropTest, AnAdditionalChartIsOfferedToTheSongFolderOfItsSounds) {
    std::string definitions, objects;
    for (int i = 1; i <= 12; ++i) {
        const std::string id = (i < 10 ? "0" : "") + std::to_string(i);
        game.WriteFile("Songs/Cat/Own/kick_own" + id + ".ogg", "OggS");  // the chart says .wav
        definitions += "#WAV" + id + " KICK_OWN" + id + ".wav\r\n";
        objects += id;
    }
    const auto chart = [&](const std::string& title) {
        return "#PLAYER 1\r\n#TITLE " + title + "\r\n" + definitions + "#00111:" + objects + "\r\n";
    };
    game.WriteFile("Songs/Cat/Own/own.bms", chart("Own"));
    game.WriteFile("dl/own_another.bms", chart("Own [ANOTHER]"));
    game.WriteFile("dl/own.bms", chart("Own [HYPER]"));
    game.WriteFile("dl/own_hyper.bms", chart("Own [EX]"));
    ConfigRecord c;
    ASSERT_EQ(LoadConfig(c), ConfigState::Read);
    c.path[0] = "Songs\\";
    c.path_count = 1;
    ASSERT_EQ(SaveConfig(c), 1);
    MainWindow placed;
    ASSERT_TRUE(placed.InitDialog());
    tree.SelectHandle(old);

    ui->AnswerMessage(MsgAnswer::Yes);  // copy it there
    ui->AnswerMessage(MsgAnswer::No);   // keep the original
    placed.HandleDrop(tree, {Abs("dl\\own_another.bms")});
    // The folder as this system names it.
    const std::string own = game.host() + "/Songs/Cat/Own";
    EXPECT_EQ(
        ui->MessageTexts().at(0),
        "この譜面は「" + own + "」の音声を使っています (12/12)。このフォルダへコピーしますか？");
    EXPECT_EQ(game.ReadFile("Songs/Cat/Own/own_another.bms"), chart("Own [ANOTHER]"));
    EXPECT_TRUE(game.Exists("dl/own_another.bms"));
    EXPECT_EQ(
        test::QueryInt(test::SongDbFile(game),
                       "SELECT count(*) FROM song WHERE path = 'Songs\\Cat\\Own\\own_another.bms'"),
        1);

    // A chart of the same name and other bytes there: the copy takes a free name.
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);  // the name it got
    ui->AnswerMessage(MsgAnswer::No);
    placed.HandleDrop(tree, {Abs("dl\\own.bms")});
    EXPECT_EQ(game.ReadFile("Songs/Cat/Own/own.bms"), chart("Own"));
    EXPECT_EQ(game.ReadFile("Songs/Cat/Own/own (2).bms"), chart("Own [HYPER]"));
    EXPECT_EQ(ui->MessageTexts().at(3),
              "同じ名前の別の譜面があるので、own (2).bms として入れました。");

    // In English, and a No: the drop's own question follows, for the selection.
    UseLanguage(1);
    ui->AnswerMessage(MsgAnswer::No);
    ui->AnswerMessage(MsgAnswer::No);
    placed.HandleDrop(tree, {Abs("dl\\own_hyper.bms")});
    UseLanguage(0);
    const auto said = ui->MessageTexts();
    ASSERT_EQ(said.size(), 7u);
    EXPECT_EQ(said[5], "This chart uses the sounds of \"" + own + "\" (12 of 12). Copy it there?");
    EXPECT_EQ(said[6].rfind("Install this additional chart?", 0), 0u) << said[6];
    EXPECT_FALSE(game.Exists("Songs/Cat/Own/own_hyper.bms"));
    EXPECT_FALSE(game.Exists("Songs/Cat/Old/own_hyper.bms"));
    EXPECT_TRUE(ui->Exhausted());
}

// A chart using the twelve sounds `stem`01.wav ... `stem`12.wav.
std::string ChartUsing(const std::string& title, const std::string& stem) {
    std::string text = "#PLAYER 1\r\n#TITLE " + title + "\r\n", objects;
    for (int i = 1; i <= 12; ++i) {
        const std::string id = (i < 10 ? "0" : "") + std::to_string(i);
        text += "#WAV" + id + " " + stem + id + ".wav\r\n";
        objects += id;
    }
    return text + "#00111:" + objects + "\r\n";
}

TEST_F(DropTest, AnArchiveOfAdditionalChartsIsPlacedChartByChartAfterOneQuestion) {
    for (const std::string song : {"Own", "Two"}) {
        for (int i = 1; i <= 12; ++i)
            game.WriteFile("Songs/Cat/" + song + "/" + song + "_s" + (i < 10 ? "0" : "") +
                               std::to_string(i) + ".ogg",
                           "OggS");
        game.WriteFile("Songs/Cat/" + song + "/" + song + ".bms", ChartUsing(song, song + "_s"));
    }
    ConfigRecord c;
    ASSERT_EQ(LoadConfig(c), ConfigState::Read);
    c.path[0] = "Songs\\";
    c.path_count = 1;
    ASSERT_EQ(SaveConfig(c), 1);
    test::WriteZip(game.HostPath("diffs.zip"),
                   {File("diffs/own_x.bms", ChartUsing("Own [X]", "OWN_S")),
                    File("diffs/two_x.bms", ChartUsing("Two [X]", "two_s")),
                    File("diffs/lost.bms", ChartUsing("Lost", "lost_"))});
    MainWindow placed;
    ASSERT_TRUE(placed.InitDialog());
    const std::string cat = game.host() + "/Songs/Cat/";
    const std::string question =
        "この書庫の譜面は差分です。それぞれを次のフォルダへコピーしますか？\n"
        "lost.bms → 曲フォルダが決まらないので「" +
        cat +
        "diffs」\n"
        "own_x.bms → 「" +
        cat +
        "Own」 (12/12)\n"
        "two_x.bms → 「" +
        cat + "Two」 (12/12)";

    // A No leaves everything as it was.
    tree.SelectHandle(old);
    ui->AnswerMessage(MsgAnswer::No);
    placed.HandleDrop(tree, {Abs("diffs.zip")});
    ASSERT_EQ(ui->MessageTexts().size(), 1u);
    EXPECT_EQ(ui->MessageTexts()[0], question);
    EXPECT_FALSE(game.Exists("Songs/Cat/Own/own_x.bms"));
    EXPECT_FALSE(game.Exists("Songs/Cat/diffs"));

    tree.SelectHandle(old);
    ui->AnswerMessage(MsgAnswer::Yes);  // place them
    ui->AnswerMessage(MsgAnswer::No);   // keep the archive
    placed.HandleDrop(tree, {Abs("diffs.zip")});
    ASSERT_EQ(ui->MessageTexts().size(), 3u);
    EXPECT_EQ(ui->MessageTexts()[1], question);
    EXPECT_EQ(game.ReadFile("Songs/Cat/Own/own_x.bms"), ChartUsing("Own [X]", "OWN_S"));
    EXPECT_EQ(game.ReadFile("Songs/Cat/Two/two_x.bms"), ChartUsing("Two [X]", "two_s"));
    EXPECT_EQ(game.ReadFile("Songs/Cat/diffs/lost.bms"), ChartUsing("Lost", "lost_"));
    EXPECT_TRUE(game.Exists("diffs.zip"));
    EXPECT_FALSE(game.Exists("QV5files/Temp/placing-0"));
    const auto rows = [&] {
        return test::QueryRows(test::SongDbFile(game),
                               "SELECT path,folder,parent,hash,title FROM song ORDER BY path");
    };
    const std::vector<std::string> installed = rows();
    EXPECT_EQ(test::PathsUnder("song", "Songs\\Cat\\Own\\").size(), 2u);
    EXPECT_EQ(test::PathsUnder("song", "Songs\\Cat\\diffs\\").size(), 1u);
    ASSERT_TRUE(TestRegisterRoot("Songs\\"));  // a fresh registration
    EXPECT_EQ(rows(), installed);

    // In English.
    UseLanguage(1);
    ui->AnswerMessage(MsgAnswer::No);
    placed.HandleDrop(tree, {Abs("diffs.zip")});
    UseLanguage(0);
    EXPECT_EQ(ui->MessageTexts().at(3).rfind("The charts of this archive are additional charts. "
                                             "Copy each into the folder below?\nlost.bms → ",
                                             0),
              0u)
        << ui->MessageTexts().at(3);
    EXPECT_TRUE(ui->Exhausted());
}

}  // namespace
}  // namespace qv5
