// The import commands, end to end: the real executable, a real HTTP server.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>

#include "platform/database.h"
#include "player/player_db.h"
#include "support/http_server.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

using Result = test::ShellResult;

Result RunQv5(const test::TempGame& game, const std::string& args) {
    const std::string command = std::string("no_proxy=127.0.0.1 '") + QV5_EXE + "' --dir '" +
                                game.host() + "' " + args + " 2>&1";
    return test::RunShell(command);
}

TEST(ImportCommands, ImportCourses) {
    test::TempGame game;
    const std::string list = game.HostPath("c.xml");
    struct Case {
        std::string content;
        int code;
        std::string output;
        bool kept;
    } cases[] = {
        {"<courselist><course><title>T</title><type>1</type></course>"
         "<course><title>U</title><type>2</type></course></courselist>",
         0, "import-courses: 2 courses imported", false},
        {"<courselist><course><type>3</type></course></courselist>", 1,
         "import-courses: 0 courses imported", false},
        {"<nothing/>", 1, "コースリストの読み込みに失敗しました。", true},
    };
    for (const auto& c : cases) {
        game.WriteFile("c.xml", c.content);
        Result r = RunQv5(game, "import-courses '" + list + "'");
        EXPECT_EQ(r.code, c.code) << r.out;
        EXPECT_NE(r.out.find(c.output), std::string::npos) << r.out;
        EXPECT_EQ(game.Exists("c.xml"), c.kept);
    }
    Result r = RunQv5(game, "import-courses '" + game.HostPath("none.xml") + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("no such file"), std::string::npos) << r.out;
}

TEST(ImportCommands, RestoreScores) {
    test::TempGame game;
    test::HttpServer server;
    game.WriteFile("QV5files/Config/irserver.txt", server.Url("/ir/"));
    server.SetBody(
        "<scorelist>\n<score><hash>a</hash><pg>3</pg><notes>4</notes></score>\n"
        "<score><hash>b</hash></score>\n</scorelist>\n");
    Result r = RunQv5(game, "restore-scores newbie secret 321");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("2スコアを引き継ぎました。"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("restore-scores: player newbie created with 2 scores"), std::string::npos)
        << r.out;
    EXPECT_NE(
        server.Log().find("GET /ir/restorescore.cgi?id=321&passmd5=" + PasswordDigest("secret")),
        std::string::npos);

    struct Case {
        std::string args;
        std::string body;
        std::string message;
    } cases[] = {
        {"newbie secret 321", "<scorelist><score/></scorelist>",
         "別のプレイヤー名を指定して下さい"},
        {"other secret 321", "PASS\n", "パスワードが間違っているか、無効なQV5IDです。"},
        {"other secret x", "", "無効なQV5IDです。"},
        {"ot secret 321", "<scorelist><score/></scorelist>", "IDが短すぎます。"},
    };
    for (const auto& c : cases) {
        server.SetBody(c.body);
        r = RunQv5(game, "restore-scores " + c.args);
        EXPECT_EQ(r.code, 1) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
    }
    EXPECT_EQ(ListPlayers(), std::vector<std::string>{"newbie"});

    r = RunQv5(game, "restore-scores newbie secret");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find("restore-scores ID PASSWORD IRID"), std::string::npos) << r.out;
    r = RunQv5(game, "--help");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("import-courses FILE"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace qv5
