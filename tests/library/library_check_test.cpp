// The library check on real song folders in a temporary game folder: each
// kind of finding with its edge cases, and nothing changed on disk or in
// song.db.
#include "library/library_check.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "library/file_hash.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "support/library_rows.h"
#include "support/link_tree.h"
#include "support/players.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

// UTF-8 text of a u8 literal.
std::string T(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

namespace fs = std::filesystem;

// Every entry below `host` with its kind, size, time and (for files) bytes'
// hash: what a check must leave exactly as it was.
std::string Snapshot(const std::string& host) {
    std::ostringstream out;
    std::vector<std::string> lines;
    for (const auto& e : fs::recursive_directory_iterator(host)) {
        struct stat st {};
        lstat(e.path().c_str(), &st);
        std::string line = e.path().string() + " " + std::to_string(st.st_mode) + " " +
                           std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) +
                           "." + std::to_string(st.st_mtim.tv_nsec);
        if (S_ISREG(st.st_mode)) {
            std::ifstream in(e.path(), std::ios::binary);
            line += " " + Md5Hex(std::string(std::istreambuf_iterator<char>(in), {}));
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    for (const auto& l : lines) out << l << '\n';
    return out.str();
}

// A finding as "reason path" (the host path for names), with what it adds.
std::vector<std::string> Lines(const CheckResult& r) {
    std::vector<std::string> out;
    for (const CheckFinding& f : r.findings) {
        std::string line = std::string(CheckReasonWord(f.reason)) + " " +
                           (f.host_path.empty() ? Cp932ToUtf8(f.path) : f.host_path);
        if (f.reason == CheckReason::NoShiftJisForm) line += " [" + f.detail + "]";
        if (f.reason == CheckReason::MissingFiles) {
            line += " " + std::to_string(f.count) + ":";
            for (const auto& n : f.names) line += " " + Cp932ToUtf8(n);
        }
        for (const CheckFile& file : f.files)
            line += " " + Cp932ToUtf8(file.path) + "=" + std::to_string(file.size);
        out.push_back(line);
    }
    return out;
}

class LibraryCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakePlayer("abc", "pass");
        OpenTestLibrary("abc");
    }
    void TearDown() override { CloseTestLibrary(); }
    CheckResult Check(std::vector<std::string> roots) {
        CheckOptions options;
        options.roots = std::move(roots);
        return CheckLibrary(TestLibrary(), options, nullptr);
    }
    test::TempGame game;
};

// Wine looks names up ignoring case, players swap extensions of one kind,
// names may hold folders either way round, and a #RANDOM branch's names
// count; a definition no channel uses does not.
TEST_F(LibraryCheckTest, MissingFilesAreFoundAsTheGameLooksThemUp) {
    for (const char* file : {"kick.WAV", "snare.ogg", "sub/hat.wav", "bg.png", "movie.mp4",
                             "Banner.JPG"})
        game.WriteFile(std::string("songs/refs/") + file, "x");
    game.WriteFile(T(u8"songs/refs/ア.wav"), "x");
    for (const char8_t* file : {u8"ＡＢ.wav", u8"Ω.wav", u8"Я.wav", u8"О.wav", u8"Ⅲ.wav",
                                u8"dot.wav"})
        game.WriteFile(T(u8"songs/refs/") + T(file), "x");
    game.WriteFile("songs/refs/a.bms",
                   "#TITLE refs\r\n"
                   "#STAGEFILE title.bmp\r\n"
                   "#banner banner.bmp\r\n"
                   "#WAV01 Kick.wav\r\n"          // case
                   "#WAV02 snare.wav\r\n"         // substituted extension
                   "#WAV03 sub\\hat.wav\r\n"      // "\" inside the name
                   "#WAV04 SUB/hat.wav\r\n"       // "/" and case of the folder
                   "#WAV05 unused.wav\r\n"        // defined, never placed
                   "#WAV06 gone.wav\r\n"          // placed, missing
                   "#wav07 Gone.WAV\r\n"          // one name, whatever its case
                   "#WAV09 \x83\x41.wav\r\n"      // "ア": its trail byte is no letter "A"
                   "#WAV0A lower.wav\r\n"         // placed as "0a"
                   "#WAV0B " + Sj(u8"ａｂ.wav") + "\r\n"  // full-width letters of either case
                   "#WAV0C " + Sj(u8"ω.wav") + "\r\n"    // Greek
                   "#WAV0D " + Sj(u8"я.wav") + "\r\n"    // Cyrillic, at either end of
                   "#WAV0E " + Sj(u8"о.wav") + "\r\n"    // the row that skips 0x7F
                   "#WAV0F " + Sj(u8"ⅲ.wav") + "\r\n"    // Roman numerals
                   "#WAV0G dot.wav.\r\n"          // a trailing dot Windows drops
                   "#WAV0H sub.\\hat.wav \r\n"     // and a folder's, and a trailing blank
                   "#BMP01 bg.bmp\r\n"            // png in its place
                   "#BMP02 base.bmp\r\n"          // the base of #BGA03
                   "#BMP04 movie.avi\r\n"         // a movie of another format
                   "#BMP05 clip.mpg\r\n"          // no movie of that name
                   "#BMP06 still.bmp\r\n"         // a picture is no movie
                   "#BGA03 02 0 0 10 10 0 0\r\n"
                   "#RANDOM 2\r\n#IF 2\r\n"
                   "#WAV08 branch.wav\r\n"        // defined and placed in a branch only
                   "#00112:08\r\n"
                   "#ENDIF\r\n#ENDRANDOM\r\n"
                   "#00111:000a000001020304000600000000\r\n"
                   "#00101:07\r\n#00113:09\r\n"
                   "#00104:0103\r\n#00107:040506\r\n"
                   "#00114:0B0C0D0E0F0G0H\r\n");
    game.WriteFile("songs/refs/still.mpg", "x");
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    const std::vector<std::string> expected = {
        "missing-files songs\\refs\\a.bms 7: title.bmp gone.wav lower.wav branch.wav base.bmp"};
    EXPECT_EQ(Lines(Check({"songs\\"})), expected);
}

