// `QV5 convert`: the real executable with the programs of config.xml.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "config/config_file.h"
#include "config/tool_settings.h"
#include "convert/media_files.h"
#include "convert/output_check.h"
#include "platform/process.h"
#include "support/shell.h"
#include "support/small_fs.h"

namespace qv5 {
namespace {

using Names = std::vector<std::string>;

using Result = test::ShellResult;

Result RunQv5(const test::TempGame& game, const std::string& args, const std::string& cwd) {
    const std::string command = "cd '" + cwd + "' && '" + std::string(QV5_EXE) + "' --dir '" +
                                game.host() + "' " + args + " 2>&1";
    return test::RunShell(command);
}

void Configure(const ToolSettings& tools) {
    ConfigRecord config;
    LoadConfig(config);
    StoreToolSettings(tools, config);
    ASSERT_EQ(SaveConfig(config), 1);
}

TEST(ConvertCommand, RunsEachPassWithTheConfiguredPrograms) {
    test::TempGame game;
    Configure(test::Tools(test::RealEncoder(), test::RealDecoder()));
    game.WriteFile("songs/s/a.wav", test::WavBytes());
    game.WriteFile("songs/s/sub/b.WAV", test::WavBytes(1));
    game.WriteFile("songs/s/sub/c.bmp", test::Encode(test::TestPicture(), "BMP"));

    struct Step {
        std::string args, cwd;
        Names after;
    } steps[] = {
        {"convert wav2ogg songs/s", game.host(), {"a.ogg", "sub/b.ogg", "sub/c.bmp"}},
        {"convert ogg2wav .", game.HostPath("songs/s"), {"a.wav", "sub/b.wav", "sub/c.bmp"}},
        {"convert bmp2png '" + game.HostPath("songs/s") + "'",
         "/",
         {"a.wav", "sub/b.wav", "sub/c.png"}},
        {"convert png2bmp s", game.HostPath("songs"), {"a.wav", "sub/b.wav", "sub/c.bmp"}},
        {"convert all songs/s", game.host(), {"a.ogg", "sub/b.ogg", "sub/c.png"}},
    };
    for (const Step& s : steps) {
        Result r = RunQv5(game, s.args, s.cwd);
        EXPECT_EQ(r.code, 0) << s.args << "\n" << r.out;
        EXPECT_NE(r.out.find(" converted, 0 kept in "), std::string::npos) << r.out;
        EXPECT_EQ(test::FilesBelow(game, "songs/s"), s.after) << s.args;
    }
}

TEST(ConvertCommand, FailuresExitNonZeroWithAMessage) {
    test::TempGame game;
    game.WriteFile("songs/s/a.wav", test::WavBytes());
    game.WriteFile("songs/s/b.bmp", "broken");
    test::WriteFakeProgram(game, "tools/enc");  // writes nothing
    struct Case {
        ToolSettings tools;
        std::string args, message;
        int code;
    } cases[] = {
        {test::Tools("tools\\oggenc2.exe"), "convert wav2ogg songs/s",
         "oggエンコーダーが設定されていません。", 1},
        {test::Tools("tools\\enc"), "convert wav2ogg songs/s", "kept songs/s/a.wav", 1},
        {test::Tools("tools\\enc"), "convert bmp2png songs/s", "kept songs/s/b.bmp", 1},
        {test::Tools("tools\\enc"), "convert wav2ogg songs/none", "no such folder", 1},
        {test::Tools("tools\\enc"), "convert wav2ogg songs/s/a.wav", "not a folder", 1},
        {test::Tools("tools\\enc"), "convert mp3 songs/s", "unknown conversion", 1},
        {test::Tools("tools\\enc"), "convert wav2ogg", "Usage", 2},
    };
    for (const Case& c : cases) {
        Configure(c.tools);
        Result r = RunQv5(game, c.args, game.host());
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
        EXPECT_EQ(test::FilesBelow(game, "songs/s"), (Names{"a.wav", "b.bmp"}));
    }
}

TEST(ConvertCommand, AFullDiskKeepsTheSourceAndRemovesTheCutOutput) {
    struct Case {
        const char *kind, *source, *output;
    } cases[] = {{"wav2ogg", "a.wav", "a.ogg"}, {"ogg2wav", "a.ogg", "a.wav"}};
    for (const Case& c : cases) {
        test::TempGame game;
        Configure(test::Tools(test::RealEncoder(), test::RealDecoder()));
        test::SmallFileSystem disk(game.HostPath("songs/full"), 1024);
        ASSERT_TRUE(disk.mounted());
        // Five seconds of noise: 431 KiB of wav, about 100 KiB of ogg.
        game.WriteFile("noise.wav", test::NoiseWav(5));
        const std::string source = game.HostPath(std::string("songs/full/") + c.source);
        if (c.source == std::string("a.ogg"))
            RunHostProgram({"oggenc", "-Q", "-o", source, game.HostPath("noise.wav")}, Wait::Yes);
        else
            game.WriteFile("songs/full/a.wav", game.ReadFile("noise.wav"));
        const std::string bytes = game.ReadFile(std::string("songs/full/") + c.source);
        ASSERT_GT(bytes.size(), 32u << 10);
        disk.LeaveFree(32 << 10);
        Result r = RunQv5(game, std::string("convert ") + c.kind + " songs/full", game.host());
        EXPECT_EQ(r.code, 1) << c.kind << "\n" << r.out;
        EXPECT_NE(r.out.find(std::string("kept songs/full/") + c.source), std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find("0 files converted"), std::string::npos) << r.out;
        EXPECT_TRUE(game.ReadFile(std::string("songs/full/") + c.source) == bytes) << c.kind;
        EXPECT_FALSE(game.Exists(std::string("songs/full/") + c.output)) << c.kind;
    }
}

// Waits up to a minute for `done`; false when it did not come.
template <typename Done>
bool Within(Done done) {
    for (int i = 0; i < 6000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(ConvertCommand, CtrlCToTheWholeGroupKeepsEverySourceWithoutAWholeOutput) {
    test::TempGame game;
    // The real encoder for every wav but one, whose converter hangs.
    test::WriteFakeProgram(game, "tools/enc",
                           "case \"$2\" in *hang*) printf OggS > \"${2%.wav}.ogg\"; touch hung; "
                           "sleep 600; touch finished;; *) exec oggenc \"$@\";; esac");
    Configure(test::Tools("tools\\enc", "", "-Q"));
    const int kWavs = 6;
    for (int i = 0; i < kWavs; ++i)
        game.WriteFile("songs/s/" + std::to_string(i) + ".wav", test::NoiseWav(3, i));
    game.WriteFile("songs/s/hang.wav", test::WavBytes());

    const std::string out = game.HostPath("out.txt"), folder = game.HostPath("songs/s");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setpgid(0, 0);  // as a shell starts a job
        const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        execl(QV5_EXE, QV5_EXE, "--dir", game.host().c_str(), "convert", "wav2ogg", folder.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    setpgid(child, child);
    EXPECT_TRUE(Within([&] { return game.Exists("hung"); }));
    kill(-child, SIGINT);  // what Ctrl-C at the terminal does
    int status = -1;
    if (!Within([&] { return waitpid(child, &status, WNOHANG) == child; })) {
        kill(-child, SIGKILL);
        waitpid(child, &status, 0);
        ADD_FAILURE() << "the command did not end";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_NE(game.ReadFile("out.txt").find("stopped"), std::string::npos);
    EXPECT_FALSE(game.Exists("finished"));
    EXPECT_TRUE(game.ReadFile("songs/s/hang.wav") == test::WavBytes());
    EXPECT_FALSE(game.Exists("songs/s/hang.ogg"));
    // Each wav is whole and alone, or gone for a whole ogg.
    for (int i = 0; i < kWavs; ++i) {
        const std::string name = "songs/s/" + std::to_string(i);
        if (game.Exists(name + ".wav")) {
            EXPECT_TRUE(game.ReadFile(name + ".wav") == test::NoiseWav(3, i)) << i;
            EXPECT_FALSE(game.Exists(name + ".ogg")) << i;
        } else {
            EXPECT_TRUE(convert::CompleteOgg(name + ".ogg")) << i;
        }
    }
}

// The state letter of a process ('S' while it sleeps in a wait).
char ProcessState(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), {});
    const size_t end = stat.rfind(") ");
    return end == std::string::npos ? '?' : stat[end + 2];
}

// Ctrl-C while a converter runs and the next source waits for its turn: the
// one running finishes, no other starts, and every source not converted is
// named and counted as kept.
TEST(ConvertCommand, CtrlCStartsNoFurtherConverterAndKeepsEveryUntouchedSource) {
    test::TempGame game;
    // Each run waits for "go", then encodes for real.
    test::WriteFakeProgram(game, "tools/enc",
                           "while [ ! -e go ]; do sleep 0.01; done; exec oggenc \"$@\"");
    Configure(test::Tools("tools\\enc", "", "-Q"));
    const int kWavs = 4;
    for (int i = 0; i < kWavs; ++i)
        game.WriteFile("songs/s/" + std::to_string(i) + ".wav", test::WavBytes(i));

    const std::string out = game.HostPath("out.txt");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // One processor: one converter at a time, the next waiting for its turn.
        cpu_set_t set;
        CPU_ZERO(&set);
        if (sched_getaffinity(0, sizeof set, &set) == 0) {
            int first = 0;
            while (!CPU_ISSET(first, &set)) ++first;
            CPU_ZERO(&set);
            CPU_SET(first, &set);
            sched_setaffinity(0, sizeof set, &set);
        }
        const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        if (chdir(game.host().c_str()) != 0) _exit(126);
        execl(QV5_EXE, QV5_EXE, "--dir", game.host().c_str(), "convert", "wav2ogg", "songs/s",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    // The first converter runs and QV5 sleeps waiting for a free slot, the
    // second source taken already.
    EXPECT_TRUE(Within([&] { return test::FakeRuns(game, "tools/enc").size() == 1; }));
    EXPECT_TRUE(Within([&] { return ProcessState(child) == 'S'; }));
    kill(child, SIGINT);  // to QV5 alone: the running converter goes on
    game.WriteFile("go", "");
    int status = -1;
    if (!Within([&] { return waitpid(child, &status, WNOHANG) == child; })) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        ADD_FAILURE() << "the command did not end";
    }
    const std::string text = game.ReadFile("out.txt");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status << "\n" << text;
    const auto runs = test::FakeRuns(game, "tools/enc");
    ASSERT_EQ(runs.size(), 1u) << text;  // none started after the signal

    // The converted one is gone for its whole ogg; the others are untouched
    // and exactly those are kept.
    std::set<std::string> untouched, kept;
    for (int i = 0; i < kWavs; ++i) {
        const std::string name = "songs/s/" + std::to_string(i);
        if (game.Exists(name + ".wav")) {
            EXPECT_TRUE(game.ReadFile(name + ".wav") == test::WavBytes(i)) << i;
            EXPECT_FALSE(game.Exists(name + ".ogg")) << i;
            untouched.insert("songs/s/" + std::to_string(i) + ".wav");
        } else {
            EXPECT_TRUE(convert::CompleteOgg(name + ".ogg")) << i;
        }
    }
    EXPECT_EQ(untouched.size(), size_t(kWavs - 1));
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("QV5: kept ", 0) == 0) kept.insert(line.substr(10));
    EXPECT_EQ(kept, untouched) << text;
    EXPECT_NE(text.find("1 file converted, " + std::to_string(untouched.size()) + " kept in "),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("stopped"), std::string::npos) << text;
}

// The untouched defaults are Windows programs; without them the native ones
// on PATH run with the same options, and the run says which.
TEST(ConvertCommand, UntouchedDefaultsFallBackToTheNativeProgramsOnPath) {
    test::TempGame game;
    ASSERT_FALSE(test::RealEncoder().empty());
    Configure(ToolSettingsFrom(ConfigRecord{}));
    game.WriteFile("songs/s/a.wav", test::WavBytes());
    Result r = RunQv5(game, "convert wav2ogg songs/s", game.host());
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("oggenc2.exe が見つからないため、代わりに "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("/oggenc を使用します。"), std::string::npos) << r.out;
    EXPECT_EQ(test::FilesBelow(game, "songs/s"), (Names{"a.ogg"}));
    r = RunQv5(game, "convert ogg2wav songs/s", game.host());
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("/oggdec を使用します。"), std::string::npos) << r.out;
    EXPECT_EQ(test::FilesBelow(game, "songs/s"), (Names{"a.wav"}));

    // Nothing anywhere: what was looked for and how to install it.
    r = test::RunShell("cd '" + game.host() + "' && PATH=/nonexistent '" + QV5_EXE + "' --dir '" +
                       game.host() + "' convert wav2ogg songs/s 2>&1");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("oggenc2.exe / oggenc"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("apt install vorbis-tools"), std::string::npos) << r.out;
    EXPECT_EQ(test::FilesBelow(game, "songs/s"), (Names{"a.wav"}));
}

}  // namespace
}  // namespace qv5
