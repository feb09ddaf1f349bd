// `QV5 hidden-search` and `QV5 info`: the real executable on temporary game folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "config/config_file.h"
#include "library/file_hash.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "player/player_db.h"
#include "support/players.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

struct Result {
    int code;
    std::vector<std::string> lines;  // stdout
};

Result RunQv5(const test::TempGame& game, const std::string& args, const std::string& cwd) {
    const std::string command = "cd '" + cwd + "' && '" + std::string(QV5_EXE) + "' --dir '" +
                                game.host() + "' " + args + " 2>/dev/null";
    const test::ShellResult run = test::RunShell(command);
    Result r{run.code, {}};
    const std::string& out = run.out;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) r.lines.push_back(line);
    return r;
}

using Lines = std::vector<std::string>;

TEST(BrowserCommands, HiddenSearchListsTheFolderItIsGiven) {
    test::TempGame game;
    const std::string chart = "#TITLE x\r\n#00111:01\r\n";
    game.WriteFile("songs/a.bms", chart);
    game.WriteFile("songs/x.bm_", chart);
    game.WriteFile("songs/no ext", chart);
    game.WriteFile("songs/readme.txt", "#TITLE nothing here\r\n");
    game.WriteFile("songs/sub/y.bm_", chart);
    game.WriteFile("songs/表/z.bm_", chart);  // "表" ends in the byte of "\\"
    struct Case {
        std::string args, cwd;
        int code;
        Lines lines;
    } cases[] = {
        // Host paths, from the folder the command was started in.
        {"hidden-search songs", game.host(), 0, {"songs/no ext", "songs/x.bm_"}},
        {"hidden-search .", game.HostPath("songs"), 0, {"no ext", "x.bm_"}},
        {"hidden-search sub", game.HostPath("songs"), 0, {"sub/y.bm_"}},
        {"hidden-search 表", game.HostPath("songs"), 0, {"表/z.bm_"}},
        {"hidden-search songs/sub/..", game.host(), 0, {"songs/no ext", "songs/x.bm_"}},
        {"hidden-search missing", game.host(), 1, {}},
        {"hidden-search .", game.host(), 0, {}},
        {"hidden-search songs/a.bms", game.host(), 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args + " from " + c.cwd);
        Result r = RunQv5(game, c.args, c.cwd);
        std::sort(r.lines.begin(), r.lines.end());
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.lines, c.lines);
    }
}

TEST(BrowserCommands, InfoShowsTheConfiguredPlayersScore) {
    test::TempGame game;
    test::MakePlayer("abc", "pass");
    test::MakePlayer("other", "pass");
    ConfigRecord config;
    config.id = "abc";
    ASSERT_EQ(SaveConfig(config), 1);
    game.WriteFile("songs/a.bme",
                   "#TITLE Alpha\n#ARTIST X\n#SUBARTIST Y\n#PLAYLEVEL 12\n#EXLEVEL 3\n"
                   "#00111:0101\n");
    game.WriteFile("loose/b.pms", "#TITLE Beta\n#GENRE Pop\n#PLAYLEVEL 30\n#00111:01\n");
    ASSERT_EQ(RunQv5(game, "add-root songs", game.host()).code, 0);
    const std::string hash = FileHash("songs\\a.bme").value();
    for (const auto& [player, score] :
         {std::pair{"abc", "5,300,150,500"}, std::pair{"other", "1,1,1,500"}}) {
        Database db;
        ASSERT_TRUE(db.Open(std::string("QV5files\\Database\\Score\\") + player + ".db"));
        db.Exec(kCreateScoreTable);  // present once the library was opened for the player
        ASSERT_TRUE(db.Exec("INSERT INTO score (hash,clear,perfect,great,totalnotes) VALUES('" +
                            hash + "'," + score + ")"));
    }
    {
        // The player's tag edit is what the panel shows.
        Database tags;
        ASSERT_TRUE(tags.Open("QV5files\\Database\\tag.db", Database::Mode::OpenExisting));
        ASSERT_TRUE(tags.Exec(
            "INSERT INTO tag (hash,title,subtitle,genre,artist,subartist,tag,level,difficulty,"
            "mode,exlevel) VALUES('" +
            hash + "','Alpha','','Tagged','X','Y','',12,3,5,3)"));
    }
    struct Case {
        std::string args, cwd;
        int code;
        Lines lines;
    } cases[] = {
        {"info songs/a.bme",
         game.host(),
         0,
         {"[TITLE] Alpha", "[GENRE] Tagged", "[ARTIST]X/Y",
          "[LEVEL] \u2606"
          "12 / \u2605"
          "3",
          "[SCORE] 750/1000 (75%) FULL COMBO", "[MODE] 5KEYS"}},
        {"info b.pms",
         game.HostPath("loose"),
         0,
         {"[TITLE] Beta", "[GENRE] Pop", "[ARTIST] ", "[LEVEL] 30", "[SCORE] NOT PLAYED",
          "[MODE] 9BUTTONS"}},
        {"info songs/gone.bms", game.host(), 1, {}},
        {"info songs", game.host(), 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const Result r = RunQv5(game, c.args, c.cwd);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.lines, c.lines);
    }
}

}  // namespace
}  // namespace qv5