// A chart too large to hold at once is read piece by piece: the names it
// defines early must outlive the pieces they came in.
TEST_F(LibraryCheckTest, AChartTooLargeToHoldKeepsItsNames) {
    game.WriteFile("songs/big/here.wav", "x");
    std::string chart = "#TITLE big\r\n#WAV01 here.wav\r\n#WAV02 gone_one.wav\r\n";
    while (chart.size() <= (5u << 20)) chart += "#00111:00000000000000000000000000000000\r\n";
    chart += "#WAV03 gone_two.wav\r\n#00111:010203\r\n";
    game.WriteFile("songs/big/big.bms", chart);
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    const std::vector<std::string> expected = {
        "missing-files songs\\big\\big.bms 2: gone_one.wav gone_two.wav"};
    EXPECT_EQ(Lines(Check({"songs\\"})), expected);
}

// A chart of exactly `size` bytes that uses here.wav and the missing `gone`.
std::string ChartOfSize(size_t size, const std::string& gone) {
    std::string chart = "#TITLE sized\r\n#WAV01 here.wav\r\n#WAV02 " + gone + "\r\n#00111:0102\r\n";
    const std::string filler = "#00211:00000000000000000000000000000000\r\n";
    while (chart.size() + filler.size() + 3 <= size) chart += filler;
    chart += std::string(size - chart.size() - 2, 'x') + "\r\n";  // a line the reader skips
    return chart;
}

// Charts on either side of each size the readers handle differently (the
// buffer they keep, the whole read, the bytes one batch hashes at once):
// every name outlives the buffer it was read into.
TEST_F(LibraryCheckTest, ChartsOfEverySizeKeepTheirNamesThroughTheReaders) {
    constexpr size_t kMiB = 1 << 20;
    const std::vector<size_t> sizes = {kMiB - 1,     kMiB,         kMiB + 1,     kMiB * 5 / 2,
                                       4 * kMiB - 1, 4 * kMiB,     4 * kMiB + 1, 3 * kMiB,
                                       3 * kMiB + 7, 3 * kMiB + 11, 3 * kMiB + 13, 3 * kMiB + 17};
    std::vector<std::string> expected;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const std::string folder = "songs/s" + std::to_string(10 + i);
        const std::string gone = "gone" + std::to_string(sizes[i]) + ".wav";
        game.WriteFile(folder + "/here.wav", "x");
        const std::string chart = ChartOfSize(sizes[i], gone);
        ASSERT_EQ(chart.size(), sizes[i]);
        game.WriteFile(folder + "/c.bms", chart);
        expected.push_back("missing-files songs\\s" + std::to_string(10 + i) + "\\c.bms 1: " + gone);
    }
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    EXPECT_EQ(Lines(Check({"songs\\"})), expected);
}

