// The command line where writes can fail: every failure exits non-zero with
// the reason, and the library and config.xml stay as they were.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "cli/commands.h"
#include "config/config_file.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/shell.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

using Result = test::ShellResult;

Result Shell(const std::string& command) {
    return test::RunShell(command + " 2>&1");
}

std::string Qv5(const std::string& game_dir) {
    return std::string("'") + QV5_EXE + "' --dir '" + game_dir + "' ";
}

std::vector<std::string> Roots() {
    ConfigRecord c;
    LoadConfig(c);
    return {c.path.begin(), c.path.begin() + c.path_count};
}

void MakeTree(const test::TempGame& game, const std::string& dir, int folders, int charts,
              int title_bytes = 10) {
    for (int f = 0; f < folders; ++f)
        for (int c = 0; c < charts; ++c)
            game.WriteFile(dir + "/p" + std::to_string(f) + "/c" + std::to_string(c) + ".bms",
                           "#TITLE " + std::string(size_t(title_bytes), 't') + std::to_string(c) +
                               "\n#00111:0101\n");
}

using test::SavePlayerConfig;

// QV5 with `args` as a child; its stderr goes to a terminal when `tty` is
// given (it then draws its progress line there), else to /dev/null.
pid_t Start(const std::string& game_dir, std::vector<std::string> args, int* tty = nullptr) {
    args.insert(args.begin(), {QV5_EXE, "--dir", game_dir});
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

TEST(CommandLineFaults, AFullFileSystemRegistersNothing) {
    test::TempGame game;
    MakeTree(game, "songs", 20, 100, 900);
    std::string dir = game.host();
    std::string prefix;
    bool mounted = false;
    const std::string small = game.HostPath("small");
    if (geteuid() == 0) {
        fs::create_directories(small);
        mounted = mount("tmpfs", small.c_str(), "tmpfs", 0, "size=2m") == 0;
    }
    if (mounted) {
        dir = small;
        fs::create_directories(dir + "/QV5files/Config");
        fs::create_directories(dir + "/QV5files/Database/Score");
    } else {
        // Not root: files that may not grow past 256 KiB instead.
        prefix = "trap '' XFSZ; ulimit -f 512; ";
    }
    ASSERT_TRUE(SetProgramDirectory(dir));
    SavePlayerConfig();
    MakeTree(game, "few", 2, 3);
    auto run = [&](const std::string& args) {
        return Shell("sh -c \"" + prefix + "exec " + Qv5(dir) + args + "\"");
    };
    Result r = run("add-root '" + game.HostPath("few") + "'");
    ASSERT_EQ(r.code, 0) << r.out;
    const std::string few = Roots().at(0);

    r = run("add-root '" + game.HostPath("songs") + "'");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("not registered"), std::string::npos) << r.out;
    EXPECT_EQ(test::QueryInt(test::SongDbFile(dir), "SELECT count(*) FROM folder"), 3);
    EXPECT_EQ(test::QueryInt(test::SongDbFile(dir), "SELECT count(*) FROM song"), 6);
    EXPECT_EQ(Roots(), std::vector<std::string>{few});

    // A rescan that runs out of space keeps the old library.
    ConfigRecord c;
    LoadConfig(c);
    c.path[c.path_count++] = *FromHostPath(game.HostPath("songs")) + "\\";
    ASSERT_EQ(SaveConfig(c), 1);
    r = run("rescan");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_EQ(r.out.find("rescan:"), std::string::npos) << r.out;
    EXPECT_EQ(test::QueryInt(test::SongDbFile(dir), "SELECT count(*) FROM folder"), 3);
    EXPECT_EQ(test::QueryInt(test::SongDbFile(dir), "SELECT count(*) FROM song"), 6);
    ASSERT_TRUE(SetProgramDirectory(game.host()));
    if (mounted) umount(small.c_str());
}

TEST(CommandLineFaults, ForeignOrBrokenLibrariesFailLoudly) {
    test::TempGame game;
    SavePlayerConfig();
    MakeTree(game, "songs", 2, 3);
    {
        Database db;
        ASSERT_TRUE(db.Open("QV5files\\Database\\song.db"));
        ASSERT_TRUE(db.Exec("CREATE TABLE song(id INTEGER primary key, name TEXT)"));
    }
    Result r = Shell(Qv5(game.host()) + "add-root '" + game.HostPath("songs") + "'");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("column"), std::string::npos) << r.out;
    EXPECT_TRUE(Roots().empty());
    EXPECT_EQ(test::QueryInt(test::SongDbFile(game), "SELECT count(*) FROM folder"), 0);

    game.WriteFile("QV5files/Database/song.db", std::string(4096, 'x'));
    r = Shell(Qv5(game.host()) + "rescan");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_EQ(r.out.find("rescan:"), std::string::npos) << r.out;
}

