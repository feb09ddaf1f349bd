// Installs beside each other, as real processes: into one folder (the first
// held mid-extraction while the second runs, then failing on a damaged
// archive), and into nested folders, held at named points (see
// platform/test_pause.h). Afterwards the files are whole and song.db lists
// exactly what is on disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "library/song_library.h"
#include "platform/database.h"
#include "support/library_compare.h"
#include "support/library_rows.h"
#include "support/shell.h"
#include "support/temp_game.h"
#include "support/test_library.h"
#include "support/zip_writer.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

// Starts `install ARCHIVE --into INTO`; with `pause` ("<point>:<host file>")
// it is held there until the file exists.
pid_t StartInstall(const test::TempGame& game, const std::string& archive,
                   const std::string& into = "Songs", const std::string& pause = "") {
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        if (!pause.empty()) setenv("QV5_PAUSE", pause.c_str(), 1);
        execl(QV5_EXE, QV5_EXE, "--dir", game.host().c_str(), "install",
              game.HostPath(archive).c_str(), "--into", game.HostPath(into).c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

int Wait(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Whether `pid` sleeps with the folder open: waiting for the other install.
bool WaitsWithFolderOpen(pid_t pid, const std::string& folder) {
    std::ifstream call("/proc/" + std::to_string(pid) + "/syscall");
    long number = -1;
    if (!(call >> number) || (number != SYS_clock_nanosleep && number != SYS_nanosleep))
        return false;
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
        if (fs::read_symlink(fd.path(), ec) == folder) return true;
    return false;
}

// Waits until `child` is held at its pause, whose file is `hold`.
::testing::AssertionResult Held(pid_t child, const std::string& hold) {
    int status = 0;
    while (!fs::exists(hold + ".here")) {
        if (waitpid(child, &status, WNOHANG) != 0)
            return ::testing::AssertionFailure() << "ended before its pause: " << hold;
        usleep(1000);
    }
    return ::testing::AssertionSuccess();
}

void Release(const std::string& hold) {
    std::ofstream{hold};
}

std::string Noise(size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
    return bytes;
}

// A zip whose chart comes first and whose end is cut off: its extraction
// writes the chart, many other files, then fails.
void WriteDamagedZip(const std::string& host_path) {
    std::vector<test::ZipItem> items = {test::File("Song/a.bms", "#TITLE a\r\n")};
    for (int i = 0; i < 5000; ++i)
        items.push_back(test::File("Song/f" + std::to_string(i) + ".txt"));
    const std::string noise = Noise(300000, 7);  // incompressible
    items.push_back(test::File("Song/z.wav", noise));
    test::WriteZip(host_path, items);
    // Cut inside z.wav, before the central directory.
    std::ifstream in(host_path, std::ios::binary);
    in.seekg(-22 + 16, std::ios::end);
    unsigned char offset[4];
    in.read(reinterpret_cast<char*>(offset), 4);
    const std::uintmax_t directory =
        offset[0] | offset[1] << 8 | offset[2] << 16 | std::uintmax_t(offset[3]) << 24;
    fs::resize_file(host_path, directory - noise.size() / 2);
}

TEST(InstallRace, TwoInstallsIntoOneFolderRegisterOnlyWhatStays) {
    test::TempGame game;
    game.WriteFile("Songs/Old/old.bms", "#TITLE old\r\n");
    ASSERT_EQ(test::RunShell(std::string("'") + QV5_EXE + "' --dir '" + game.host() +
                             "' add-root Songs >/dev/null 2>&1")
                  .code,
              0);
    WriteDamagedZip(game.HostPath("damaged.zip"));
    test::WriteZip(game.HostPath("good.zip"), {test::File("Other/b.bms", "#TITLE b\r\n")});

    // The first install is held once its chart is on disk.
    const pid_t first = StartInstall(game, "damaged.zip");
    int status = 0;
    while (!game.Exists("Songs/Song/a.bms")) {
        ASSERT_EQ(waitpid(first, &status, WNOHANG), 0) << "the first install ended early";
        usleep(200);
    }
    kill(first, SIGSTOP);
    // The second runs until it ends or waits for the first.
    const pid_t second = StartInstall(game, "good.zip");
    const std::string songs = fs::canonical(game.HostPath("Songs")).string();
    pid_t ended = 0;
    while ((ended = waitpid(second, &status, WNOHANG)) == 0 && !WaitsWithFolderOpen(second, songs))
        usleep(1000);
    kill(first, SIGCONT);
    EXPECT_EQ(Wait(first), 1);
    if (ended == second)
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
    else
        EXPECT_EQ(Wait(second), 0);

    EXPECT_EQ(test::QueryRows(test::SongDbFile(game), "SELECT path FROM song ORDER BY path"),
              (std::vector<std::string>{"Songs\\Old\\old.bms", "Songs\\Other\\b.bms"}));
    EXPECT_FALSE(game.Exists("Songs/Song"));
}

void AddRoot(const test::TempGame& game) {
    ASSERT_EQ(test::RunShell(std::string("'") + QV5_EXE + "' --dir '" + game.host() +
                             "' add-root Songs >/dev/null 2>&1")
                  .code,
              0);
}

// Two installs write the same file, one into Songs, the other into
// Songs/Cat: each is held in the middle of writing it while the other writes
// its own. The first to finish gets the name, with its own bytes whole.
TEST(InstallRace, NestedInstallsOfOneFileEachWriteTheirOwn) {
    test::TempGame game;
    game.WriteFile("Songs/Cat/Old/old.bms", "#TITLE old\r\n");
    AddRoot(game);
    const std::string outer_wav = Noise(1 << 20, 1), inner_wav = Noise(1 << 20, 2);
    test::WriteZip(game.HostPath("outer.zip"), {test::File("Cat/Song/big.wav", outer_wav),
                                                test::File("Cat/Song/a.bms", "#TITLE a\r\n")});
    test::WriteZip(game.HostPath("inner.zip"), {test::File("Song/big.wav", inner_wav),
                                                test::File("Song/b.bms", "#TITLE b\r\n")});
    const std::string outer_hold = game.HostPath("outer-hold");
    const std::string inner_hold = game.HostPath("inner-hold");
    const pid_t outer = StartInstall(game, "outer.zip", "Songs", "extract-block:" + outer_hold);
    ASSERT_TRUE(Held(outer, outer_hold));
    const pid_t inner = StartInstall(game, "inner.zip", "Songs/Cat", "extract-block:" + inner_hold);
    ASSERT_TRUE(Held(inner, inner_hold));
    Release(outer_hold);
    EXPECT_EQ(Wait(outer), 0);
    Release(inner_hold);
    EXPECT_EQ(Wait(inner), 0);  // its big.wav is kept out: the outer one was there first

    EXPECT_TRUE(game.ReadFile("Songs/Cat/Song/big.wav") == outer_wav)
        << "big.wav has " << game.ReadFile("Songs/Cat/Song/big.wav").size() << " bytes, "
        << (game.ReadFile("Songs/Cat/Song/big.wav") == inner_wav ? "the inner install's"
                                                                 : "neither install's");
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(game.HostPath("Songs/Cat/Song")))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"a.bms", "b.bms", "big.wav"}));
    OpenTestLibrary("");
    EXPECT_TRUE(test::MatchesFreshRegistration({"Songs\\"}));
    CloseTestLibrary();
}

