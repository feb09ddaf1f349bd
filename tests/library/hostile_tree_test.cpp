// Registration on trees that try to trap or mislead the scanner, and the
// facts a registration must keep whatever reads the charts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include "library/chart_header.h"
#include "library/chart_names.h"
#include "library/encodings.h"
#include "library/file_hash.h"
#include "library/refresh.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/progress.h"
#include "support/library_rows.h"
#include "support/link_tree.h"
#include "support/players.h"
#include "support/stop_after.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

using test::StopAfter;

class HostileTreeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakePlayer("abc", "pass");
        OpenTestLibrary("abc");
    }
    void TearDown() override { CloseTestLibrary(); }
    void Link(const std::string& target, const std::string& relative) {
        ASSERT_EQ(symlink(target.c_str(), game.HostPath(relative).c_str()), 0) << relative;
    }
    test::TempGame game;
};

// Links back up the walked path get no row and no descent, nor do links to
// folders inside the tree, which their own paths register. Each case but the
// last two would repeat the tree without end otherwise.
TEST_F(HostileTreeTest, LinksBackUpThePathAreSkipped) {
    test::MakeTreeWithLinksBack(game);
    LibraryReport report;
    ASSERT_TRUE(TestRegisterRoot("songs\\", nullptr, &report));
    EXPECT_EQ(report.repeated, 8);
    const std::set<std::string> folders = test::FoldersOfTreeWithLinksBack();
    const auto got = test::QueryRows("SELECT path FROM folder");
    EXPECT_EQ(std::set<std::string>(got.begin(), got.end()), folders);
    const auto songs = test::QueryRows("SELECT path FROM song ORDER BY path");
    EXPECT_EQ(songs, (std::vector<std::string>{"songs\\A\\c.bms", "songs\\B\\d.bms",
                                               "songs\\X\\Y\\e.bms"}));

    // A refresh walks the same tree from each folder and adds nothing.
    ASSERT_TRUE(TestRefresh("songs\\"));
    const auto again = test::QueryRows("SELECT path FROM folder");
    EXPECT_EQ(std::set<std::string>(again.begin(), again.end()), folders);
    EXPECT_EQ(test::QueryRows("SELECT path FROM song ORDER BY path"), songs);
    // Nor does scanning a folder whose links lead back to it or beside it.
    TestDb().Exec("DELETE FROM folder WHERE path LIKE 'songs\\A\\%' AND path <> 'songs\\A\\'");
    TestDb().Exec("BEGIN");
    EXPECT_EQ(TestScanFolder("songs\\A\\", "songs\\A\\"), 1);  // c.bms
    TestDb().Exec("COMMIT");
    EXPECT_EQ(test::QueryText("SELECT count(*) FROM folder WHERE path LIKE 'songs\\A\\%'"), "1");
}

// Links that fan out without leading back, two in each folder to the next
// one, 30 levels deep: a walk per path would read 2^30 trees. Each folder is
// registered once, by the first path to it; the others are counted.
TEST_F(HostileTreeTest, LinksThatFanOutRegisterEachFolderOnce) {
    constexpr int kLevels = 30;
    game.WriteFile("songs/c.bms", "#TITLE C0\n");
    for (int i = 1; i <= kLevels; ++i)
        game.WriteFile("store/d" + std::to_string(i) + "/c.bms",
                       "#TITLE C" + std::to_string(i) + "\n");
    for (int i = 0; i < kLevels; ++i) {
        const std::string from = i == 0 ? "songs/" : "store/d" + std::to_string(i) + "/";
        const std::string to = (i == 0 ? "../store/d" : "../d") + std::to_string(i + 1);
        for (const char* name : {"a", "b"}) Link(to, from + name);
    }
    // Well past what a walk of each folder once reports: the old walk stops here.
    StopAfter progress(5000);
    LibraryReport report;
    ASSERT_TRUE(TestRegisterRoot("songs\\", &progress, &report)) << report.error;
    EXPECT_EQ(report.repeated, kLevels);
    EXPECT_EQ(test::QueryText("SELECT count(*) FROM folder"), std::to_string(kLevels + 1));
    EXPECT_EQ(test::QueryText("SELECT count(*) FROM song"), std::to_string(kLevels + 1));
    EXPECT_EQ(test::QueryText("SELECT count(DISTINCT title) FROM song"),
              std::to_string(kLevels + 1));
}

TEST_F(HostileTreeTest, FolderInfoIsFoundIgnoringCase) {
    struct Case {
        const char* file;
        const char* title;
    } cases[] = {
        {"songs/a/folderinfo.txt", "exact"},
        {"songs/b/FolderInfo.txt", "mixed"},
        {"songs/c/FOLDERINFO.TXT", "upper"},
        {"songs/FolderInfo.Txt", "root"},
    };
    for (const Case& c : cases) game.WriteFile(c.file, std::string("#TITLE ") + c.title + "\n");
    // Both spellings present: the exact one is the file meant.
    game.WriteFile("songs/d/folderinfo.txt", "#TITLE exact d\n");
    game.WriteFile("songs/d/FOLDERinfo.txt", "#TITLE other d\n");
    game.WriteFile("songs/e/folderinfo.txt.bak", "#TITLE no\n");
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='songs\\a\\'"), "exact");
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='songs\\b\\'"), "mixed");
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='songs\\c\\'"), "upper");
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='songs\\'"), "root");
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='songs\\d\\'"), "exact d");
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='songs\\e\\'"), "e");
    // A root given without its separator looks for the name appended to it.
    game.WriteFile("oddFOLDERINFO.txt", "#TITLE beside\n");
    game.MakeDir("odd");
    ASSERT_TRUE(TestRegisterRoot("odd"));
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='odd'"), "beside");
}