TEST(CommandLineFaults, AnUnreadableConfigIsNeitherUsedNorLost) {
    test::TempGame game;
    SavePlayerConfig({"songs\\"});
    MakeTree(game, "songs", 2, 3);
    ASSERT_EQ(Shell(Qv5(game.host()) + "rescan").code, 0);
    const std::string broken = game.ReadFile("QV5files/Config/config.xml") + "x";
    game.WriteFile("QV5files/Config/config.xml", broken);
    MakeTree(game, "more", 1, 1);
    for (const std::string& args :
         {std::string("rescan"), "add-root '" + game.HostPath("more") + "'"}) {
        Result r = Shell(Qv5(game.host()) + args);
        EXPECT_EQ(r.code, 1) << args << "\n" << r.out;
        EXPECT_NE(r.out.find("QV5files\\Config\\config.xml cannot be read"), std::string::npos)
            << r.out;
        EXPECT_EQ(game.ReadFile("QV5files/Config/config.xml"), broken);
        EXPECT_EQ(test::QueryInt(test::SongDbFile(game), "SELECT count(*) FROM song"), 6) << args;
    }
}

TEST(CommandLineFaults, PathsAndSmallFailures) {
    test::TempGame game;
    SavePlayerConfig();
    MakeTree(game, "songs", 1, 1);
    test::TempGame elsewhere;  // the current folder of the user
    MakeTree(elsewhere, "songs", 1, 2);
    Result r = Shell("cd '" + elsewhere.host() + "' && " + Qv5(game.host()) + "add-root songs");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("2 charts"), std::string::npos) << r.out;
    ASSERT_TRUE(SetProgramDirectory(game.host()));
    const auto roots = Roots();
    ASSERT_EQ(roots.size(), 1u);
    EXPECT_EQ(roots[0], *FromHostPath(elsewhere.HostPath("songs")) + "\\");

    // A folder in no registered song folder.
    r = Shell(Qv5(game.host()) + "refresh '" + game.HostPath("songs") + "'");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("not in a registered song folder"), std::string::npos) << r.out;
    // A summary that cannot be written.
    r = Shell("{ " + Qv5(game.host()) + "rescan >/dev/full; }");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("cannot write the output"), std::string::npos) << r.out;
    // The window with no display.
    r = Shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + Qv5(game.host()));
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("xvfb-run"), std::string::npos) << r.out;
}

// An empty word, as an unset variable gives it, is no path: the current
// folder is never taken for it, whatever the command.
TEST(CommandLineFaults, AnEmptyArgumentIsRefused) {
    test::TempGame game;
    SavePlayerConfig({"songs\\"});
    MakeTree(game, "songs", 1, 2);
    ASSERT_EQ(Shell(Qv5(game.host()) + "rescan").code, 0);
    game.WriteFile("songs/p0/k.wav", "RIFF");
    game.WriteFile("a.zip", "PK");
    const std::string config = game.ReadFile("QV5files/Config/config.xml");
    const std::string db = game.ReadFile("QV5files/Database/song.db");
    for (const std::string args :
         {"add-root ''", "refresh ''", "remove-root ''", "hidden-search ''",
          "install a.zip --into ''", "install '' --into songs", "convert wav2ogg ''", "info ''",
          "play ''", "import-courses ''"}) {
        const Result r =
            Shell("cd '" + game.HostPath("songs/p0") + "' && " + Qv5(game.host()) + args);
        EXPECT_EQ(r.code, 2) << args << "\n" << r.out;
        EXPECT_NE(r.out.find("an empty argument"), std::string::npos) << args << "\n" << r.out;
    }
    EXPECT_TRUE(fs::exists(game.HostPath("songs/p0/k.wav")));
    EXPECT_EQ(game.ReadFile("QV5files/Config/config.xml"), config);
    EXPECT_EQ(game.ReadFile("QV5files/Database/song.db"), db);
}

