// The install command, end to end: the real executable on archives written
// by the test.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/database.h"
#include "support/shell.h"
#include "support/temp_game.h"
#include "support/zip_writer.h"

namespace qv5 {
namespace {

using Result = test::ShellResult;

Result RunQv5(const test::TempGame& game, const std::string& args) {
    const std::string command =
        std::string("cd '") + game.host() + "' && '" + QV5_EXE + "' --dir . " + args + " 2>&1";
    return test::RunShell(command);
}

int Songs(const test::TempGame& game, const std::string& like) {
    Database db;
    if (!db.Open(game.HostPath("QV5files/Database/song.db"), Database::Mode::OpenExisting))
        return -1;
    Statement s = db.Prepare("SELECT count(*) FROM song WHERE path LIKE ?1");
    s.Bind(1, like);
    return s.Step() ? s.Int(0) : -1;
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
    r = RunQv5(game, "install a.zip 'Root Pack.zip' --into Songs/Cat");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("install: a.zip -> Songs\\Cat\\Song\\ (1 files, 1 charts in the folder)"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("展開先の外を指す名前: 1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Songs\\Cat\\Root Pack\\"), std::string::npos) << r.out;
    EXPECT_EQ(Songs(game, "Songs\\Cat\\Song\\%"), 1);
    EXPECT_EQ(Songs(game, "Songs\\Cat\\Root Pack\\%"), 1);
    EXPECT_FALSE(game.Exists("Songs/evil.txt"));
    EXPECT_TRUE(game.Exists("a.zip"));

    struct Case {
        std::string args;
        int code;
        std::string output;
    };
    const std::vector<Case> cases = {
        {"install none.zip --into Songs/Cat", 1, "譜面ファイルが見つかりません。"},
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
    r = RunQv5(game, "install a.zip --into Elsewhere2");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("not inside a registered song folder"), std::string::npos) << r.out;
}

// The library's rows that a registration writes, without its times.
std::vector<std::string> Rows(const test::TempGame& game) {
    Database db;
    std::vector<std::string> rows;
    if (!db.Open(game.HostPath("QV5files/Database/song.db"), Database::Mode::OpenExisting))
        return rows;
    for (const char* sql : {"SELECT path,parent,title,type,'' FROM folder ORDER BY path",
                            "SELECT path,folder,parent,hash,title FROM song ORDER BY path"}) {
        Statement s = db.Prepare(sql);
        while (s.Step()) {
            std::string row;
            for (int c = 0; c < 5; ++c) row += s.Text(c) + "|";
            rows.push_back(row);
        }
    }
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
        EXPECT_NE(r.out.find("-> " + c.installed + " (1 files, 1 charts"), std::string::npos)
            << r.out;
        EXPECT_EQ(Songs(game, c.installed + "p.bms"), 1);
        const std::vector<std::string> installed = Rows(game);
        ASSERT_EQ(RunQv5(game, "rescan").code, 0);
        EXPECT_EQ(installed, Rows(game));
    }
}

}  // namespace
}  // namespace qv5