// One folder holding every kind, registered, then changed on disk the way a
// player's library drifts. The check finds each, changes nothing, and
// finds nothing in a library that matches its folders.
TEST_F(LibraryCheckTest, EveryKindOnARealGameFolderAndNothingChanges) {
    const std::string chart = "#TITLE same\r\n#WAV01 a.wav\r\n#00111:01\r\n";
    game.WriteFile("songs/pack/a.wav", "x");
    game.WriteFile("songs/pack/one.bms", chart);
    game.WriteFile("more/copy/two.bme", chart);           // the same bytes in another root
    game.WriteFile("more/copy/a.wav", "x");
    game.WriteFile("songs/pack/empty.bms", "#TITLE no notes\r\n#00111:00\r\n");
    game.WriteFile("songs/gone/old.bms", "#TITLE old\r\n#00111:01\r\n");
    ASSERT_EQ(mkfifo(game.HostPath("songs/pack/pipe.bms").c_str(), 0644), 0);
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    ASSERT_TRUE(TestRegisterRoot("more\\"));
    const CheckResult first = Check({"songs\\", "more\\"});
    EXPECT_EQ(first.Count(CheckKind::Duplicates), 1);
    EXPECT_EQ(first.Count(CheckKind::Unreadable), 3);  // the fifo (twice) and empty.bms
    EXPECT_EQ(first.findings.size(), 4u);

    fs::remove_all(game.HostPath("songs/gone"));                      // a vanished folder
    game.WriteFile("songs/pack/new.bms", "#TITLE new\r\n#00111:01\r\n");  // not registered
    game.WriteFile(T(u8"songs/노래/k.bms"), "#TITLE k\r\n#00111:01\r\n");    // no Shift-JIS form
    game.WriteFile(T(u8"songs/pack/café.bms"), "#TITLE c\r\n#00111:01\r\n");
    game.WriteFile("songs/pack/back\\slash.bms", "#TITLE b\r\n#00111:01\r\n");
    const std::string before = Snapshot(game.host());

    const CheckResult r = Check({"songs\\", "more\\", "absent\\"});
    const std::string host = game.host();
    const std::vector<std::string> expected = {
        "song-folder-missing absent\\",
        "folder-row-without-folder songs\\gone\\",
        "row-without-file songs\\gone\\old.bms",
        "chart-not-in-library songs\\pack\\new.bms",
        "no-notes songs\\pack\\empty.bms",
        "empty-hash songs\\pack\\pipe.bms",
        "cannot-open songs\\pack\\pipe.bms",
        "no-shift-jis-form " + host + T(u8"/songs/노래 [노]"),
        "no-shift-jis-form " + host + "/songs/pack/back\\slash.bms [\\]",
        "no-shift-jis-form " + host + T(u8"/songs/pack/café.bms [é]"),
        "same-hash more\\copy\\two.bme more\\copy\\two.bme=38 songs\\pack\\one.bms=38",
    };
    std::vector<std::string> got = Lines(r);
    // The kinds a player acts on at once first (out of date, unreadable,
    // names, duplicates; the missing files last); within a kind the order
    // is by path (a name's folder), then by host path.
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(r.Count(CheckKind::OutOfDate), 4);
    EXPECT_EQ(Snapshot(game.host()), before);

    // Only the kinds asked for.
    CheckOptions names_only;
    names_only.roots = {"songs\\"};
    std::fill(std::begin(names_only.kinds), std::end(names_only.kinds), false);
    names_only.kinds[int(CheckKind::Names)] = true;
    const CheckResult names = CheckLibrary(TestLibrary(), names_only, nullptr);
    EXPECT_EQ(names.findings.size(), 3u);
    EXPECT_EQ(names.charts, 0);  // no chart is read for names
}

// A path longer than the host allows is what the scan leaves out: named.
TEST_F(LibraryCheckTest, APathTooLongForTheHostIsNamed) {
    game.MakeDeepFolder("deep", 25);
    ASSERT_TRUE(TestRegisterRoot("deep\\"));
    const CheckResult r = Check({"deep\\"});
    ASSERT_EQ(r.findings.size(), 1u);
    EXPECT_EQ(r.findings[0].reason, CheckReason::TooLong);
    EXPECT_GT(r.findings[0].host_path.size(), 4000u);
    EXPECT_EQ(r.findings[0].host_path.rfind(game.host() + "/deep/", 0), 0u);
}

// Every folder the check reports walking, and a stop well past what walking
// a small tree reports: a walk that escapes the tree ends there.
class WalkedFolders final : public Progress {
  public:
    void Update(long, long, const std::string& item) override {
        folders.insert(item);
        if (++updates_ == 5000) RequestStop();
    }
    void SetStatus(const std::string&) override {}
    std::set<std::string> folders;

  private:
    long updates_ = 0;
};

// Links back up the walked path, to "/" and to folders beside the one that
// holds them: the check walks the folders the scan registered, no more.
TEST_F(LibraryCheckTest, LinksUpThePathAndToTheRootAreLeftAsTheScanLeavesThem) {
    test::MakeTreeWithLinksBack(game);
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    const auto rows = test::QueryRows("SELECT path FROM folder");
    const std::set<std::string> registered(rows.begin(), rows.end());
    ASSERT_EQ(registered, test::FoldersOfTreeWithLinksBack());

    WalkedFolders progress;
    CheckOptions options;
    options.roots = {"songs\\"};
    const CheckResult r = CheckLibrary(TestLibrary(), options, &progress);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(progress.folders, registered);
    EXPECT_EQ(r.folders, static_cast<long>(registered.size()));
    EXPECT_EQ(r.charts, 3);
    EXPECT_EQ(Lines(r), std::vector<std::string>{});
}

}  // namespace
}  // namespace qv5
