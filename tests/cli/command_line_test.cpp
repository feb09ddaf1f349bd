// The command line, end to end: the real executable on temporary game folders.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "config/config_file.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

using Result = test::ShellResult;

Result RunQv5(const test::TempGame& game, const std::string& args) {
    const std::string command =
        std::string("'") + QV5_EXE + "' --dir '" + game.host() + "' " + args + " 2>&1";
    return test::RunShell(command);
}

TEST(CommandLine, AddRootRefreshRescan) {
    test::TempGame game;
    test::SavePlayerConfig();
    game.WriteFile("songs/p1/a.bms", "#TITLE A\n#00111:0101\n");
    game.WriteFile("songs/p1/b.bms", "#TITLE B\n#00111:01010101\n");
    game.WriteFile("songs/p2/c.bme", "#TITLE C\n");

    Result r = RunQv5(game, "add-root '" + game.HostPath("songs") + "'");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("add-root: 3 charts in 3 folders"), std::string::npos) << r.out;
    ConfigRecord back;
    LoadConfig(back);
    ASSERT_EQ(back.path_count, 1);
    EXPECT_EQ(back.path[0], "songs\\");  // inside the game folder: relative
    EXPECT_EQ(back.id, "abc");
    EXPECT_EQ(
        test::QueryInt(test::SongDbFile(game), "SELECT count(*) FROM song WHERE difficulty = -1"),
        0);
    EXPECT_EQ(test::QueryInt(test::SongDbFile(game),
                             "SELECT difficulty FROM song WHERE path = 'songs\\p1\\b.bms'"),
              3);

    r = RunQv5(game, "add-root '" + game.HostPath("songs") + "/'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("既に登録されています"), std::string::npos) << r.out;
    r = RunQv5(game, "add-root '" + game.HostPath("songs/p1") + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("親フォルダが既に登録されています"), std::string::npos) << r.out;
    LoadConfig(back);
    EXPECT_EQ(back.path_count, 1);

    std::filesystem::remove(game.HostPath("songs/p2/c.bme"));
    r = RunQv5(game, "refresh '" + game.HostPath("songs") + "'");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("refresh: 2 charts"), std::string::npos) << r.out;

    game.WriteFile("songs/p2/d.bms", "#TITLE D\n");
    r = RunQv5(game, "rescan");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("rescan: 3 charts in 3 folders from 1 song folder"), std::string::npos)
        << r.out;

    // An absolute root outside the game folder keeps its Z: form.
    test::TempGame other;
    other.WriteFile("x/e.bms", "#TITLE E\n");
    ASSERT_TRUE(SetProgramDirectory(game.host()));  // `other` made itself current
    r = RunQv5(game, "add-root '" + other.HostPath("x") + "'");
    EXPECT_EQ(r.code, 0) << r.out;
    LoadConfig(back);
    ASSERT_EQ(back.path_count, 2);
    EXPECT_EQ(back.path[1].substr(0, 3), "Z:\\");
    EXPECT_EQ(back.path[1].back(), '\\');
}

// The game folder itself has no relative name ("\" would be the root of the
// drive to the game): it is stored absolute.
TEST(CommandLine, TheGameFolderItselfIsStoredAbsolute) {
    test::TempGame game;
    game.WriteFile("a.bms", "#TITLE A\n");
    const Result r = RunQv5(game, "add-root '" + game.host() + "'");
    ASSERT_EQ(r.code, 0) << r.out;
    ConfigRecord c;
    ASSERT_EQ(LoadConfig(c), ConfigState::Read);
    ASSERT_EQ(c.path_count, 1);
    EXPECT_EQ(c.path[0], *FromHostPath(game.host()) + "\\");
}

TEST(CommandLine, Errors) {
    test::TempGame game;
    struct Case {
        std::string args;
        int code;
        std::string message;
    } cases[] = {
        {"add-root /no/such/folder", 1, "no such folder"},
        {"refresh /no/such/folder", 1, "no such folder"},
        {"frobnicate", 2, "Usage:"},
        {"add-root", 2, "Usage:"},
        {"--help", 0, "add-root PATH"},
    };
    for (const auto& c : cases) {
        Result r = RunQv5(game, c.args);
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
    }
    // An unwritable library: song.db is a folder here.
    game.MakeDir("QV5files/Database/song.db");
    game.WriteFile("songs/a.bms", "");
    Result r = RunQv5(game, "add-root '" + game.HostPath("songs") + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("cannot write the song library"), std::string::npos) << r.out;
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.path_count, 0);
    r = RunQv5(game, "rescan");
    EXPECT_EQ(r.code, 1);
}

// What the commands print names paths as this system does: relative to the
// folder the command was started in when they lie below it, else absolute;
// song.db keeps the game's form.
TEST(CommandLine, PathsAreShownAsThisSystemNamesThem) {
    test::TempGame game;
    game.WriteFile("songs/p1/a.bms", "#TITLE A\n#00111:0101\n");
    game.MakeDir("other");
    const std::string g = game.host();
    ASSERT_EQ(RunQv5(game, "add-root '" + g + "/songs'").code, 0);
    const struct {
        std::string from, args, said;
    } cases[] = {
        {g, "refresh songs", "refresh: 1 chart in 2 folders below songs/\n"},
        {g + "/songs", "refresh p1", "refresh: 1 chart in 1 folder below p1/\n"},
        {g + "/songs/p1", "refresh .", "refresh: 1 chart in 1 folder below ./\n"},
        {g + "/other", "refresh ../songs",
         "refresh: 1 chart in 2 folders below " + g + "/songs/\n"},
        {"/", "refresh '" + g + "/songs'",
         "refresh: 1 chart in 2 folders below " + g + "/songs/\n"},
        {g, "info nope.bms", "QV5: no such file or folder: nope.bms\n"},
        {g + "/other", "hidden-search ../songs/p1",
         "hidden-search: 0 hidden charts in " + g + "/songs/p1/\n"},
    };
    for (const auto& c : cases) {
        const Result r = test::RunShell("cd '" + c.from + "' && '" + QV5_EXE + "' --dir '" + g +
                                        "' " + c.args + " 2>&1");
        EXPECT_EQ(r.out, c.said) << c.from << ": " << c.args;
    }
    EXPECT_EQ(test::QueryRows(test::SongDbFile(game), "SELECT path FROM song"),
              std::vector<std::string>{"songs\\p1\\a.bms"});
}

}  // namespace
}  // namespace qv5
