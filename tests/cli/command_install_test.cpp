// The install command, end to end: the real executable on archives written
// by the test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/database.h"
#include "support/library_rows.h"
#include "support/shell.h"
#include "support/small_fs.h"
#include "support/temp_game.h"
#include "support/zip_writer.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;
using Result = test::ShellResult;

Result RunQv5(const test::TempGame& game, const std::string& args) {
    const std::string command =
        std::string("cd '") + game.host() + "' && '" + QV5_EXE + "' --dir . " + args + " 2>&1";
    return test::RunShell(command);
}

TEST(InstallCommand, InstallsEachArchiveAndReportsWhatItLeftOut) {
    test::TempGame game;
    game.WriteFile("Songs/Cat/Old/old.bms", "#TITLE old\r\n");
    Result r = RunQv5(game, "add-root Songs");
    ASSERT_EQ(r.code, 0) << r.out;

    test::WriteZip(game.HostPath("a.zip"),
                   {test::File("Song/a.bms", "#TITLE a\r\n"), test::File("../evil.txt", "e")});
    test::WriteZip(game.HostPath("Root Pack.zip"), {test::File("x.bme", "#TITLE x\r\n")});
    test::WriteZip(game.HostPath("none.zip"), {test::File("readme.txt")});
    // One byte of a stored entry changed: it fails its CRC.
    test::ZipOptions stored;
    stored.stored = true;
    test::WriteZip(game.HostPath("bad.zip"),
                   {test::File("Bad/a.bms", "#TITLE a\r\n"), test::File("Bad/b.wav", "keysound")},
                   stored);
    std::string bad = game.ReadFile("bad.zip");
    bad[bad.find("keysound") + 3] ^= 0x20;
    game.WriteFile("bad.zip", bad);
    // The other archive that the quoted name used to install.
    test::WriteZip(game.HostPath("Song \"Remix\".zip"), {test::File("q.bms", "#TITLE q\r\n")});
    test::WriteZip(game.HostPath("Song Remix.zip"), {test::File("r.bms", "#TITLE r\r\n")});
    r = RunQv5(game, "install a.zip 'Root Pack.zip' --into Songs/Cat");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("install: a.zip -> Songs/Cat/Song/ (1 file, 1 chart in the folder)"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("展開先の外を指す名前: 1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Songs/Cat/Root Pack/"), std::string::npos) << r.out;
    EXPECT_EQ(test::SongsLike(test::SongDbFile(game), "Songs\\Cat\\Song\\%"), 1);
    EXPECT_EQ(test::SongsLike(test::SongDbFile(game), "Songs\\Cat\\Root Pack\\%"), 1);
    EXPECT_FALSE(game.Exists("Songs/evil.txt"));
    EXPECT_TRUE(game.Exists("a.zip"));

    struct Case {
        std::string args;
        int code;
        std::string output;
    };
    const std::vector<Case> cases = {
        {"install none.zip --into Songs/Cat", 1, "譜面ファイルが見つかりません。"},
        {"install bad.zip --into Songs/Cat", 1, "ZIP bad CRC"},
        {"install 'Song \"Remix\".zip' --into Songs/Cat", 1, "名前に「\"」を含むため"},
        {"install a.zip --into Elsewhere", 1, "no such file or folder: Elsewhere"},
        {"install a.txt --into Songs", 1, "no such file or folder: a.txt"},
        {"install --into Songs", 2, "Usage:"},
    };
    game.MakeDir("Elsewhere2");
    for (const Case& c : cases) {
        r = RunQv5(game, c.args);
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.output), std::string::npos) << c.args << "\n" << r.out;
    }
    EXPECT_FALSE(game.Exists("Songs/Cat/Bad"));
    EXPECT_FALSE(game.Exists("Songs/Cat/Song Remix"));
    EXPECT_FALSE(game.Exists("Songs/Cat/Song \"Remix\""));
    r = RunQv5(game, "install a.zip --into Elsewhere2");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("not inside a registered song folder"), std::string::npos) << r.out;
}

// A chart placing each sound it defines once.
std::string PlacedChart(const std::string& title, const std::vector<std::string>& sounds) {
    static const char* kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string text = "#TITLE " + title + "\r\n", objects;
    for (size_t i = 0; i < sounds.size(); ++i) {
        const std::string id = {kDigits[(i + 1) / 36], kDigits[(i + 1) % 36]};
        text += "#WAV" + id + " " + sounds[i] + "\r\n";
        objects += id;
    }
    return text + "#00111:" + objects + "\r\n";
}