TEST_F(HostileTreeTest, ANulEndsAChartLine) {
    using namespace std::string_literals;
    game.WriteFile("songs/a.bms",
                   "#TITLE abc\0def [ANOTHER]\n#ARTIST x\0\0\0\n#00111:0101\0"s
                   "0101\n#00112:01\0\n#PLAYLEVEL 1\0 2\n\0#GENRE hidden\n#001\0 18:01\n"s);
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    EXPECT_EQ(
        test::QueryText("SELECT title || '|' || artist || '|' || length(artist) || '|' || genre || "
                        "'|' || karinotes || '|' || level || '|' || mode || '|' || difficulty "
                        "FROM song"),
        "abc|x|1||3|1|5|-1");  // "[ANOTHER]" lies after the NUL
    ChartRecord r;
    ASSERT_TRUE(ReadChartHeader(r, "songs\\a.bms"));
    EXPECT_EQ(r.title, "abc");
    EXPECT_EQ(r.difficulty, -1);
    EXPECT_EQ(r.note_count, 3);
}

// Library times are whole seconds: a write late in a second has the time of
// that second, both as the row's date and for the refresh's comparison.
TEST_F(HostileTreeTest, LibraryTimesAreWholeSeconds) {
    game.WriteFile("songs/a.bms", "#TITLE A\n");
    const time_t when = 1700000000;
    const struct timespec times[2] = {{when, 999999999}, {when, 999999999}};
    ASSERT_EQ(utimensat(AT_FDCWD, game.HostPath("songs/a.bms").c_str(), times, 0), 0);
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    struct tm tm {};
    gmtime_r(&when, &tm);
    const FileTime whole{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                         tm.tm_hour,        tm.tm_min,     tm.tm_sec};
    EXPECT_EQ(test::QueryText("SELECT date FROM song"), std::to_string(LibraryTime(whole)));
    // A row registered in that very second is not older than the file.
    TestDb().Exec("UPDATE song SET adddate = date, title = 'kept'");
    ASSERT_TRUE(TestRefresh("songs\\"));
    EXPECT_EQ(test::QueryText("SELECT title FROM song"), "kept");
}

// The refresh works on the folder rows as they were when it began: a
// sub-folder that its own scan adds keeps its folderinfo.txt title, which
// the next refresh replaces by the directory's name like every other.
TEST_F(HostileTreeTest, RefreshRenamesOnlyTheFoldersItFoundRegistered) {
    game.WriteFile("songs/a/folderinfo.txt", "#TITLE Old Info\n");
    game.WriteFile("songs/a/x.bms", "#TITLE X\n");
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='songs\\a\\'"), "Old Info");
    game.WriteFile("songs/a/new/FolderInfo.txt", "#TITLE New Info\n");
    game.WriteFile("songs/a/new/y.bms", "#TITLE Y\n");
    ASSERT_TRUE(TestRefresh("songs\\a\\"));
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='songs\\a\\'"), "a");
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='songs\\a\\new\\'"), "New Info");
    EXPECT_EQ(test::QueryText("SELECT count(*) FROM song WHERE path='songs\\a\\new\\y.bms'"), "1");
    ASSERT_TRUE(TestRefresh("songs\\a\\"));
    EXPECT_EQ(test::QueryText("SELECT title FROM folder WHERE path='songs\\a\\new\\'"), "new");
}

