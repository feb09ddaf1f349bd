// The program as started: library commands in the quick program, everything
// else handed to the full program beside it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

using Result = test::ShellResult;

Result RunProgram(const std::string& exe, const std::string& args, const std::string& in = ".") {
    const std::string command = "cd '" + in + "' && '" + exe + "' " + args + " 2>&1";
    return test::RunShell(command);
}

const std::string kQuick = QV5_EXE;
const std::string kFull = fs::path(QV5_EXE).parent_path() / "QV5-full";

// Both programs give the same answer, word for word, to every command line:
// the quick one either runs the library command the full one would or hands
// the whole command line over.
TEST(QuickStart, AnswersAsTheFullProgramDoes) {
    test::TempGame game;
    game.WriteFile("songs/p1/a.bms", "#TITLE A\n#00111:0101\n");
    game.WriteFile("other/b.bms", "#TITLE B\n");
    const char* rows[] = {
        "refresh {dir}/songs",  // before the root is registered
        "add-root /no/such/folder",
        "add-root {dir}/songs",
        "add-root {dir}/songs",  // already registered
        "refresh {dir}/songs",
        "refresh {dir}/other",
        "rescan",
        "rescan extra",
        "refresh",
        "frobnicate",
        "--help",
        "--dir",
    };
    // Registration changes the game folder: the full program runs on a copy
    // of the state before each row, the quick one on the folder itself.
    const std::string copy = game.host() + ".full";
    for (const std::string row : rows) {
        auto args = [&](const std::string& dir) {
            std::string a = row;
            if (auto at = a.find("{dir}"); at != std::string::npos) a.replace(at, 5, dir);
            return "--dir '" + dir + "' " + a;
        };
        fs::remove_all(copy);
        fs::copy(game.host(), copy, fs::copy_options::recursive);
        // Each from its own game folder: the paths they print are relative to it.
        const Result full = RunProgram(kFull, args(copy), copy);
        const Result quick = RunProgram(kQuick, args(game.host()), game.host());
        EXPECT_EQ(quick.code, full.code) << row;
        EXPECT_EQ(quick.out, full.out) << row;
    }
    fs::remove_all(copy);
}

// Without the full program beside it, the quick one still keeps the library
// and says what it cannot start.
TEST(QuickStart, LibraryCommandsNeedNothingElse) {
    test::TempGame game;
    game.WriteFile("songs/p1/a.bms", "#TITLE A\n#00111:0101\n");
    const fs::path alone =
        fs::path(game.host()).parent_path() / (fs::path(game.host()).filename().string() + ".bin");
    fs::create_directories(alone);
    fs::copy_file(kQuick, alone / "QV5");
    const std::string exe = (alone / "QV5").string();
    const std::string dir = "--dir '" + game.host() + "' ";
    Result r = RunProgram(exe, dir + "add-root '" + game.HostPath("songs") + "'");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("add-root: 1 chart in 2 folders"), std::string::npos) << r.out;
    r = RunProgram(exe, dir + "refresh '" + game.HostPath("songs/p1") + "'");
    EXPECT_EQ(r.code, 0) << r.out;
    // The commands that read the library need no Qt either.
    r = RunProgram(exe, dir + "info '" + game.HostPath("songs/p1/a.bms") + "'");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("[TITLE] A"), std::string::npos) << r.out;
    r = RunProgram(exe, dir + "import-courses '" + game.HostPath("courses.xml") + "'");
    EXPECT_EQ(r.code, 127);
    EXPECT_NE(r.out.find("QV5: cannot start " + (alone / "QV5-full").string()), std::string::npos)
        << r.out;
    fs::remove_all(alone);
}

}  // namespace
}  // namespace qv5

namespace qv5 {
namespace {

// Without --dir and without QV5files beside the executable, a command runs on
// the folder the window remembered, or says where it looked.
TEST(QuickStart, ACommandWithoutAFolderUsesTheRememberedOne) {
    test::TempGame game;
    game.WriteFile("songs/p1/a.bms", "#TITLE A\n#00111:0101\n");
    const std::string home = game.HostPath("xdg");
    fs::create_directories(home + "/qv5setup");
    ASSERT_FALSE(fs::exists(fs::path(kQuick).parent_path() / "QV5files"));
    const std::string env = "XDG_CONFIG_HOME='" + home + "' ";
    Result r =
        test::RunShell(env + "'" + kQuick + "' add-root '" + game.HostPath("songs") + "' 2>&1");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find(fs::path(kQuick).parent_path().string() + " holds no QV5files"),
              std::string::npos)
        << r.out;
    {
        std::FILE* f = std::fopen((home + "/qv5setup/QV5.conf").c_str(), "w");
        ASSERT_TRUE(f);
        std::fprintf(f, "[General]\ngameFolder=%s\n", game.host().c_str());
        std::fclose(f);
    }
    r = test::RunShell(env + "'" + kQuick + "' add-root '" + game.HostPath("songs") + "' 2>&1");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_TRUE(fs::exists(game.HostPath("QV5files/Database/song.db")));
}

}  // namespace
}  // namespace qv5
