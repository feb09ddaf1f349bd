// A registration or rescan killed at any moment: afterwards the library is
// the old one or the new one, never a mix, and config.xml names a root only
// when its registration was stored.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "config/config_file.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

constexpr int kFolders = 20, kCharts = 60;

void MakeTree(const test::TempGame& where, const std::string& dir) {
    for (int f = 0; f < kFolders; ++f)
        for (int c = 0; c < kCharts; ++c)
            where.WriteFile(dir + "/p" + std::to_string(f) + "/c" + std::to_string(c) + ".bms",
                            "#TITLE T" + std::to_string(c) + "\n#00111:0101\n");
}

// Starts QV5 with `args` and kills it with SIGKILL after `delay`.
void RunAndKill(const std::string& game_dir, std::vector<std::string> args,
                std::chrono::milliseconds delay) {
    args.insert(args.begin(), {QV5_EXE, "--dir", game_dir});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(QV5_EXE, argv.data());
        _exit(127);
    }
    std::this_thread::sleep_for(delay);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
}

// The rows of `table` as the next reader finds them: the first reader rolls
// back what a killed writer left; killed before the tables were made, the
// library is still empty (0).
int Count(const char* table) {
    return int(
        test::QueryInt(test::ProgramSongDb(), std::string("SELECT count(*) FROM ") + table, {}, 0));
}

int RootCount() {
    ConfigRecord c;
    EXPECT_NE(LoadConfig(c), ConfigState::Unreadable);
    return c.path_count;
}

TEST(KilledCommands, AddRootIsAllOrNothing) {
    test::TempGame tree;
    MakeTree(tree, "songs");
    const std::string songs = tree.HostPath("songs");
    int whole = 0, none = 0;
    for (int ms : {0, 5, 15, 30, 60, 100, 150, 250, 400, 700}) {
        test::TempGame game;
        test::SavePlayerConfig();
        RunAndKill(game.host(), {"add-root", songs}, std::chrono::milliseconds(ms));
        const int charts = Count("song"), folders = Count("folder"), roots = RootCount();
        if (charts == 0) {
            ++none;
            EXPECT_EQ(folders, 0) << ms;
            EXPECT_EQ(roots, 0) << ms;
        } else {
            ++whole;
            EXPECT_EQ(charts, kFolders * kCharts) << ms;
            EXPECT_EQ(folders, kFolders + 1) << ms;
            EXPECT_LE(roots, 1) << ms;  // the kill may fall between the two
        }
        // Whatever the moment, running it again completes the work.
        if (roots == 1) continue;
        FILE* p = popen(("'" + std::string(QV5_EXE) + "' --dir '" + game.host() + "' add-root '" +
                         songs + "' >/dev/null 2>&1")
                            .c_str(),
                        "r");
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(pclose(p), 0) << ms;
        EXPECT_EQ(Count("song"), kFolders * kCharts);
        EXPECT_EQ(RootCount(), 1);
    }
    RecordProperty("killed_before_commit", none);
    RecordProperty("killed_after_commit", whole);
}

TEST(KilledCommands, RescanLeavesTheOldOrTheNewLibrary) {
    test::TempGame tree;
    MakeTree(tree, "a");
    MakeTree(tree, "b");
    const std::string b = *FromHostPath(tree.HostPath("b")) + "\\";
    for (int ms : {0, 10, 30, 60, 100, 200, 400}) {
        test::TempGame game;
        test::SavePlayerConfig();
        FILE* p = popen(("'" + std::string(QV5_EXE) + "' --dir '" + game.host() + "' add-root '" +
                         tree.HostPath("a") + "' >/dev/null 2>&1")
                            .c_str(),
                        "r");
        ASSERT_EQ(pclose(p), 0);
        ConfigRecord c;
        LoadConfig(c);
        ASSERT_EQ(c.path_count, 1);
        c.path[c.path_count++] = b;
        ASSERT_EQ(SaveConfig(c), 1);
        RunAndKill(game.host(), {"rescan"}, std::chrono::milliseconds(ms));
        const int charts = Count("song");
        EXPECT_TRUE(charts == kFolders * kCharts || charts == 2 * kFolders * kCharts)
            << ms << ": " << charts;
        const int folders = Count("folder");
        EXPECT_TRUE(folders == kFolders + 1 || folders == 2 * (kFolders + 1)) << folders;
        EXPECT_EQ(RootCount(), 2);
    }
}

TEST(KilledCommands, CtrlCStopsAndRollsBack) {
    test::TempGame tree;
    MakeTree(tree, "songs");
    test::TempGame game;
    test::SavePlayerConfig();
    const std::string log = game.HostPath("stderr.txt");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 2);
        execl(QV5_EXE, QV5_EXE, "--dir", game.host().c_str(), "add-root",
              tree.HostPath("songs").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Once the registration has begun, the program catches SIGINT.
    auto catches_interrupt = [&] {
        std::ifstream status("/proc/" + std::to_string(child) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("SigCgt:", 0) == 0)
                return (std::stoull(line.substr(7), nullptr, 16) & (1ull << (SIGINT - 1))) != 0;
        return false;
    };
    for (int i = 0; i < 20000 && !catches_interrupt(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(child, SIGINT);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(game.ReadFile("stderr.txt").find("stopped by the user"), std::string::npos)
        << game.ReadFile("stderr.txt");
    EXPECT_EQ(Count("song"), 0);
    EXPECT_EQ(Count("folder"), 0);
    EXPECT_EQ(RootCount(), 0);
}

}  // namespace
}  // namespace qv5