// Charts are read ahead on other threads; rows must still be those of
// reading each chart in turn, inserted in the walk's order (which decides
// ties in the difficulty pass).
TEST_F(HostileTreeTest, ReadAheadKeepsRowsAndTheirOrder) {
    std::string big = "#TITLE Big\n";
    while (big.size() < (5u << 20)) big += "#00111:0101010101010101010101010101010101\n";
    game.WriteFile("songs/big/huge.bms", big);  // read in pieces
    game.WriteFile("songs/big/notes.txt", "");
    for (int f = 0; f < 4; ++f)
        for (int c = 0; c < 60; ++c) {
            const std::string name = "songs/f" + std::to_string(f) + "/c" + std::to_string(c) +
                                     (c % 7 == 0 ? ".pms" : ".bms");
            game.WriteFile(name, "#TITLE T" + std::to_string(c) + "\n#00111:0101\n");
        }
    game.WriteFile("songs/f2/sub/s.bme", "#TITLE S\n#00118:01\n");
    game.WriteFile("songs/f2/readme.TXT", "");
    ASSERT_EQ(mkfifo(game.HostPath("songs/f1/locked.bms").c_str(), 0644), 0);
    ASSERT_TRUE(TestRegisterRoot("songs\\"));

    // The order a one-by-one walk visits the charts in.
    std::vector<std::string> expected;
    std::function<void(const std::string&)> walk = [&](const std::string& dir) {
        std::vector<DirEntry> entries;
        ListFolder(dir, entries, ListDetail::NamesAndKinds);
        for (const DirEntry& e : entries) {
            if (e.directory)
                walk(dir + e.name + "\\");
            else if (IsChartName(e.name))
                expected.push_back(dir + e.name);
        }
    };
    walk("songs\\");
    EXPECT_EQ(test::QueryRows("SELECT path FROM song ORDER BY rowid"), expected);

    Statement s = TestDb().Prepare(
        "SELECT path,hash,title,folder,parent,mode,karinotes,txt,difficulty FROM song");
    int rows = 0;
    while (s.Step()) {
        ++rows;
        const std::string path = s.Text(0);
        SCOPED_TRACE(path);
        ChartRecord r;
        ReadChartHeader(r, path);
        EXPECT_EQ(s.Text(1), r.hash);
        EXPECT_EQ(s.Text(2), r.title);
        EXPECT_EQ(s.Text(3), PathKey(r.directory));
        EXPECT_EQ(s.Text(4), PathKey(r.parent_directory));
        EXPECT_EQ(s.Int(5), r.mode);
        EXPECT_EQ(s.Int(6), r.note_count);
        EXPECT_EQ(s.Int(7), r.txt);
        if (r.difficulty != -1) {
            EXPECT_EQ(s.Int(8), r.difficulty);
        }
    }
    EXPECT_EQ(rows, 4 * 60 + 3);
    // "*.txt" in any case marks a folder's charts; the huge chart's folder
    // and f2 have one, f2's sub-folder does not.
    EXPECT_EQ(test::QueryText("SELECT count(*) FROM song WHERE txt = 1"), "61");
}

// Charts saved in place (cut to nothing, then written, as an editor saves)
// while a scan reads them: each row's title and hash come from one version
// of its file (or from none, the chart then left for the next refresh).
// One thing no reader can tell from a whole file: a save that stands still
// inside one write (its thread preempted) for as long as the chart is read
// and looked at again. The file then holds the first pages of the new
// version, and its size and times do not move. Such a row is let pass; a
// row of two versions, or cut anywhere else, is torn.
TEST_F(HostileTreeTest, ChartsRewrittenDuringAScanGiveNoTornRow) {
    constexpr int kCharts = 48, kRounds = 10;
    auto version = [](const char* title, int lines) {
        std::string body = std::string("#TITLE ") + title + "\n";
        for (int i = 0; i < lines; ++i) body += "#" + std::to_string(10000 + i) + ":01020304\n";
        return body;
    };
    const std::string versions[] = {version("A", 3000), version("B", 3500)};
    for (int i = 0; i < kCharts; ++i)
        game.WriteFile("songs/p" + std::to_string(i % 6) + "/c" + std::to_string(i) + ".bms",
                       versions[0]);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int n = 0; n < 200000 && !done; ++n) {
            const int i = n % kCharts;
            const std::string& bytes = versions[(n / kCharts) % 2 ? 0 : 1];
            const std::string host = game.HostPath("songs/p" + std::to_string(i % 6) + "/c" +
                                                   std::to_string(i) + ".bms");
            const int fd = open(host.c_str(), O_WRONLY | O_TRUNC);
            if (fd < 0) continue;
            for (size_t at = 0; at < bytes.size();) {
                const ssize_t w = write(fd, bytes.data() + at, bytes.size() - at);
                if (w <= 0) break;
                at += size_t(w);
            }
            close(fd);
        }
    });
    const std::set<std::pair<std::string, std::string>> whole = {
        {"A", Md5Hex(versions[0])}, {"B", Md5Hex(versions[1])}, {"", Md5Hex("")}, {"", ""}};
    std::set<std::pair<std::string, std::string>> stood_still;  // whole pages of a version
    for (const std::string& v : versions)
        for (size_t n = 4096; n < v.size(); n += 4096)
            stood_still.insert({v.substr(7, 1), Md5Hex(v.substr(0, n))});
    int rows = 0, torn = 0;
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_TRUE(TestRegisterRoot("songs\\"));
        Statement s = TestDb().Prepare("SELECT title, hash FROM song");
        while (s.Step()) {
            ++rows;
            if (whole.count({s.Text(0), s.Text(1)}) || stood_still.count({s.Text(0), s.Text(1)}))
                continue;
            ++torn;
            ADD_FAILURE() << "title " << s.Text(0) << " with hash " << s.Text(1);
        }
        TestDb().Exec("DELETE FROM song");
        TestDb().Exec("DELETE FROM folder");
    }
    done = true;
    writer.join();
    EXPECT_EQ(rows, kRounds * kCharts);
    EXPECT_EQ(torn, 0);
}

}  // namespace
}  // namespace qv5