std::vector<std::string> Sounds(const std::string& prefix, int count, const std::string& ext) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(prefix + std::to_string(i) + ext);
    return names;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Result RunQv5InEnglish(const test::TempGame& game, const std::string& args) {
    return test::RunShell(std::string("cd '") + game.host() + "' && QV5_LANG=en '" + QV5_EXE +
                          "' --dir . " + args + " 2>&1");
}

// The names every song folder of the tree holds.
std::vector<std::string> CommonSounds() {
    return Sounds("", 9, ".wav") + std::vector<std::string>{"bgm.wav"};
}

// A song folder `dir` holding `sounds` and its chart placing them.
void WriteSong(const test::TempGame& game, const std::string& dir, const std::string& chart,
               const std::vector<std::string>& sounds) {
    for (const std::string& s : sounds) game.WriteFile(dir + s, "");
    game.WriteFile(dir + chart, PlacedChart(chart, sounds));
}

// Twelve songs of common names and a few of their own, Alpha (sounds in
// ogg) and Beta, below the song folder Songs\, and an empty Songs\Extra\.
void WritePackTree(const test::TempGame& game) {
    const std::vector<std::string> common = CommonSounds();
    for (int i = 0; i < 12; ++i)
        WriteSong(game, "Songs/Pack/filler" + std::to_string(i) + "/", "f.bme",
                  common + Sounds("f" + std::to_string(i) + "_", 5, ".wav"));
    WriteSong(game, "Songs/Pack/Alpha/", "alpha.bms", common + Sounds("kick_a", 12, ".ogg"));
    WriteSong(game, "Songs/Pack/Beta/", "beta.bme", Sounds("beta_", 8, ".wav"));
}

// --auto: each additional chart into the song folder holding its sounds, a
// name taken kept, the same chart copied once, and a chart of common names
// only listed, or put into --into's folder.
TEST(InstallCommand, AutoPlacesChartsInTheirSongFolders) {
    test::TempGame game;
    WritePackTree(game);
    const std::vector<std::string> common = CommonSounds();
    game.MakeDir("Songs/Extra");
    ASSERT_EQ(RunQv5(game, "add-root Songs").code, 0);
    const std::string beta = game.ReadFile("Songs/Pack/Beta/beta.bme");
    game.WriteFile("alpha_ex.bme",
                   PlacedChart("Alpha [EX]", common + Sounds("kick_a", 12, ".wav")));
    game.WriteFile("beta.bme", PlacedChart("Beta [HARD]", Sounds("beta_", 8, ".wav")));
    game.WriteFile("copies/beta.bme", beta);
    game.WriteFile("common.bms", PlacedChart("Common", common));

    struct Case {
        std::string args;
        int code;
        std::vector<std::string> said;
    };
    const std::vector<Case> cases = {
        {"install alpha_ex.bme beta.bme copies/beta.bme common.bms --auto",
         1,
         {"alpha_ex.bme -> Songs/Pack/Alpha/ (22 of 22 sounds found)",
          "beta.bme -> Songs/Pack/Beta/ (8 of 8 sounds found)",
          "beta.bme: another chart of that name is there; copied as beta (2).bme",
          "copies/beta.bme: the same chart is already there as beta.bme; nothing copied",
          "common.bms was not installed: no certain song folder; the nearest is Songs/Pack/"}},
        // Run again: each chart is there now.
        {"install alpha_ex.bme beta.bme --auto",
         0,
         {"alpha_ex.bme: the same chart is already there as alpha_ex.bme; nothing copied",
          "beta.bme: the same chart is already there as beta (2).bme; nothing copied"}},
        {"install common.bms --auto --into Songs/Extra",
         0,
         {"common.bms -> Songs/Extra/ (no certain song folder; the nearest is Songs/Pack/"}},
        {"install alpha_ex.bme --into Songs", 1, {"not a zip or rar archive: alpha_ex.bme"}},
        {"install a.zip --auto", 1, {"an archive needs --into FOLDER: a.zip"}},
        {"install --auto", 2, {"Usage:"}},
        {"install a.zip", 2, {"install: --into FOLDER is missing\nUsage: QV5 install"}},
        {"install alpha_ex.bme --auto --auto", 2, {"install: --auto given twice\nUsage:"}},
    };
    test::WriteZip(game.HostPath("a.zip"), {test::File("Song/a.bms", "#TITLE a\r\n")});
    for (const Case& c : cases) {
        const Result r = RunQv5InEnglish(game, c.args);
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.out;
        for (const std::string& said : c.said)
            EXPECT_NE(r.out.find(said), std::string::npos) << c.args << "\n"
                                                           << said << "\n"
                                                           << r.out;
    }
    EXPECT_EQ(game.ReadFile("Songs/Pack/Alpha/alpha_ex.bme"), game.ReadFile("alpha_ex.bme"));
    EXPECT_EQ(game.ReadFile("Songs/Pack/Beta/beta.bme"), beta);
    EXPECT_EQ(game.ReadFile("Songs/Pack/Beta/beta (2).bme"), game.ReadFile("beta.bme"));
    EXPECT_FALSE(game.Exists("Songs/Pack/Beta/beta (3).bme"));
    EXPECT_EQ(game.ReadFile("Songs/Extra/common.bms"), game.ReadFile("common.bms"));
    const test::DbFile db = test::SongDbFile(game);
    EXPECT_EQ(test::SongsLike(db, "Songs\\Pack\\Alpha\\alpha_ex.bme"), 1);
    EXPECT_EQ(test::SongsLike(db, "Songs\\Pack\\Beta\\beta (2).bme"), 1);
    EXPECT_EQ(test::SongsLike(db, "Songs\\Extra\\common.bms"), 1);
    EXPECT_EQ(test::SongsLike(db, "Songs\\Pack\\%common.bms"), 0);
    EXPECT_EQ(test::SongsLike(db, "Songs\\%"), 17);
}

