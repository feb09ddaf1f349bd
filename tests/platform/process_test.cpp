#include "platform/process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/text.h"
#include "support/both_languages.h"
#include "support/fake_wine.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

using Args = std::vector<std::string>;

std::string U(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

TEST(SplitCommandLine, FollowsTheWindowsRules) {
    struct Case {
        std::string line;
        Args want;
    } cases[] = {
        {"", {}},
        {"a.exe", {"a.exe"}},
        {"a.exe  b\tc ", {"a.exe", "b", "c"}},
        {"\"C:\\Program Files\\a.exe\" -s", {"C:\\Program Files\\a.exe", "-s"}},
        // The program name takes backslashes literally and ends at its quote.
        {"\"a\\\"b c", {"a\\", "b", "c"}},
        {"\"a b\"c d", {"a b", "c", "d"}},
        {"p \"a b\" c", {"p", "a b", "c"}},
        {"p a\\\"b", {"p", "a\"b"}},
        {"p a\\\\\"b c\"", {"p", "a\\b c"}},
        {"p a\\\\\\\"b", {"p", "a\\\"b"}},
        {"p a\\\\b", {"p", "a\\\\b"}},
        {"p \"trailing\\\\\" x", {"p", "trailing\\", "x"}},
        {"p C:\\dir\\", {"p", "C:\\dir\\"}},
        {"p \"\" x", {"p", "", "x"}},
        {"p \"\"", {"p", ""}},
        {"p \"a\"\"b\" c", {"p", "a\"b c"}},
        {"p \"\"\"a\"", {"p", "\"a"}},
        {"p a\"b\"c", {"p", "abc"}},
        {"p \"unclosed arg", {"p", "unclosed arg"}},
        {"QV5body.exe -audio \"x\\y.bms\" \"Z:\\out dir\\a.wav\"",
         {"QV5body.exe", "-audio", "x\\y.bms", "Z:\\out dir\\a.wav"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.want) << c.line;
}

TEST(SplitCommandLine, KeepsCp932TrailBytesThatLookLikeBackslashes) {
    // 表 is 0x95 0x5C: its trail byte must not escape the closing quote.
    const std::string hyo = Sj(u8"表");
    Args got = SplitCommandLine("p \"songs\\" + hyo + "\" next");
    EXPECT_EQ(got, (Args{"p", "songs\\" + hyo, "next"}));
}

TEST(WildcardMatch, MatchesAsWindowsDoes) {
    struct Case {
        const char* pattern;
        const char* name;
        bool want;
    } cases[] = {
        {"*.ogg", "a.ogg", true},
        {"*.ogg", "A.OGG", true},
        {"*.ogg", "a.ogg.bak", false},
        {"*.*", "noext", true},
        {"*.*", "a.b", true},
        {"?.wav", "a.wav", true},
        {"?.wav", "ab.wav", false},
        {"a*b*c", "axxbyyc", true},
        {"a*b*c", "axxbyy", false},
        {"?.ogg", "曲.ogg", true},
        {"*", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.want) << c.pattern << " " << c.name;
}

class ProcessTest : public ::testing::Test {
  protected:
    test::TempGame game;
    test::FakeWine wine;
    ProcessRunner& run = Processes();
};

TEST_F(ProcessTest, WindowsProgramsRunUnderWineInTheProgramDirectory) {
    game.WriteFile("QV5body.exe", "not really");
    const std::string hyo = Sj(u8"表");
    ProcessResult r =
        run.Run("QV5body.exe -a \"songs\\" + hyo + " a\\b c.bms\" \"Z:\\tmp\\x\"", Wait::Yes);
    ASSERT_TRUE(r.started) << r.error;
    EXPECT_EQ(r.exit_code, 0);
    auto runs = wine.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(std::filesystem::canonical(runs[0].cwd), std::filesystem::canonical(game.host()));
    EXPECT_EQ(runs[0].argv, (Args{"QV5body.exe", "-a", "songs\\表 a\\b c.bms", "Z:\\tmp\\x"}));
}

TEST_F(ProcessTest, AFileStartingWithMzRunsUnderWineWhateverItsName) {
    game.WriteFile("tools/encoder", "MZ\x90");
    ProcessResult r = run.Run("tools\\encoder x\\y", Wait::Yes);
    ASSERT_TRUE(r.started) << r.error;
    auto runs = wine.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].argv, (Args{"tools/encoder", "x\\y"}));
}

TEST_F(ProcessTest, MissingProgramOrWineStartsNothing) {
    ProcessResult r = run.Run("QV5body.exe -s", Wait::Yes);
    EXPECT_FALSE(r.started);
    EXPECT_EQ(r.reason, StartError::ProgramMissing);
    // The message names the folder looked in: where the program must go.
    const std::string bare_en = "QV5body.exe not found in " + game.host() + " nor on PATH.";
    const std::string bare_ja =
        "QV5body.exe が " + game.host() + U(u8" にもPATHにも見つかりません。");
    const std::string path_en = "bin\\QV5body.exe not found in " + game.host() + "/bin.";
    const std::string path_ja =
        "bin\\QV5body.exe が " + game.host() + U(u8"/bin に見つかりません。");
    test::ExpectInBothLanguages([&](const test::AddText& add) {
        add(run.Run("QV5body.exe -s", Wait::Yes).error, bare_en.c_str(), bare_ja.c_str());
        add(run.Run("bin\\QV5body.exe -s", Wait::Yes).error, path_en.c_str(), path_ja.c_str());
    });

    game.WriteFile("QV5body.exe", "x");
    wine.Remove();
    r = run.Run("QV5body.exe -s", Wait::Yes);
    EXPECT_FALSE(r.started);
    EXPECT_EQ(r.reason, StartError::WineMissing);
    EXPECT_NE(r.error.find("wine"), std::string::npos);
    EXPECT_TRUE(wine.Runs().empty());
}

TEST_F(ProcessTest, WindowsProgramsRunInTheWineLocaleAndNativeOnesInTheUsers) {
    // The fake wine asks for C.UTF-8, standing in for the Japanese locale.
    test::ScopedEnv users("LC_ALL", "POSIX");
    game.WriteFile("QV5body.exe", "x");
    wine.SetAction("printf '%s' \"$LC_ALL\" > wine_locale");
    game.WriteFile("native", "#!/bin/sh\nprintf '%s' \"$LC_ALL\" > native_locale\n");
    std::filesystem::permissions(game.HostPath("native"), std::filesystem::perms::owner_all);
    EXPECT_TRUE(run.Run("QV5body.exe -s", Wait::Yes).started);
    EXPECT_TRUE(run.Run("native", Wait::Yes).started);
    EXPECT_EQ(game.ReadFile("wine_locale"), "C.UTF-8");
    EXPECT_EQ(game.ReadFile("native_locale"), "POSIX");
}

TEST_F(ProcessTest, NativeProgramsGetHostPathsAndExpandedWildcards) {
    // A native helper beside the program: records its arguments.
    game.WriteFile("tools/record.sh",
                   "#!/bin/sh\npwd > args.txt\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> "
                   "args.txt; done\n");
    std::filesystem::permissions(game.HostPath("tools/record.sh"),
                                 std::filesystem::perms::owner_all);
    game.WriteFile("songs/曲/b.ogg", "");
    game.WriteFile("songs/曲/a.OGG", "");
    game.WriteFile("songs/曲/c.wav", "");
    const std::string dir = "songs\\" + Sj(u8"曲") + "\\";
    ProcessResult r = run.Run(
        "tools\\record.sh -q 6 \"" + dir + "*.ogg\" " + dir + "*.mp3 \"Z:" + "\\tmp\\a b\" plain",
        Wait::Yes);
    ASSERT_TRUE(r.started) << r.error;
    EXPECT_EQ(r.exit_code, 0);
    std::ifstream in(game.HostPath("args.txt"));
    Args lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(std::filesystem::canonical(lines[0]), std::filesystem::canonical(game.host()));
    lines.erase(lines.begin());
    EXPECT_EQ(lines, (Args{"-q", "6", "songs/曲/a.OGG", "songs/曲/b.ogg", "songs/曲/*.mp3",
                           "/tmp/a b", "plain"}));
    EXPECT_TRUE(wine.Runs().empty());
}

TEST_F(ProcessTest, BareNamesAreLookedUpBesideTheProgramThenOnPath) {
    ProcessResult r = run.Run("true", Wait::Yes);
    ASSERT_TRUE(r.started) << r.error;
    EXPECT_EQ(r.exit_code, 0);
    // A program of the same name beside this one wins over PATH.
    game.WriteFile("true", "#!/bin/sh\nexit 7\n");
    std::filesystem::permissions(game.HostPath("true"), std::filesystem::perms::owner_all);
    EXPECT_EQ(run.Run("true", Wait::Yes).exit_code, 7);
}

TEST_F(ProcessTest, NoWaitReturnsAtOnceAndLeavesNoChildToReap) {
    game.WriteFile("QV5body.exe", "x");
    // The fake game waits until the test lets it go.
    wine.SetAction("while [ ! -f go ]; do sleep 0.01; done; touch done");
    ProcessResult r = run.Run("QV5body.exe -s", Wait::No);
    ASSERT_TRUE(r.started) << r.error;
    EXPECT_FALSE(game.Exists("done"));
    // The game body is not our child: nothing to reap, ever.
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    game.WriteFile("go", "");
    for (int i = 0; i < 2000 && !game.Exists("done"); ++i) usleep(5000);
    EXPECT_TRUE(game.Exists("done"));
}

TEST_F(ProcessTest, WaitReturnsOnlyAfterTheProgramEndedAndCallsTheHook) {
    game.WriteFile("QV5body.exe", "x");
    wine.SetAction("sleep 0.2; touch done; exit 3");
    std::string hooked;
    WaitHook old =
        SetWaitHook([&](const std::string& program, const std::function<bool()>& exited) {
            hooked = program;
            while (!exited()) usleep(1000);
        });
    ProcessResult r = run.Run("QV5body.exe x", Wait::Yes);
    SetWaitHook(old);
    EXPECT_TRUE(r.started);
    EXPECT_EQ(r.exit_code, 3);
    EXPECT_TRUE(game.Exists("done"));
    EXPECT_EQ(hooked, "QV5body.exe");
}

TEST_F(ProcessTest, ProgramsLeadAGroupOfTheirOwnWithNoInputAndCanBeEnded) {
    game.WriteFile("tools/group.sh",
                   "#!/bin/sh\ncut -d' ' -f5 /proc/$$/stat > group\necho $$ > pid\n"
                   "read line; echo \"read:$line:$?\" > input\n[ \"$1\" = wait ] && sleep 600\n");
    std::filesystem::permissions(game.HostPath("tools/group.sh"),
                                 std::filesystem::perms::owner_all);
    ProcessResult r = run.Run("tools\\group.sh", Wait::Yes);
    ASSERT_TRUE(r.started) << r.error;
    EXPECT_EQ(game.ReadFile("group"), game.ReadFile("pid"));
    EXPECT_EQ(game.ReadFile("input"), "read::1\n");  // at its end at once

    for (bool kill : {false, true}) {
        std::filesystem::remove(game.HostPath("input"));
        std::unique_ptr<ChildProcess> child = StartProgram("tools\\group.sh wait", r);
        ASSERT_TRUE(child) << r.error;
        while (!game.Exists("input")) usleep(1000);
        EXPECT_FALSE(child->Ended());
        kill ? child->Kill() : child->Terminate();
        WaitForAny({child.get()}, std::chrono::seconds(10));
        EXPECT_TRUE(child->Ended());
        EXPECT_EQ(child->exit_code(), 128 + (kill ? SIGKILL : SIGTERM));
    }
}

}  // namespace
}  // namespace qv5
