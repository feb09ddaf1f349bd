// Extractions that must stop short: sizes beyond the limit, damaged and
// encrypted archives, failed writes, a stop request.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "install/archive.h"
#include "install/archive_fixture.h"
#include "install/entry_path.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "support/zip_writer.h"

namespace qv5 {
namespace {

using test::File;
using test::Folder;
using test::Symlink;
using test::ZipItem;

TEST_F(ArchiveTest, AZipBombStopsAtTheConfiguredLimit) {
    test::WriteZipOfZeros(game.HostPath("a.zip"), "Song/huge.wav", std::int64_t(64) << 20);
    ASSERT_LT(fs::file_size(game.HostPath("a.zip")), 1u << 20);
    ExtractReport r;
    ASSERT_EQ(Extract("Songs", r, {.max_bytes = 4 << 20}), 1);
    EXPECT_EQ(r.too_large, 1);
    EXPECT_FALSE(game.Exists("Songs/Song/huge.wav"));
}

TEST_F(ArchiveTest, ATruncatedArchiveLeavesNothingBehind) {
    std::string big(300000, '\0');
    std::uint32_t seed = 12345;  // incompressible bytes
    for (char& c : big) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
    test::WriteZip(game.HostPath("a.zip"), {File("Song/a.bms", "a"), File("Song/b.wav", big)});
    fs::resize_file(game.HostPath("a.zip"), fs::file_size(game.HostPath("a.zip")) / 2);
    game.WriteFile("Songs/keep.txt", "k");
    ExtractReport r;
    EXPECT_EQ(Extract("Songs", r), 2);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(Tree(game, "Songs"), (std::set<std::string>{"keep.txt"}));
}

TEST_F(ArchiveTest, AnEntryFailingItsCheckLeavesNothingBehind) {
    test::ZipOptions stored;
    stored.stored = true;
    const std::string wav = "RIFF-keysound-bytes-of-b.wav";
    test::WriteZip(game.HostPath("a.zip"), {File("Song/a.bms", "a"), File("Song/b.wav", wav)},
                   stored);
    std::string bytes = game.ReadFile("a.zip");
    const size_t at = bytes.find(wav);
    ASSERT_NE(at, std::string::npos);
    bytes[at + 5] ^= 0x01;
    game.WriteFile("a.zip", bytes);
    ExtractReport r;
    EXPECT_EQ(Extract("Songs", r), 2);
    EXPECT_NE(r.error.find("CRC"), std::string::npos) << Cp932ToUtf8(r.error);
    EXPECT_FALSE(game.Exists("Songs"));
}

TEST_F(ArchiveTest, EncryptedEntriesAreRefusedWhole) {
    test::WriteZip(game.HostPath("a.zip"), {File("Song/a.bms", "a"), File("Song/b.bms", "b")},
                   Encrypted());
    ExtractReport r;
    EXPECT_EQ(Extract("Songs", r), 2);
    EXPECT_TRUE(r.encrypted);
    EXPECT_EQ(Cp932ToUtf8(r.error), "暗号化された書庫は展開できません。");
    EXPECT_FALSE(game.Exists("Songs/Song"));
}

TEST_F(ArchiveTest, AFailedWriteRemovesWhatThisExtractionWrote) {
    game.WriteFile("Songs/Song/old.txt", "old");
    test::WriteZip(game.HostPath("a.zip"), {File("Song/a.bms", "a"), File("Song/New/b.txt", "b"),
                                            File("Song/big.wav", std::string(200000, 'w'))});
    // The file-size limit makes the write fail as a full disk would.
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ExtractReport r;
    const int result = Extract("Songs", r);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(result, 2);
    EXPECT_NE(Cp932ToUtf8(r.error).find("Song\\big.wav"), std::string::npos)
        << Cp932ToUtf8(r.error);
    EXPECT_EQ(Tree(game, "Songs"), (std::set<std::string>{"Song/", "Song/old.txt"}));
}

TEST_F(ArchiveTest, AStopRemovesWhatThisExtractionWrote) {
    std::vector<ZipItem> items;
    for (int i = 0; i < 20; ++i) items.push_back(File("Song/" + std::to_string(i) + ".wav"));
    test::WriteZip(game.HostPath("a.zip"), items);
    class StopAfter final : public Progress {
      public:
        void Update(long done, long, const std::string&) override {
            if (done == 5) RequestStop();
        }
        void SetStatus(const std::string&) override {}
    } progress;
    ExtractReport r;
    EXPECT_EQ(ExtractArchive(ArchiveKind::Zip, Command("a.zip", "Songs"), r, {}, &progress), 2);
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(game.Exists("Songs"));
}

}  // namespace
}  // namespace qv5
