// `QV5 play` and `QV5 autoplay`: the real executable with a fake wine first on PATH.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/fake_wine.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

using Args = std::vector<std::string>;

using Result = test::ShellResult;

// Runs from `cwd` (default: the game folder), since relative arguments are
// taken from where the command was started.
Result RunQv5(const test::TempGame& game, const std::string& args, std::string cwd = "") {
    if (cwd.empty()) cwd = game.host();
    const std::string command = "cd '" + cwd + "' && '" + std::string(QV5_EXE) + "' --dir '" +
                                game.host() + "' " + args + " 2>&1";
    return test::RunShell(command);
}

TEST(PlayCommands, PassTheMenuCommandLinesFromTheGameFolder) {
    test::TempGame game;
    test::FakeWine wine;
    game.WriteFile("QV5body.exe", "MZ");
    game.WriteFile("songs/a b/曲.bms", "#TITLE x\r\n");
    const std::string outside_dir =
        game.HostPath("../") + "qv5 outside " + std::to_string(getpid());
    std::filesystem::create_directories(outside_dir);
    std::ofstream(outside_dir + "/b.bms") << "#TITLE y\r\n";
    const std::string outside = std::filesystem::canonical(outside_dir).string();
    std::string outside_win = "Z:" + outside + "\\b.bms";
    for (char& c : outside_win)
        if (c == '/') c = '\\';

    struct Case {
        std::string args;
        Args want;
        std::string cwd = "";
    } cases[] = {
        {"play 'songs/a b/曲.bms'", {"QV5body.exe", "songs\\a b\\曲.bms"}},
        {"play '曲.bms'", {"QV5body.exe", "songs\\a b\\曲.bms"}, game.HostPath("songs/a b")},
        {"autoplay '" + game.HostPath("songs/a b/曲.bms") + "'",
         {"QV5body.exe", "-a", "songs\\a b\\曲.bms"}},
        {"play '" + outside + "/b.bms'", {"QV5body.exe", outside_win}},
    };
    size_t runs = 0;
    for (const Case& c : cases) {
        // A relative CHART is taken from the folder the command runs in.
        Result r = RunQv5(game, c.args, c.cwd);
        EXPECT_EQ(r.code, 0) << c.args << "\n" << r.out;
        for (int i = 0; i < 2000 && wine.Runs().size() <= runs; ++i) usleep(5000);
        auto all = wine.Runs();
        ASSERT_EQ(all.size(), ++runs) << c.args;
        EXPECT_EQ(all.back().argv, c.want) << c.args;
        EXPECT_EQ(std::filesystem::canonical(all.back().cwd),
                  std::filesystem::canonical(game.host()));
    }
    std::filesystem::remove_all(outside_dir);
}

TEST(PlayCommands, SayWhatIsMissing) {
    test::TempGame game;
    test::FakeWine wine;
    game.WriteFile("a.bms", "");
    struct Case {
        std::string args;
        std::string message;
    } cases[] = {
        // The folder it looked in is where the game body must go.
        {"play a.bms", "QV5body.exe が " + game.host() + " にもPATHにも見つかりません。"},
        {"play missing.bms", "no such chart"},
        {"autoplay QV5files", "not a chart file"},
        {"play", "Usage:"},
    };
    for (const Case& c : cases) {
        Result r = RunQv5(game, c.args);
        EXPECT_NE(r.code, 0) << c.args;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
    }
    game.WriteFile("QV5body.exe", "MZ");
    wine.Remove();
    Result r = RunQv5(game, "play a.bms");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("wine not found"), std::string::npos) << r.out;
    EXPECT_TRUE(wine.Runs().empty());
}

// The Windows command line cannot carry a double quote inside a quoted path:
// the chart is named and the game body is not started.
TEST(PlayCommands, RefuseAChartPathHoldingADoubleQuote) {
    test::TempGame game;
    test::FakeWine wine;
    game.WriteFile("QV5body.exe", "MZ");
    game.WriteFile("songs/q\"uote.bms", "#TITLE q\r\n");
    for (const char* command : {"play", "autoplay"}) {
        Result r = RunQv5(game, std::string(command) + " 'songs/q\"uote.bms'");
        EXPECT_EQ(r.code, 1) << command << "\n" << r.out;
        EXPECT_NE(r.out.find("double quote"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("songs/q\"uote.bms"), std::string::npos) << r.out;
    }
    // A waited-for play of another chart: only it reaches the game body.
    game.WriteFile("songs/plain.bms", "#TITLE p\r\n");
    ASSERT_EQ(RunQv5(game, "play songs/plain.bms").code, 0);
    ASSERT_EQ(wine.Runs().size(), 1u);
    EXPECT_EQ(wine.Runs()[0].argv, (Args{"QV5body.exe", "songs\\plain.bms"}));
}

}  // namespace
}  // namespace qv5
