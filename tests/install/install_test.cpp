#include "install/install.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <set>

#include "install/archive_fixture.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/rar_writer.h"
#include "support/scripted_ui.h"
#include "support/small_fs.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "support/zip_writer.h"

namespace qv5 {
namespace {

using test::File;

std::string Chart(const std::string& title) {
    return "#PLAYER 1\r\n#TITLE " + title + "\r\n#BPM 150\r\n#00111:0101\r\n";
}

class InstallTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakePlayer("abc", "pass");
        OpenTestLibrary("abc");
        game.WriteFile("Songs/Cat/Old/old.bms", Chart("old"));
        ASSERT_TRUE(TestRegisterRoot("Songs\\"));
    }
    void TearDown() override { CloseTestLibrary(); }

    std::set<std::string> Rows(const char* table, const std::string& prefix) {
        std::set<std::string> out;
        for (const std::string& path : test::PathsUnder(table, prefix))
            out.insert(Cp932ToUtf8(path));
        return out;
    }
    test::TempGame game;
};

TEST_F(InstallTest, ChartsInAFolderOrAtTheRootBecomeANewRegisteredFolder) {
    struct Case {
        std::string archive;
        std::vector<test::ZipItem> items;
        std::string folder;
    };
    const std::vector<Case> cases = {
        {"a.zip", {File("Song/a.bms", Chart("a")), File("Song/b.bme", Chart("b"))}, "Song"},
        {"Pack.zip", {File("x.bms", Chart("x")), File("x.ogg")}, "Pack"},
        {"\x95\x5c\x8e\xa6.zip", {File("y.bms", Chart("y"))}, "表示"},
    };
    for (const Case& c : cases) {
        test::WriteZip(game.HostPath(Cp932ToUtf8(c.archive)), c.items);
        const InstallResult r = InstallArchive(TestLibrary(), ArchiveKind::Zip, WinPath(c.archive),
                                               WinPath("Songs\\Cat\\"));
        ASSERT_TRUE(r.installed()) << Cp932ToUtf8(r.error);
        EXPECT_EQ(Cp932ToUtf8(r.folder_name), c.folder);
        EXPECT_EQ(Cp932ToUtf8(r.new_folder), "Songs\\Cat\\" + c.folder + "\\");
        EXPECT_EQ(Rows("folder", r.new_folder).size(), 1u) << c.folder;
        EXPECT_EQ(Rows("song", r.new_folder).size(), c.items.size() - (c.folder == "Pack" ? 1 : 0))
            << c.folder;
        EXPECT_TRUE(InstallNotices(r).empty());
    }
    EXPECT_EQ(Rows("song", "Songs\\Cat\\Old\\").size(), 1u);
}

TEST_F(InstallTest, AnUpdateOfAKnownFolderRegistersEveryNewChart) {
    test::WriteZip(game.HostPath("up.zip"),
                   {File("Old/old.bms", "replaced?"), File("Old/another.bms", Chart("another")),
                    File("Old/Extra/deep.bms", Chart("deep"))});
    const InstallResult r =
        InstallArchive(TestLibrary(), ArchiveKind::Zip, WinPath("up.zip"), WinPath("Songs\\Cat"));
    ASSERT_TRUE(r.installed()) << Cp932ToUtf8(r.error);
    EXPECT_EQ(r.extract.kept, 1);
    EXPECT_EQ(game.ReadFile("Songs/Cat/Old/old.bms"), Chart("old"));
    EXPECT_EQ(Rows("song", "Songs\\Cat\\Old\\"),
              (std::set<std::string>{"Songs\\Cat\\Old\\old.bms", "Songs\\Cat\\Old\\another.bms",
                                     "Songs\\Cat\\Old\\Extra\\deep.bms"}));
    const auto notices = InstallNotices(r);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(Cp932ToUtf8(notices[0].text).find("置き換えていません): 1"), std::string::npos);
    EXPECT_EQ(Cp932ToUtf8(notices[0].caption), "報告");
}

TEST_F(InstallTest, AFolderOfAnotherCaseIsTheOneUpdated) {
    test::WriteZip(game.HostPath("up.zip"), {File("OLD/new.bms", Chart("new"))});
    const InstallResult r =
        InstallArchive(TestLibrary(), ArchiveKind::Zip, WinPath("up.zip"), WinPath("Songs\\Cat\\"));
    ASSERT_TRUE(r.installed()) << Cp932ToUtf8(r.error);
    EXPECT_EQ(r.new_folder, "Songs\\Cat\\Old\\");
    EXPECT_EQ(Rows("song", "Songs\\Cat\\Old\\").size(), 2u);
    EXPECT_FALSE(game.Exists("Songs/Cat/OLD"));
}