std::vector<std::string> Rows(const test::TempGame& game);

// An archive of additional charts with --auto: each chart into the song
// folder holding what it uses, with the files beside it that folder lacks;
// a chart of a song the library lacks listed, or put into --into's folder
// as an install would; an archive that brings its sounds installed as a new
// song. song.db stays what a fresh registration gives.
TEST(InstallCommand, AutoPlacesTheChartsOfAnArchiveInTheirSongFolders) {
    test::TempGame game;
    WritePackTree(game);
    const std::vector<std::string> common = CommonSounds();
    WriteSong(game, "Songs/Pack/Gamma/", "gamma.bms", Sounds("g_", 6, ".wav"));
    game.MakeDir("Songs/Extra");
    ASSERT_EQ(RunQv5(game, "add-root Songs").code, 0);
    test::WriteZip(
        game.HostPath("diffs.zip"),
        {test::File("diffs/alpha_ex.bme",
                    PlacedChart("Alpha [EX]", common + Sounds("kick_a", 12, ".wav"))),
         test::File("diffs/beta_hd.bme", PlacedChart("Beta [HARD]", Sounds("beta_", 8, ".wav"))),
         test::File("diffs/gamma_x.bms",
                    PlacedChart("Gamma [X]",
                                Sounds("g_", 6, ".wav") + std::vector<std::string>{"g_extra.wav"})),
         test::File("diffs/G_EXTRA.ogg", "OggS"),  // the one sound it brings
         test::File("diffs/lost.bms", PlacedChart("Lost", Sounds("lost_", 6, ".wav")))});
    std::vector<test::ZipItem> new_song = {
        test::File("New Song/new.bms", PlacedChart("New", Sounds("n_", 6, ".wav")))};
    for (const std::string& n : Sounds("New Song/n_", 6, ".wav")) new_song.push_back(test::File(n));
    test::WriteZip(game.HostPath("new.zip"), new_song);

    const struct {
        std::string args;
        int code;
        std::vector<std::string> said;
    } cases[] = {
        {"install diffs.zip --auto",
         1,
         {"alpha_ex.bme -> Songs/Pack/Alpha/ (22 of 22 sounds found)",
          "beta_hd.bme -> Songs/Pack/Beta/ (8 of 8 sounds found)",
          "gamma_x.bms -> Songs/Pack/Gamma/ (6 of 7 sounds found)", "lost.bms was not installed"}},
        {"install diffs.zip --auto --into Songs/Extra", 0, {"lost.bms -> Songs/Extra/diffs/"}},
        {"install new.zip --auto", 1, {"an archive needs --into FOLDER: new.zip"}},
        {"install new.zip --auto --into Songs/Extra", 0, {"New Song"}},
    };
    for (const auto& c : cases) {
        const Result r = RunQv5InEnglish(game, c.args);
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.out;
        for (const std::string& said : c.said)
            EXPECT_NE(r.out.find(said), std::string::npos) << c.args << "\n"
                                                           << said << "\n"
                                                           << r.out;
    }
    EXPECT_TRUE(game.Exists("Songs/Pack/Alpha/alpha_ex.bme"));
    EXPECT_TRUE(game.Exists("Songs/Pack/Beta/beta_hd.bme"));
    EXPECT_TRUE(game.Exists("Songs/Pack/Gamma/gamma_x.bms"));
    EXPECT_EQ(game.ReadFile("Songs/Pack/Gamma/G_EXTRA.ogg"), "OggS");
    EXPECT_FALSE(game.Exists("Songs/Pack/Alpha/G_EXTRA.ogg"));  // not used there
    EXPECT_TRUE(game.Exists("Songs/Extra/diffs/lost.bms"));
    EXPECT_FALSE(game.Exists("Songs/Extra/diffs/alpha_ex.bme"));  // placed, not put here
    EXPECT_TRUE(game.Exists("Songs/Extra/New Song/n_3.wav"));
    EXPECT_TRUE(game.Exists("Songs/Extra/New Song/new.bms"));
    EXPECT_FALSE(std::filesystem::exists(game.HostPath("QV5files/Temp/placing-0")));
    const test::DbFile db = test::SongDbFile(game);
    for (const char* chart : {"Songs\\Pack\\Alpha\\alpha_ex.bme", "Songs\\Pack\\Beta\\beta_hd.bme",
                              "Songs\\Pack\\Gamma\\gamma_x.bms", "Songs\\Extra\\diffs\\lost.bms",
                              "Songs\\Extra\\New Song\\new.bms"})
        EXPECT_EQ(test::SongsLike(db, chart), 1) << chart;
    const std::vector<std::string> installed = Rows(game);
    ASSERT_EQ(RunQv5(game, "rescan").code, 0);
    EXPECT_EQ(installed, Rows(game));
}