// An install into Songs/Cat, a folder the library does not list yet, is held
// once its chart is on disk; an install into Songs registers meanwhile, its
// scan going down into Songs/Cat. Whether the held one then fails or ends
// well, and whether it fails before or during the other's registration,
// song.db afterwards is what registering Songs anew would give.
TEST(InstallRace, ANestedInstallsOutcomeIsWhatTheLibraryKeeps) {
    struct Case {
        const char* name;
        bool damaged;      // the held install fails and takes its files back
        bool during_scan;  // it does so while the other's registration is open
    } cases[] = {{"fails after the other registered", true, false},
                 {"fails during the other's registration", true, true},
                 {"ends well after the other registered", false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempGame game;
        game.WriteFile("Songs/Old/old.bms", "#TITLE old\r\n");
        AddRoot(game);
        game.MakeDir("Songs/Cat");
        if (c.damaged)
            WriteDamagedZip(game.HostPath("inner.zip"));
        else
            test::WriteZip(game.HostPath("inner.zip"),
                           {test::File("Song/a.bms", "#TITLE a\r\n"), test::File("Song/c.bms")});
        test::WriteZip(game.HostPath("outer.zip"), {test::File("Other/b.bms", "#TITLE b\r\n")});
        const std::string inner_hold = game.HostPath("inner-hold");
        const std::string outer_hold = game.HostPath("outer-hold");
        const pid_t inner =
            StartInstall(game, "inner.zip", "Songs/Cat", "extract-file:" + inner_hold);
        ASSERT_TRUE(Held(inner, inner_hold));
        const pid_t outer = StartInstall(game, "outer.zip", "Songs",
                                         c.during_scan ? "register-scanned:" + outer_hold : "");
        if (c.during_scan) {
            ASSERT_TRUE(Held(outer, outer_hold));
            Release(inner_hold);
            while (game.Exists("Songs/Cat/Song")) {
                int status = 0;
                ASSERT_EQ(waitpid(inner, &status, WNOHANG), 0) << "ended with its files there";
                usleep(1000);
            }
            Release(outer_hold);
        } else {
            EXPECT_EQ(Wait(outer), 0);
            Release(inner_hold);
        }
        EXPECT_EQ(Wait(inner), c.damaged ? 1 : 0);
        if (c.during_scan) {
            EXPECT_EQ(Wait(outer), 0);
        }
        EXPECT_EQ(game.Exists("Songs/Cat/Song/a.bms"), !c.damaged);
        OpenTestLibrary("");
        EXPECT_TRUE(test::MatchesFreshRegistration({"Songs\\"}));
        CloseTestLibrary();
    }
}

}  // namespace
}  // namespace qv5
