// The library operations of operations.h on real song.db files: what a
// refresh of a path the library does not list adds, and what a rescan keeps.
#include <gtest/gtest.h>
#include <utime.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "library/encodings.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "support/library_compare.h"
#include "support/library_rows.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

// A chart with no difficulty in its title or name: the folder pass ranks it
// by its `notes`.
std::string Chart(const std::string& title, int notes) {
    std::string line = "#00111:";
    for (int i = 0; i < notes; ++i) line += "01";
    return "#TITLE " + title + "\r\n" + line + "\r\n";
}

void Touch(const test::TempGame& game, const std::string& relative, time_t when) {
    struct utimbuf times {
        when, when
    };
    ASSERT_EQ(utime(game.HostPath(relative).c_str(), &times), 0) << relative;
}

// Every column of the song rows below `prefix`, every column of its folder
// rows but adddate: the time of the folder's registration or of its last
// refresh, which every refresh below it renews and so a rescan too (the
// song list's New filter and newest-first order read the song rows').
std::vector<std::string> Rows(const std::string& prefix) {
    const std::string below = " WHERE path LIKE '" + prefix + "%' ORDER BY path";
    std::vector<std::string> rows = test::QueryRows("SELECT * FROM song" + below);
    for (std::string& r : test::QueryRows("SELECT title,subtitle,category,info_a,info_b,command,"
                                          "path,type,banner,parent,date,max FROM folder" +
                                          below))
        rows.push_back(std::move(r));
    return rows;
}

class LibraryOperationsTest : public ::testing::Test {
  protected:
    void SetUp() override { OpenTestLibrary(""); }
    void TearDown() override { CloseTestLibrary(); }
    test::TempGame game;
};

TEST(LibraryOperations, ARefreshOfAPathTheLibraryDoesNotListAddsItFromTheFolderAbove) {
    const struct Case {
        const char* name;
        const char* written;    // after the song folder was added
        const char* refreshed;  // the path given to the refresh
        long charts, folders;   // rows below it afterwards
    } cases[] = {
        {"new folder", "songs/a/new/n.bms", "songs\\a\\new\\", 1, 1},
        {"new folder in a new folder", "songs/b/c/n.bms", "songs\\b\\c\\", 1, 1},
        {"new chart", "songs/a/n.bms", "songs\\a\\n.bms", 1, 0},
        {"outside every song folder", "other/n.bms", "other\\", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempGame game;
        game.WriteFile("songs/a/x.bms", Chart("X", 3));
        OpenTestLibrary("");
        LibraryReport report;
        ASSERT_TRUE(TestLibrary().AddSongFolder(WinPath("songs\\"), nullptr, report))
            << report.error;
        game.WriteFile(c.written, Chart("N", 2));
        report = {};
        EXPECT_TRUE(TestLibrary().RefreshSongFolder(WinPath(c.refreshed), nullptr, report))
            << report.error;
        EXPECT_EQ(report.charts, c.charts);
        EXPECT_EQ(report.folders, c.folders);
        EXPECT_TRUE(test::MatchesFreshRegistration({"songs\\"}));
        EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE difficulty NOT BETWEEN 0 AND 5"),
                  0);
        CloseTestLibrary();
    }
}

// One folder stays as it was; in another each chart met another fate since
// the last registration.
TEST_F(LibraryOperationsTest, ARescanKeepsTheMarksOfEachChartWhoseFileIsTheSame) {
    const time_t old = time(nullptr) - 10 * 86400;
    int notes = 1;
    for (const char* chart :
         {"songs/a/x.bms", "songs/a/y.bms", "songs/a/z.bms", "songs/a/in/w.bme",
          "songs/b/touched.bms", "songs/b/rewritten.bms", "songs/b/moved.bms"}) {
        game.WriteFile(chart, Chart("T", notes++));
        Touch(game, chart, old);
    }
    LibraryReport report;
    ASSERT_TRUE(TestLibrary().AddSongFolder(WinPath("songs\\"), nullptr, report)) << report.error;
    // Marked by the player, added a while after the files were written.
    ASSERT_TRUE(TestDb().Exec("UPDATE song SET favorite = 1 , adddate = date + 100 * rowid"));
    const std::vector<std::string> unchanged = Rows("songs\\a\\");
    ASSERT_EQ(test::QueryInt("SELECT count(DISTINCT difficulty) FROM song"), 3);  // 2, 3, 4
    Touch(game, "songs/b/touched.bms", old + 86400);  // later than its added date, same bytes
    game.WriteFile("songs/b/rewritten.bms", Chart("other", 6));
    Touch(game, "songs/b/rewritten.bms", old);
    ASSERT_EQ(std::rename(game.HostPath("songs/b/moved.bms").c_str(),
                          game.HostPath("songs/b/moved2.bms").c_str()),
              0);
    const std::int32_t since = LibraryTimeNow();

    ASSERT_TRUE(TestLibrary().RescanSongFolders({"songs\\"}, nullptr, report)) << report.error;
    EXPECT_EQ(Rows("songs\\a\\"), unchanged);
    const struct Case {
        const char* path;
        int favorite;
        bool now;  // added now; otherwise at the file's write time
    } cases[] = {
        // Never before its write time, or the next refresh would read it again.
        {"songs\\b\\touched.bms", 1, false},
        {"songs\\b\\rewritten.bms", 0, true},
        {"songs\\b\\moved2.bms", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const auto select = [&](const char* column) {
            return test::QueryInt(std::string("SELECT ") + column + " FROM song WHERE path = ?1",
                                  [&](Statement& s) { s.Bind(1, std::string(c.path)); });
        };
        EXPECT_EQ(select("favorite"), c.favorite);
        if (c.now) {
            EXPECT_GE(select("adddate"), since);
        } else {
            EXPECT_EQ(select("adddate"), select("date"));
        }
    }
    // What the rescan stored is what the disk holds: a refresh reads nothing again.
    const std::vector<std::string> rescanned = Rows("songs\\");
    ASSERT_TRUE(TestLibrary().RefreshSongFolder(WinPath("songs\\"), nullptr, report))
        << report.error;
    EXPECT_EQ(Rows("songs\\"), rescanned);
}

}  // namespace
}  // namespace qv5
