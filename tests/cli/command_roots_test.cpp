// remove-root: the exclusion of a song folder from a script.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "config/config_file.h"
#include "platform/database.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

using Result = test::ShellResult;

// From `cwd`, so that relative paths are tested as a shell would give them.
Result Qv5(const test::TempGame& game, const std::string& cwd, const std::string& args) {
    const std::string command =
        "cd '" + cwd + "' && '" + QV5_EXE + "' --dir '" + game.host() + "' " + args + " 2>&1";
    return test::RunShell(command);
}

TEST(RemoveRootCommand, ExcludesTheFolderFromLibraryAndConfigAndKeepsItsFiles) {
    test::TempGame game;
    test::SavePlayerConfig();
    game.WriteFile("songs/p/a.bms", "#TITLE A\n#00111:01\n");
    game.WriteFile("songs2/q/b.bms", "#TITLE B\n#00111:01\n");
    game.WriteFile("gone/r/c.bms", "#TITLE C\n#00111:01\n");
    for (const char* folder : {"songs", "songs2", "gone"})
        ASSERT_EQ(Qv5(game, game.host(), std::string("add-root ") + folder).code, 0);

    struct Case {
        std::string cwd, arg;
        int code;
        std::string output;
    } cases[] = {
        {game.host(), "elsewhere", 1, "not a registered song folder"},
        {game.host(), "songs/p", 1, "not a registered song folder"},
        // Relative to the current folder, as add-root takes it.
        {game.HostPath("songs/p"), "..", 0, game.host() + "/songs/ excluded, 1 chart removed"},
        // A folder that no longer exists on disk.
        {game.host(), "gone", 0, "gone/ excluded"},
    };
    std::filesystem::remove_all(game.HostPath("gone"));
    for (const Case& k : cases) {
        Result r = Qv5(game, k.cwd, "remove-root " + k.arg);
        EXPECT_EQ(r.code, k.code) << k.arg << "\n" << r.out;
        EXPECT_NE(r.out.find(k.output), std::string::npos) << k.arg << "\n" << r.out;
    }
    ConfigRecord back;
    LoadConfig(back);
    ASSERT_EQ(back.path_count, 1);
    EXPECT_EQ(back.path[0], "songs2\\");
    // "songs\" is the beginning of "songs2\": its rows stay.
    EXPECT_EQ(test::SongsLike(test::SongDbFile(game), "songs2\\%"), 1);
    EXPECT_EQ(test::SongsLike(test::SongDbFile(game), "songs\\%"), 0);
    EXPECT_EQ(test::SongsLike(test::SongDbFile(game), "gone\\%"), 0);
    EXPECT_TRUE(game.Exists("songs/p/a.bms"));
    EXPECT_NE(Qv5(game, game.host(), "--help").out.find("remove-root PATH"), std::string::npos);
}

}  // namespace
}  // namespace qv5