// A file named like a chart but larger than any chart (here 20 GB, sparse)
// is not read through: the scan registers it as unreadable and the check
// names it, both at once rather than after minutes.
TEST(CommandLineFaults, AFileLargerThanAnyChartIsNotReadThrough) {
    test::TempGame game;
    SavePlayerConfig();
    MakeTree(game, "songs", 1, 1);
    {
        std::ofstream(game.HostPath("songs/p0/huge.bms")) << "#TITLE huge\r\n";
    }
    fs::resize_file(game.HostPath("songs/p0/huge.bms"), std::uintmax_t(20) << 30);
    const struct {
        std::string args;
        int code;
        std::string says;
    } cases[] = {
        {"add-root '" + game.HostPath("songs") + "'", 0, "add-root: 2 charts in 2 folders"},
        {"check unreadable", 1, "unreadable\tsongs/p0/huge.bms: larger than 64 MiB"},
    };
    for (const auto& c : cases) {
        const Result r = Shell("QV5_LANG=en timeout 30 " + Qv5(game.host()) + c.args);
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
    }
    EXPECT_EQ(test::QueryInt(test::SongDbFile(game),
                             "SELECT count(*) FROM song WHERE hash = '' AND path LIKE '%huge.bms'"),
              1);
}

// A copy or a link of one program under the other's name is refused, not
// started again and again.
TEST(CommandLineFaults, AProgramStartedUnderTheOthersNameStops) {
    test::TempGame game;
    SavePlayerConfig();
    const std::string bin = game.HostPath("bin");
    fs::create_directories(bin);
    fs::copy_file(QV5_EXE, bin + "/QV5");
    const struct {
        const char* how;
        std::function<void()> make;
    } cases[] = {
        {"copy", [&] { fs::copy_file(QV5_EXE, bin + "/QV5-full"); }},
        {"link", [&] { fs::create_symlink(bin + "/QV5", bin + "/QV5-full"); }},
        {"hard link", [&] { fs::create_hard_link(bin + "/QV5", bin + "/QV5-full"); }},
    };
    for (const auto& c : cases) {
        fs::remove(bin + "/QV5-full");
        c.make();
        // The window and every Qt command go to QV5-full.
        const Result r = Shell("timeout 20 '" + bin + "/QV5' --dir '" + game.host() +
                               "' import-courses courses.xml");
        EXPECT_EQ(r.code, 127) << c.how << "\n" << r.out;
        EXPECT_NE(r.out.find("cannot start"), std::string::npos) << c.how << "\n" << r.out;
    }
}

// A library whose pages are damaged: every command says what SQLite found
// rather than taking a failed read for "not there".
TEST(CommandLineFaults, ADamagedLibraryIsAnError) {
    test::TempGame game;
    SavePlayerConfig({"songs\\"});
    MakeTree(game, "songs", 20, 20);
    MakeTree(game, "other", 1, 1);
    ASSERT_EQ(Shell(Qv5(game.host()) + "rescan").code, 0);
    {
        // Every page but the first (the schema) overwritten.
        std::fstream db(game.HostPath("QV5files/Database/song.db"),
                        std::ios::in | std::ios::out | std::ios::binary);
        db.seekg(0, std::ios::end);
        const std::streamoff size = db.tellg();
        ASSERT_GT(size, 8192);
        db.seekp(4096);
        db << std::string(size_t(size - 4096), '\xff');
    }
    for (const std::string command : {"refresh songs/p1", "rescan", "add-root other"}) {
        Result r = Shell("cd '" + game.host() + "' && " + Qv5(game.host()) + command);
        EXPECT_EQ(r.code, 1) << command << "\n" << r.out;
        EXPECT_NE(r.out.find("malformed"), std::string::npos) << command << "\n" << r.out;
    }
}

TEST(CommandLineFaults, ARescanWaitsForAReader) {
    test::TempGame game;
    SavePlayerConfig({"songs\\"});
    MakeTree(game, "songs", 3, 10);
    ASSERT_EQ(Shell(Qv5(game.host()) + "rescan").code, 0);
    MakeTree(game, "songs", 4, 10);
    Database reader;
    ASSERT_TRUE(reader.Open("QV5files\\Database\\song.db"));
    ASSERT_TRUE(reader.Exec("BEGIN"));
    Statement hold = reader.Prepare("SELECT count(*) FROM song");
    ASSERT_TRUE(hold.Step());
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        hold = Statement();
        reader.Exec("COMMIT");
    });
    Result r = Shell(Qv5(game.host()) + "rescan");
    release.join();
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(test::QueryInt(test::SongDbFile(game), "SELECT count(*) FROM song"), 40);
}

