// Windows programs under real Wine: `QV5 play` starts a stand-in game body
// built by the MinGW cross compiler, which records its ANSI code page and
// whether it could open the chart. All tests share one Wine prefix, since
// making one takes Wine many seconds, and one wineserver kept running between
// them. Outputs go to files: Wine's services would hold a pipe open as long
// as the wineserver runs.
#include "platform/wine_locale.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "platform/process.h"
#include "platform/text.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

// The real wine: the one on PATH, else Debian's wine64 package's own.
std::string RealWine() {
    if (std::string on_path = FindOnPath("wine"); !on_path.empty()) return on_path;
    const char* debian = "/usr/lib/wine/wine64";
    return access(debian, X_OK) == 0 ? debian : "";
}

// The wineserver that goes with RealWine().
std::string RealWineServer() {
    const std::string dir = std::filesystem::path(RealWine()).parent_path().string();
    for (std::string server :
         {dir + "/wineserver", dir + "/wineserver64", std::string("/usr/lib/wine/wineserver64")})
        if (access(server.c_str(), X_OK) == 0) return server;
    return FindOnPath("wineserver");
}

class WinePrefix final : public ::testing::Environment {
  public:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "qv5prefixXXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        std::filesystem::create_directory(dir_ + "/prefix");
        setenv("WINEPREFIX", (dir_ + "/prefix").c_str(), 1);
        setenv("WINEDEBUG", "-all", 1);
        // No offer to download Mono or Gecko into the new prefix.
        setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        // The prefix made whole before any test runs a program in it: made on
        // a first start instead, it was at times left without its system
        // files on a loaded machine ("could not load kernel32.dll").
        const std::string wine = RealWine(), server = RealWineServer();
        if (!wine.empty() && !server.empty())
            test::RunShell("'" + wine + "' wineboot --init </dev/null >/dev/null 2>&1; '" + server +
                           "' -w </dev/null >/dev/null 2>&1");
        // It outlives a crashed test by half a minute at most.
        if (!server.empty()) test::RunShell("'" + server + "' -p30 </dev/null >/dev/null 2>&1");
    }
    void TearDown() override {
        if (std::string server = RealWineServer(); !server.empty())
            test::RunShell("'" + server + "' -k </dev/null >/dev/null 2>&1");
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

  private:
    std::string dir_;
};

const auto* const prefix = ::testing::AddGlobalTestEnvironment(new WinePrefix);

class RealWineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wine_ = RealWine();
        ASSERT_FALSE(wine_.empty()) << "no wine: run scripts/install-deps.sh";
        ASSERT_TRUE(std::filesystem::exists(QV5_STAND_IN))
            << "the stand-in was not built: the MinGW cross compiler is missing "
               "(run scripts/install-deps.sh and configure again)";
        std::filesystem::copy_file(QV5_STAND_IN, game.HostPath("QV5body.exe"));
        game.WriteFile("songs/曲 A/譜面.bms", "#TITLE a\r\n");
        game.WriteFile("cp932_path.txt", Sj(u8"songs\\曲 A\\譜面.bms"));
    }
    // `QV5 play` on the chart from the user's locale C.UTF-8, with `env`;
    // `out` is what it wrote.
    test::ShellResult Play(const std::string& env) {
        test::ShellResult r =
            test::RunShell("cd '" + game.host() + "' && LC_ALL=C.UTF-8 QV5_WINE='" + wine_ + "' " +
                           env + " '" + QV5_EXE + "' --dir '" + game.host() +
                           "' play 'songs/曲 A/譜面.bms' </dev/null >qv5_output.txt 2>&1");
        r.out = game.ReadFile("qv5_output.txt");
        return r;
    }
    test::TempGame game;
    std::string wine_;
};

TEST_F(RealWineTest, TheGameBodyRunsInTheJapaneseCodePageAndOpensTheChart) {
    ASSERT_TRUE(ChooseWineLocale().available) << "no ja_JP.UTF-8: run scripts/install-deps.sh";
    test::ShellResult r = Play("");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out.find("locale"), std::string::npos) << r.out;
    EXPECT_EQ(game.ReadFile("wine_stand_in.txt"), "acp=932\nargument=opened\ncp932=opened\n")
        << r.out;
}

TEST_F(RealWineTest, AMissingLocaleIsNamedOnceWithHowToMakeItAndTheGameStillStarts) {
    test::ShellResult r = Play("QV5_WINE_LOCALE=xx_XX.UTF-8");
    EXPECT_EQ(r.code, 0) << r.out;
    const std::string notice = "QV5: " + MissingWineLocaleNotice("xx_XX.UTF-8") + "\n";
    ASSERT_NE(r.out.find(notice), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(notice, r.out.find(notice) + 1), std::string::npos) << r.out;
    EXPECT_NE(notice.find("localedef -i ja_JP -f UTF-8 ja_JP.UTF-8"), std::string::npos);
    // The game ran in the user's locale.
    EXPECT_EQ(game.ReadFile("wine_stand_in.txt"), "acp=1252\nargument=failed\ncp932=failed\n")
        << r.out;
}

// A script learns how the game ended: `play` exits with the game body's
// status, and says so.
TEST_F(RealWineTest, PlayExitsWithTheGameBodysStatus) {
    game.WriteFile("exit_code.txt", "3");
    test::ShellResult r = Play("QV5_LANG=en");
    EXPECT_EQ(r.code, 3) << r.out;
    EXPECT_NE(r.out.find("QV5: QV5body.exe exited with status 3.\n"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace qv5