TEST_F(InstallTest, NamesThatWouldPlaceTheNewFolderElsewhereAreRefused) {
    struct Case {
        std::string archive;
        std::vector<test::ZipItem> items;
    };
    const std::vector<Case> cases = {
        {"a.zip", {File("../a.bms", Chart("a"))}},
        {"...zip", {File("a.bms", Chart("a"))}},
        {".zip", {File("a.bms", Chart("a"))}},
    };
    for (const Case& c : cases) {
        test::WriteZip(game.HostPath(c.archive), c.items);
        const InstallResult r = InstallArchive(TestLibrary(), ArchiveKind::Zip, WinPath(c.archive),
                                               WinPath("Songs\\Cat\\"));
        EXPECT_EQ(r.status, InstallResult::Status::Refused) << c.archive;
        EXPECT_EQ(r.extraction, 0) << c.archive;
    }
    EXPECT_FALSE(game.Exists("Songs/a.bms"));
    EXPECT_FALSE(game.Exists("a.bms"));
    EXPECT_EQ(Rows("song", "").size(), 1u);
}

TEST_F(InstallTest, NoChartIsReported) {
    test::WriteZip(game.HostPath("a.zip"), {File("Song/readme.txt")});
    const InstallResult r =
        InstallArchive(TestLibrary(), ArchiveKind::Zip, WinPath("a.zip"), WinPath("Songs\\Cat\\"));
    EXPECT_EQ(r.status, InstallResult::Status::NoChart);
    const auto notices = InstallNotices(r);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(Cp932ToUtf8(notices[0].text), "譜面ファイルが見つかりません。");
    EXPECT_FALSE(game.Exists("Songs/Cat/Song"));

    // What is not an archive at all is said to be unreadable.
    for (const char* name : {"junk.zip", "missing.zip"}) {
        if (std::string(name) == "junk.zip") game.WriteFile(name, std::string(5000, 'j'));
        const InstallResult bad =
            InstallArchive(TestLibrary(), ArchiveKind::Zip, WinPath(name), WinPath("Songs\\Cat\\"));
        EXPECT_EQ(bad.status, InstallResult::Status::NoChart) << name;
        EXPECT_EQ(Cp932ToUtf8(InstallNotices(bad).at(0).text).rfind("書庫を読み込めません。", 0),
                  0u)
            << name;
    }
}

TEST_F(InstallTest, AFailedWriteLeavesTheLibraryFileUntouched) {
    test::WriteZip(game.HostPath("a.zip"), {File("Song/a.bms", Chart("a")),
                                            File("Song/big.wav", std::string(300000, 'w'))});
    CloseTestLibrary();
    const std::string before = game.ReadFile("QV5files/Database/song.db");
    OpenTestLibrary("abc");
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 200000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const InstallResult r =
        InstallArchive(TestLibrary(), ArchiveKind::Zip, WinPath("a.zip"), WinPath("Songs\\Cat\\"));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(r.status, InstallResult::Status::ExtractFailed);
    EXPECT_FALSE(game.Exists("Songs/Cat/Song"));
    CloseTestLibrary();
    EXPECT_EQ(game.ReadFile("QV5files/Database/song.db"), before);
    OpenTestLibrary("abc");
}

TEST_F(InstallTest, NamesWrittenOutsideWindowsInstallUnderTheirJapaneseNames) {
    // Other archivers write 〜 − ‖ ¢ £ ¬ — as code points that CP932 holds
    // under other ones; RAR 4 keeps names in the code page, where the trail
    // byte of ソ, 表 and 予 is 0x5C.
    test::WriteZip(game.HostPath("u.zip"),
                   {File("曲〜Remix/a−b‖.bms", Chart("u")), File("曲〜Remix/¢£¬—.wav")},
                   Utf8Names());
    const std::string so_ng = "\x83\x5C\x83\x93\x83\x4F";  // ソング
    test::WriteRar4(game.HostPath("r.rar"), {{so_ng, "", true},
                                             {so_ng + "\\\x95\x5C\x8E\xA6.bms", Chart("r")},
                                             {so_ng + "\\\x83\x5C\\\x97\x5C.wav", "w"}});
    struct Case {
        const char* archive;
        ArchiveKind kind;
        std::string folder;
        std::set<std::string> tree;
    };
    const std::vector<Case> cases = {
        {"u.zip",
         ArchiveKind::Zip,
         "曲～Remix",
         {"曲～Remix/", "曲～Remix/a－b∥.bms", "曲～Remix/￠￡￢―.wav"}},
        {"r.rar",
         ArchiveKind::Rar,
         "ソング",
         {"ソング/", "ソング/表示.bms", "ソング/ソ/", "ソング/ソ/予.wav"}},
    };
    for (const Case& c : cases) {
        const InstallResult r =
            InstallArchive(TestLibrary(), c.kind, WinPath(c.archive), WinPath("Songs\\Cat\\"));
        ASSERT_TRUE(r.installed()) << c.archive << " " << Cp932ToUtf8(r.error);
        EXPECT_EQ(Cp932ToUtf8(r.folder_name), c.folder);
        EXPECT_EQ(r.extract.Skipped(), 0) << c.archive;
        EXPECT_EQ(Rows("song", r.new_folder).size(), 1u) << c.archive;
        fs::remove(game.HostPath(c.archive));
    }
    std::set<std::string> all;
    for (const Case& c : cases) all.insert(c.tree.begin(), c.tree.end());
    all.insert({"Old/", "Old/old.bms"});
    EXPECT_EQ(Tree(game, "Songs/Cat"), all);
}

