// `QV5 init DIR`: the real executable makes a ready game folder, with no game
// folder of its own to start from.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

TEST(InitCommand, MakesAReadyGameFolderWithoutNeedingOne) {
    test::TempGame outer;
    // No --dir, no game folder beside the executable, none remembered.
    const std::string run = "cd '" + outer.host() + "' && XDG_CONFIG_HOME='" + outer.host() +
                            "/xdg' '" + QV5_EXE + "' init 'new game' 2>&1";
    test::ShellResult r = test::RunShell(run);
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("init: " + outer.HostPath("new game") + " is a game folder"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(std::filesystem::is_directory(outer.HostPath("new game/QV5files/Database/Score")));
    EXPECT_NE(outer.ReadFile("new game/QV5files/Config/config.xml").find("<path>songs\\</path>"),
              std::string::npos);
    EXPECT_TRUE(outer.Exists("new game/QV5files/Database/song.db"));

    // A folder that holds QV5files already is left alone.
    r = test::RunShell(run);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("QV5files"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace qv5