// The add-root is held while it waits for config.xml's lock (which the test
// holds), with its rows written; a rescan then starts. Whatever it read
// before, the rescan must rebuild from the list that includes the new root.
TEST(CommandLineFaults, ARescanBesideAnAddRootKeepsTheNewRoot) {
    test::TempGame game;
    SavePlayerConfig({"a\\"});
    MakeTree(game, "a", 2, 5);
    MakeTree(game, "b", 2, 5);
    ASSERT_EQ(Shell(Qv5(game.host()) + "rescan").code, 0);
    std::optional<FolderLock> config_lock(std::in_place, kConfigFolder);
    ASSERT_TRUE(config_lock->locked());
    const pid_t add = Start(game.host(), {"add-root", game.HostPath("b")});
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!WaitsForFlock(add) && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_TRUE(WaitsForFlock(add)) << "add-root never waited for config.xml";
    int tty = -1;
    const pid_t rescan = Start(game.host(), {"rescan"}, &tty);
    ASSERT_GT(rescan, 0);
    // Either the rescan waits for the add-root, or it has ended already.
    ReadUntil(tty, "Waiting for the song library");
    config_lock.reset();
    EXPECT_EQ(ExitCode(add), 0);
    ReadUntil(tty, "");
    close(tty);
    EXPECT_EQ(ExitCode(rescan), 0);
    EXPECT_EQ(Roots(), (std::vector<std::string>{"a\\", "b\\"}));
    EXPECT_EQ(
        test::QueryInt(test::SongDbFile(game), "SELECT count(*) FROM song WHERE path LIKE 'b\\%'"),
        10);
    EXPECT_EQ(test::QueryInt(test::SongDbFile(game), "SELECT count(*) FROM song"), 20);
}

// A reader that holds the library longer than remove-root waits: nothing is
// excluded, from config.xml or from song.db; once it lets go, both change.
TEST(CommandLineFaults, RemoveRootBesideALongReaderChangesNothing) {
    test::TempGame game;
    SavePlayerConfig();
    MakeTree(game, "songs", 2, 5);
    ASSERT_EQ(Shell(Qv5(game.host()) + "add-root songs").code, 0);
    Database reader;
    ASSERT_TRUE(reader.Open("QV5files\\Database\\song.db"));
    ASSERT_TRUE(reader.Exec("BEGIN"));
    std::optional<Statement> hold = reader.Prepare("SELECT count(*) FROM song");
    ASSERT_TRUE(hold->Step());
    // The command runs in this process, so it can be made to wait 0.2 s, not 30.
    TestDb().SetBusyTimeout(200);
    EXPECT_EQ(RunRemoveRoot({FindCommand("remove-root"), {"songs"}, {}, game.host()}), 1);
    EXPECT_EQ(Roots(), std::vector<std::string>{"songs\\"});
    EXPECT_EQ(test::QueryInt(test::SongDbFile(game), "SELECT count(*) FROM song"), 10);
    hold.reset();
    ASSERT_TRUE(reader.Exec("COMMIT"));
    EXPECT_EQ(RunRemoveRoot({FindCommand("remove-root"), {"songs"}, {}, game.host()}), 0);
    EXPECT_EQ(Roots(), std::vector<std::string>{});
    EXPECT_EQ(test::QueryInt(test::SongDbFile(game), "SELECT count(*) FROM song"), 0);
    TestDb().SetBusyTimeout(Database::kDefaultBusyMilliseconds);
    CloseTestLibrary();
}

TEST(CommandLineFaults, OverlappingAddRootsKeepEveryRoot) {
    for (int round = 0; round < 4; ++round) {
        test::TempGame game;
        SavePlayerConfig();
        for (const char* dir : {"a", "b", "c"}) MakeTree(game, dir, 2, 5);
        std::vector<FILE*> runs;
        for (const char* dir : {"a", "b", "c"})
            runs.push_back(
                popen((Qv5(game.host()) + "add-root '" + game.HostPath(dir) + "' >/dev/null 2>&1")
                          .c_str(),
                      "r"));
        for (FILE* p : runs) EXPECT_EQ(pclose(p), 0);
        auto roots = Roots();
        std::sort(roots.begin(), roots.end());
        EXPECT_EQ(roots, (std::vector<std::string>{"a\\", "b\\", "c\\"})) << round;
        EXPECT_EQ(test::QueryInt(test::SongDbFile(game), "SELECT count(*) FROM song"), 30);
    }
}

}  // namespace
}  // namespace qv5
