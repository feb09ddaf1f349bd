// Library writes under pressure: a reader holding the library, a library of
// another layout, a stop request, a file system that fills up. Each either
// stores everything or nothing, and says why.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "library/refresh.h"
#include "library/rescan.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/progress.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/stop_after.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

using test::StopAfter;

class LibraryWritesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakePlayer("abc", "pass");
        for (int f = 0; f < 4; ++f)
            for (int c = 0; c < 5; ++c)
                game.WriteFile("songs/f" + std::to_string(f) + "/c" + std::to_string(c) + ".bms",
                               "#TITLE T" + std::to_string(c) + "\n#00111:01\n");
        OpenTestLibrary("abc");
        TestDb().SetBusyTimeout(200);
    }
    void TearDown() override { CloseTestLibrary(); }
    test::TempGame game;
};

// Another program (the game body) reading the library: SQLite's read lock
// stays while its transaction is open.
struct Reader {
    Reader() {
        db.Open(kSongDbPath);
        db.Exec("BEGIN");
        select = db.Prepare("SELECT count(*) FROM song");
        select.Step();
    }
    void Release() {
        select = Statement();
        db.Exec("COMMIT");
    }
    Database db;
    Statement select;
};

TEST_F(LibraryWritesTest, BesideAReaderNothingIsLostAndTheFailureIsTold) {
    ASSERT_TRUE(TestRegisterRoot("songs\\f0\\"));
    ASSERT_EQ(test::QueryInt("SELECT count(*) FROM song"), 5);
    game.WriteFile("songs/f0/new.bms", "#TITLE N\n");
    const std::string old_hash =
        test::QueryText("SELECT hash FROM song WHERE path = 'songs\\f0\\c1.bms'", {}, "");
    game.WriteFile("songs/f0/c1.bms", "#TITLE changed\n");
    TestDb().Exec("UPDATE song SET adddate = 0");  // every chart looks changed

    Reader reader;
    struct Case {
        const char* name;
        std::function<bool(Progress*, LibraryReport*)> run;
    } cases[] = {
        {"register",
         [](Progress* p, LibraryReport* r) { return TestRegisterRoot("songs\\f1\\", p, r); }},
        {"refresh", [](Progress* p, LibraryReport* r) { return TestRefresh("songs\\f0\\", p, r); }},
        {"rescan",
         [](Progress* p, LibraryReport* r) {
             return RescanLibrary(TestDb(), {"songs\\f0\\", "songs\\f2\\"}, p, *r);
         }},
    };
    for (const Case& c : cases) {
        StopAfter progress;
        LibraryReport report;
        EXPECT_FALSE(c.run(&progress, &report)) << c.name;
        EXPECT_NE(report.error.find("locked"), std::string::npos) << c.name << ": " << report.error;
        ASSERT_FALSE(progress.statuses.empty()) << c.name;
        EXPECT_NE(progress.statuses[0].find("Waiting"), std::string::npos) << c.name;
    }
    reader.Release();
    // The old library, whole.
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 5);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder"), 1);
    Statement s = TestDb().Prepare("SELECT hash FROM song WHERE path = 'songs\\f0\\c1.bms'");
    ASSERT_TRUE(s.Step());
    EXPECT_EQ(s.Text(0), old_hash);

    // Free again: the same operations succeed.
    EXPECT_TRUE(TestRefresh("songs\\f0\\"));
    Statement again = TestDb().Prepare("SELECT hash FROM song WHERE path = 'songs\\f0\\c1.bms'");
    ASSERT_TRUE(again.Step());
    EXPECT_NE(again.Text(0), old_hash);
}

TEST_F(LibraryWritesTest, ALibraryOfAnotherLayoutRegistersNothing) {
    Database& db = TestDb();
    ASSERT_TRUE(db.Exec("DROP TABLE song"));
    ASSERT_TRUE(db.Exec("CREATE TABLE song(id INTEGER primary key, name TEXT)"));
    LibraryReport report;
    EXPECT_FALSE(TestRegisterRoot("songs\\", nullptr, &report));
    EXPECT_NE(report.error.find("column"), std::string::npos) << report.error;
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder"), 0);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 0);
}

TEST_F(LibraryWritesTest, AStoppedRegistrationLeavesNothingHalfDone) {
    for (long stop_after : {1L, 3L, 12L}) {
        StopAfter progress(stop_after);
        LibraryReport report;
        EXPECT_FALSE(TestRegisterRoot("songs\\", &progress, &report)) << stop_after;
        EXPECT_TRUE(report.stopped);
        EXPECT_NE(report.error.find("stopped"), std::string::npos);
        EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder"), 0);
        EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 0);
    }
    StopAfter progress;
    EXPECT_TRUE(TestRegisterRoot("songs\\", &progress, nullptr));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 20);
    // A stopped refresh keeps the library as it was.
    game.WriteFile("songs/f3/new.bms", "#TITLE N\n");
    StopAfter stop(1);
    LibraryReport report;
    EXPECT_FALSE(TestRefresh("songs\\f3\\", &stop, &report));
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 20);
    // A stopped move keeps every row at its old place.
    StopAfter halfway(3);
    LibraryReport moved;
    EXPECT_FALSE(TestLibrary().MoveSongPaths(WinPath("songs\\f0\\"), WinPath("songs\\g0\\"),
                                             &halfway, moved));
    EXPECT_TRUE(moved.stopped);
    EXPECT_EQ(test::PathsUnder("song", "songs\\f0\\").size(), 5u);
}

TEST_F(LibraryWritesTest, AFullFileSystemFailsTheRegistrationWhole) {
    CloseTestLibrary();
    for (int i = 0; i < 300; ++i)
        game.WriteFile("big/p" + std::to_string(i / 30) + "/c" + std::to_string(i) + ".bms",
                       "#TITLE " + std::string(200, 'x') + std::to_string(i) + "\n");
    // A child whose files may not grow past 64 KiB: song.db fills up.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64 << 10, 64 << 10};
        setrlimit(RLIMIT_FSIZE, &limit);
        OpenTestLibrary("abc");
        LibraryReport report;
        const int result = TestRegisterRoot("big\\", nullptr, &report);
        _exit(result == 0 && !report.error.empty() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    OpenTestLibrary("abc");
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder"), 0);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 0);
}

}  // namespace
}  // namespace qv5

namespace qv5 {
namespace {

// Paths longer than the host allows cannot be read: counted, not lost in
// silence.
TEST_F(LibraryWritesTest, PathsTooLongForTheHostAreCounted) {
    game.MakeDeepFolder("deep", 25, "c.bms");
    LibraryReport report;
    ASSERT_TRUE(TestRegisterRoot("deep\\", nullptr, &report)) << report.error;
    EXPECT_EQ(report.too_long, 1);
    const int levels = test::QueryInt("SELECT count(*) FROM song");
    EXPECT_GT(levels, 10);
    EXPECT_LT(levels, 25);
}

}  // namespace
}  // namespace qv5
