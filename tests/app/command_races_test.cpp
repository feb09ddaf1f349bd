// Library commands that meet each other or a reader: config.xml and song.db
// still agree afterwards.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/command_roots.h"
#include "config/config_file.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/files.h"
#include "support/players.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

void MakeTree(const test::TempGame& game, const std::string& dir) {
    for (int f = 0; f < 2; ++f)
        for (int c = 0; c < 5; ++c)
            game.WriteFile(dir + "/p" + std::to_string(f) + "/c" + std::to_string(c) + ".bms",
                           "#TITLE T" + std::to_string(c) + "\n#00111:0101\n");
}

void SavePlayerConfig(const std::vector<std::string>& roots) {
    test::MakePlayer("abc", "pass");
    ConfigRecord c;
    c.id = "abc";
    for (const std::string& r : roots) c.path[c.path_count++] = r;
    ASSERT_EQ(SaveConfig(c), 1);
}

std::vector<std::string> Roots() {
    ConfigRecord c;
    LoadConfig(c);
    return {c.path.begin(), c.path.begin() + c.path_count};
}

int Songs(const test::TempGame& game, const std::string& prefix) {
    Database db;
    if (!db.Open(game.host() + "/QV5files/Database/song.db", Database::Mode::OpenExisting))
        return -1;
    Statement s = db.Prepare("SELECT count(*) FROM song WHERE substr(path, 1, length(?1)) = ?1");
    s.Bind(1, prefix);
    return s.Step() ? s.Int(0) : -1;
}

// QV5 with `args` as a child; its stderr goes to a terminal when `tty` is
// given (it then draws its progress line there), else to /dev/null.
pid_t Start(const test::TempGame& game, std::vector<std::string> args, int* tty = nullptr) {
    args.insert(args.begin(), {QV5_EXE, "--dir", game.host()});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int master = -1, slave = -1;
    if (tty && openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(tty ? slave : null, 2);
        execv(QV5_EXE, argv.data());
        _exit(127);
    }
    if (tty) {
        close(slave);
        *tty = master;
    }
    return child;
}

int ExitCode(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads the terminal until `text` appears (true) or the child has closed it
// (false, at its exit).
bool ReadUntil(int tty, const std::string& text) {
    std::string seen;
    char buffer[512];
    for (;;) {
        const ssize_t n = read(tty, buffer, sizeof buffer);
        if (n <= 0) return false;
        seen.append(buffer, size_t(n));
        if (!text.empty() && seen.find(text) != std::string::npos) return true;
    }
}

// Whether `child` waits for an flock another process holds (the kernel lists
// such waiters in /proc/locks with "->").
bool WaitsForFlock(pid_t child) {
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);)
        if (line.find("-> FLOCK") != std::string::npos &&
            line.find(" " + std::to_string(child) + " ") != std::string::npos)
            return true;
    return false;
}

// The add-root is held while it waits for config.xml's lock (which the test
// holds), with its rows written; a rescan then starts. Whatever it read
// before, the rescan must rebuild from the list that includes the new root.
TEST(CommandRaces, ARescanBesideAnAddRootKeepsTheNewRoot) {
    test::TempGame game;
    SavePlayerConfig({"a\\"});
    MakeTree(game, "a");
    MakeTree(game, "b");
    ASSERT_EQ(test::RunShell(std::string("'") + QV5_EXE + "' --dir '" + game.host() +
                             "' rescan >/dev/null 2>&1")
                  .code,
              0);
    std::optional<FolderLock> config_lock(std::in_place, kConfigFolder);
    ASSERT_TRUE(config_lock->locked());
    const pid_t add = Start(game, {"add-root", game.HostPath("b")});
    ASSERT_GT(add, 0);
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!WaitsForFlock(add) && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_TRUE(WaitsForFlock(add)) << "add-root never waited for config.xml";
    int tty = -1;
    const pid_t rescan = Start(game, {"rescan"}, &tty);
    ASSERT_GT(rescan, 0);
    // Either the rescan waits for the add-root, or it has ended already.
    ReadUntil(tty, "Waiting for the song library");
    config_lock.reset();
    EXPECT_EQ(ExitCode(add), 0);
    ReadUntil(tty, "");
    close(tty);
    EXPECT_EQ(ExitCode(rescan), 0);
    EXPECT_EQ(Roots(), (std::vector<std::string>{"a\\", "b\\"}));
    EXPECT_EQ(Songs(game, "a\\"), 10);
    EXPECT_EQ(Songs(game, "b\\"), 10);
}

// A reader that holds the library longer than remove-root waits: nothing is
// excluded, from config.xml or from song.db; once it lets go, both change.
TEST(CommandRaces, RemoveRootBesideALongReaderChangesNothing) {
    test::TempGame game;
    SavePlayerConfig({});
    MakeTree(game, "songs");
    ASSERT_EQ(test::RunShell(std::string("'") + QV5_EXE + "' --dir '" + game.host() +
                             "' add-root songs >/dev/null 2>&1")
                  .code,
              0);
    Database reader;
    ASSERT_TRUE(reader.Open("QV5files\\Database\\song.db"));
    ASSERT_TRUE(reader.Exec("BEGIN"));
    std::optional<Statement> hold = reader.Prepare("SELECT count(*) FROM song");
    ASSERT_TRUE(hold->Step());
    // The command runs in this process, so it can be made to wait 0.2 s, not 30.
    SongLibrary().SetBusyTimeout(200);
    EXPECT_EQ(RunRootCommand({"remove-root", "songs"}, game.host()), 1);
    EXPECT_EQ(Roots(), (std::vector<std::string>{"songs\\"}));
    EXPECT_EQ(Songs(game, "songs\\"), 10);
    hold.reset();
    ASSERT_TRUE(reader.Exec("COMMIT"));
    EXPECT_EQ(RunRootCommand({"remove-root", "songs"}, game.host()), 0);
    EXPECT_EQ(Roots(), std::vector<std::string>{});
    EXPECT_EQ(Songs(game, "songs\\"), 0);
    SongLibrary().SetBusyTimeout(Database::kDefaultBusyMilliseconds);
    CloseSongLibrary();
}

}  // namespace
}  // namespace qv5