// The library's rows that a registration writes, without its times.
std::vector<std::string> Rows(const test::TempGame& game) {
    std::vector<std::string> rows;
    for (const char* sql : {"SELECT path,parent,title,type FROM folder ORDER BY path",
                            "SELECT path,folder,parent,hash,title FROM song ORDER BY path"})
        for (std::string& row : test::QueryRows(test::SongDbFile(game), sql))
            rows.push_back(std::move(row));
    return rows;
}

// As a drop on the window: any folder inside a registered song folder takes
// the songs, whether the library lists it yet or not; a song folder passes
// them to its parent (a root keeps them); a folder outside every song folder
// is refused. The library then holds what a fresh registration would.
TEST(InstallCommand, IntoAnyFolderInsideASongFolderAsADropDoes) {
    test::TempGame game;
    game.WriteFile("Songs/Cat/Old/old.bms", "#TITLE old\r\n");
    game.WriteFile("Flat/f.bms", "#TITLE f\r\n");
    ASSERT_EQ(RunQv5(game, "add-root Songs").code, 0);
    ASSERT_EQ(RunQv5(game, "add-root Flat").code, 0);
    game.MakeDir("Songs/keep/deeper");  // made after the registration: no rows yet
    game.MakeDir("Outside");
    test::WriteZip(game.HostPath("p.zip"), {test::File("P/p.bms", "#TITLE p\r\n")});
    struct Case {
        std::string into;
        std::string installed;  // the new folder; empty when refused
    } cases[] = {
        {"Songs/keep/deeper", "Songs\\keep\\deeper\\P\\"},
        {"Songs/Cat/Old", "Songs\\Cat\\P\\"},
        {"Flat", "Flat\\P\\"},
        {"Outside", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.into);
        const Result r = RunQv5(game, "install p.zip --into " + c.into);
        if (c.installed.empty()) {
            EXPECT_EQ(r.code, 1) << r.out;
            EXPECT_NE(r.out.find("not inside a registered song folder"), std::string::npos)
                << r.out;
            EXPECT_FALSE(game.Exists(c.into + "/P"));
            continue;
        }
        EXPECT_EQ(r.code, 0) << r.out;
        std::string shown = c.installed;  // as this system names it
        std::replace(shown.begin(), shown.end(), '\\', '/');
        EXPECT_NE(r.out.find("-> " + shown + " (1 file, 1 chart"), std::string::npos) << r.out;
        EXPECT_EQ(test::SongsLike(test::SongDbFile(game), c.installed + "p.bms"), 1);
        const std::vector<std::string> installed = Rows(game);
        ASSERT_EQ(RunQv5(game, "rescan").code, 0);
        EXPECT_EQ(installed, Rows(game));
    }
}

