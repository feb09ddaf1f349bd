// The library operations of operations.h on real song.db files: what a
// refresh of a path the library does not list adds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/operations.h"
#include "library/song_library.h"
#include "support/library_compare.h"
#include "support/library_rows.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

// A chart with no difficulty in its title or name: the folder pass ranks it
// by its `notes`.
std::string Chart(const std::string& title, int notes) {
    std::string line = "#00111:";
    for (int i = 0; i < notes; ++i) line += "01";
    return "#TITLE " + title + "\r\n" + line + "\r\n";
}

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
        OpenSongLibrary("");
        LibraryReport report;
        ASSERT_TRUE(AddSongFolder(SongLibrary(), "songs\\", nullptr, report)) << report.error;
        game.WriteFile(c.written, Chart("N", 2));
        report = {};
        EXPECT_TRUE(RefreshSongFolder(SongLibrary(), c.refreshed, nullptr, report)) << report.error;
        EXPECT_EQ(report.charts, c.charts);
        EXPECT_EQ(report.folders, c.folders);
        EXPECT_TRUE(test::MatchesFreshRegistration({"songs\\"}));
        EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE difficulty NOT BETWEEN 0 AND 5"),
                  0);
        CloseSongLibrary();
    }
}

}  // namespace
}  // namespace qv5