// The free space and the limit against archives that unpack to far more than
// they hold are two limits: the first fails the install, the second leaves
// out what exceeds it and says so.
TEST_F(InstallTest, AnEntryBeyondTheFreeSpaceFailsTheInstall) {
    test::SmallFileSystem small(game.HostPath("Songs/Full"), 256);
    std::vector<test::ZipItem> items = {File("Song/a.bms", Chart("a"))};
    for (int i = 0; i < 10; ++i)
        items.push_back(File("Song/k" + std::to_string(i) + ".wav", std::string(64 << 10, 'k')));
    test::WriteZip(game.HostPath("a.zip"), items);
    CloseTestLibrary();
    const std::string before = game.ReadFile("QV5files/Database/song.db");
    OpenTestLibrary("abc");

    InstallResult r =
        InstallArchive(TestLibrary(), ArchiveKind::Zip, WinPath("a.zip"), WinPath("Songs\\Full\\"));
    EXPECT_EQ(r.status, InstallResult::Status::ExtractFailed);
    EXPECT_TRUE(r.extract.no_space);
    const std::string text = Cp932ToUtf8(InstallNotices(r).at(0).text);
    EXPECT_NE(text.find("空き容量が足りない"), std::string::npos) << text;
    // 644 KB wanted, 256 KB there.
    EXPECT_NE(text.find("足りない容量: 38"), std::string::npos) << text;
    EXPECT_TRUE(Tree(game, "Songs/Full").empty());
    EXPECT_TRUE(game.Exists("a.zip"));
    CloseTestLibrary();
    EXPECT_TRUE(game.ReadFile("QV5files/Database/song.db") == before) << "song.db changed";
    OpenTestLibrary("abc");

    test::WriteZip(game.HostPath("b.zip"),
                   {File("B/b.bms", Chart("b")), File("B/huge.wav", std::string(1 << 20, 'h'))});
    r = InstallArchive(TestLibrary(), ArchiveKind::Zip, WinPath("b.zip"), WinPath("Songs\\Full\\"),
                       nullptr, {.max_bytes = 32 << 10});
    ASSERT_TRUE(r.installed()) << Cp932ToUtf8(r.error);
    EXPECT_EQ(r.extract.too_large, 1);
    EXPECT_NE(Cp932ToUtf8(InstallNotices(r).at(0).text).find("展開する大きさの上限(32 KB)"),
              std::string::npos);
    EXPECT_EQ(Tree(game, "Songs/Full"), (std::set<std::string>{"B/", "B/b.bms"}));
}

TEST_F(InstallTest, AStopDuringRegistrationTakesTheFilesBack) {
    test::WriteZip(game.HostPath("a.zip"), {File("Song/a.bms", Chart("a"))});
    class StopOnChart final : public Progress {
      public:
        void Update(long, long, const std::string& current) override {
            if (current.size() > 4 && current.compare(current.size() - 4, 4, ".bms") == 0 &&
                current.find("Cat\\Song\\") != std::string::npos && ++seen == 2)
                RequestStop();
        }
        void SetStatus(const std::string&) override {}
        int seen = 0;
    } progress;
    const InstallResult r = InstallArchive(TestLibrary(), ArchiveKind::Zip, WinPath("a.zip"),
                                           WinPath("Songs\\Cat\\"), &progress);
    EXPECT_EQ(r.status, InstallResult::Status::LibraryFailed);
    EXPECT_TRUE(r.extract.stopped);
    EXPECT_FALSE(game.Exists("Songs/Cat/Song"));
    EXPECT_TRUE(Rows("song", "Songs\\Cat\\Song\\").empty());
    EXPECT_EQ(Cp932ToUtf8(InstallNotices(r).at(0).caption), "報告");
}

TEST_F(InstallTest, HelpersOfTheDropHandler) {
    EXPECT_EQ(ArchiveKindOfPath(WinPath("a.ZIP")), ArchiveKind::Zip);
    EXPECT_EQ(ArchiveKindOfPath(WinPath("a.Rar")), ArchiveKind::Rar);
    EXPECT_EQ(ArchiveKindOfPath(WinPath("a.7z")), std::nullopt);
    EXPECT_EQ(ArchiveBaseName("C:\\dl\\Song Pack.zip"), "Song Pack");
    EXPECT_EQ(ArchiveBaseName("Z:\\dl\\\x83\x5c.zip"), "\x83\x5c");
    EXPECT_TRUE(HoldsChartFiles(WinPath("Songs\\Cat\\Old")));
    EXPECT_FALSE(HoldsChartFiles(WinPath("Songs\\Cat\\")));
}

}  // namespace
}  // namespace qv5