TEST(InstallCommand, TheSummaryStartsItsOwnLineOnATerminal) {
    test::TempGame game;
    game.WriteFile("Songs/Cat/Old/old.bms", "#TITLE old\r\n");
    ASSERT_EQ(RunQv5(game, "add-root Songs").code, 0);
    test::WriteZip(game.HostPath("a.zip"), {test::File("Song/a.bms", "#TITLE a\r\n")});
    // `script` gives the command a terminal for both of its outputs.
    const Result r = test::RunShell("cd '" + game.host() + "' && script -qec \"'" + QV5_EXE +
                                    "' --dir . install a.zip --into Songs/Cat\" /dev/null");
    ASSERT_EQ(r.code, 0) << r.out;
    const size_t at = r.out.find("install: a.zip");
    ASSERT_NE(at, std::string::npos) << r.out;
    EXPECT_NE(r.out.find("entries"), std::string::npos) << r.out;  // the progress was drawn
    const std::string before = r.out.substr(0, at);
    EXPECT_TRUE(before.empty() || before.back() == '\n' || before.ends_with("\r\033[K")) << before;
}

// Starts `install` and sends `sig` once the folder it extracts into holds
// `files` files that have begun to fill (temporary ones included).
int InstallAndSignal(const test::TempGame& game, const std::string& archive,
                     const std::string& folder, size_t files, int sig) {
    const pid_t child = fork();
    if (child < 0) return -1000;
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(QV5_EXE, QV5_EXE, "--dir", game.host().c_str(), "install",
              game.HostPath(archive).c_str(), "--into", game.HostPath("Songs/Cat").c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        size_t begun = 0;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(game.HostPath(folder), ec), end; !ec && it != end;
             it.increment(ec))
            if (it->is_regular_file(ec) && it->file_size(ec) > 0 && !ec) ++begun;
        if (begun >= files) {
            kill(child, sig);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

TEST(InstallCommand, AKilledInstallRunAgainLeavesEveryFileComplete) {
    test::TempGame game;
    test::SmallFileSystem songs(game.HostPath("Songs"), 200 << 10);
    game.WriteFile("Songs/Cat/Old/old.bms", "#TITLE old\r\n");
    ASSERT_EQ(RunQv5(game, "add-root Songs").code, 0);
    constexpr std::int64_t kWav = std::int64_t(32) << 20;
    struct Case {
        size_t files;  // how many files had begun when the signal came
        int sig;
    };
    const std::vector<Case> cases = {{1, SIGKILL}, {2, SIGKILL}, {3, SIGKILL},
                                     {4, SIGKILL}, {2, SIGTERM}, {3, SIGHUP}};
    // A chart, then three large keysounds.
    const std::string chart = "#TITLE big\r\n";
    std::vector<test::ZipItem> items = {test::File("Big/a.bms", chart)};
    for (int i = 0; i < 3; ++i)
        items.push_back(test::File("Big/k" + std::to_string(i) + ".wav", std::string(kWav, '\0')));
    test::WriteZip(game.HostPath("big.zip"), items);
    const std::string name = "Big";
    for (const Case& c : cases) {
        const std::string where =
            std::to_string(c.files) + " files, signal " + std::to_string(c.sig);
        const int code = InstallAndSignal(game, "big.zip", "Songs/Cat/" + name, c.files, c.sig);
        if (c.sig != SIGKILL) {
            // Taken as Ctrl-C: stopped, and what it extracted is gone.
            EXPECT_EQ(code, 1) << where;
            EXPECT_FALSE(game.Exists("Songs/Cat/" + name)) << where;
        }
        const Result again = RunQv5(game, "install big.zip --into Songs/Cat");
        EXPECT_EQ(again.code, 0) << where << "\n" << again.out;
        std::set<std::string> files;
        for (const auto& e : fs::directory_iterator(game.HostPath("Songs/Cat/" + name)))
            files.insert(e.path().filename().string());
        EXPECT_EQ(files, (std::set<std::string>{"a.bms", "k0.wav", "k1.wav", "k2.wav"})) << where;
        EXPECT_EQ(game.ReadFile("Songs/Cat/" + name + "/a.bms"), chart) << where;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(fs::file_size(
                          game.HostPath("Songs/Cat/" + name + "/k" + std::to_string(i) + ".wav")),
                      static_cast<std::uintmax_t>(kWav))
                << where << " k" << i;
        EXPECT_EQ(test::SongsLike(test::SongDbFile(game), "Songs\\Cat\\" + name + "\\%"), 1)
            << where;
        fs::remove_all(game.HostPath("Songs/Cat/" + name));
    }
}

}  // namespace
}  // namespace qv5
