#include "library/scanner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "library/chart_header.h"
#include "library/difficulty.h"
#include "library/encodings.h"
#include "library/refresh.h"
#include "library/song_library.h"
#include "platform/text.h"
#include "support/library_compare.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

class LibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakePlayer("abc", "pass");
        OpenTestLibrary("abc");
    }
    void TearDown() override { CloseTestLibrary(); }

    // path -> "title|parent|type" of every folder row; path -> row of songs.
    std::map<std::string, std::string> Folders() {
        std::map<std::string, std::string> out;
        Statement s =
            TestDb().Prepare("SELECT path,title,parent,type,category,command,max FROM folder");
        while (s.Step())
            out[s.Text(0)] = s.Text(1) + "|" + s.Text(2) + "|" + std::to_string(s.Int(3)) + "|" +
                             s.Text(4) + "|" + s.Text(5) + "|" + std::to_string(s.Int(6));
        return out;
    }
    std::map<std::string, std::string> Songs() {
        std::map<std::string, std::string> out;
        Statement s = TestDb().Prepare(
            "SELECT path,title,folder,parent,hash,difficulty,adddate,date FROM song");
        while (s.Step())
            out[s.Text(0)] = s.Text(1) + "|" + s.Text(2) + "|" + s.Text(3) + "|" + s.Text(4) + "|" +
                             std::to_string(s.Int(5));
        return out;
    }
    // Sets a file's last-write time (host path relative to the game folder).
    void Touch(const std::string& relative, time_t when) {
        struct utimbuf times {
            when, when
        };
        ASSERT_EQ(utime(game.HostPath(relative).c_str(), &times), 0);
    }
    test::TempGame game;
};

TEST_F(LibraryTest, RegisterRootAndRegisterAgain) {
    game.WriteFile("songs/a/x.bms", "#TITLE X\n#00111:01\n");
    game.WriteFile("songs/a/y.BMS", "#TITLE Y\n");
    game.WriteFile("songs/a/z.bmsx", "#TITLE no\n");
    game.WriteFile("songs/a/b/c.pms", "#TITLE C\n");
    game.WriteFile("songs/top.bml", "#TITLE T\n");
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    const auto folders = Folders();
    const auto songs = Songs();
    EXPECT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders.at("songs\\"), "songs|" + std::string(kRootKey) + "|1|||0");
    EXPECT_EQ(folders.at("songs\\a\\"), "a|" + PathKey("songs\\") + "|1|||0");
    EXPECT_EQ(folders.at("songs\\a\\b\\"), "b|" + PathKey("songs\\a\\") + "|1|||0");
    ASSERT_EQ(songs.size(), 4u);
    EXPECT_EQ(songs.at("songs\\a\\x.bms").substr(0, 2), "X|");
    EXPECT_TRUE(songs.count("songs\\a\\y.BMS"));
    EXPECT_EQ(
        test::QueryText("SELECT folder || ' ' || parent FROM song WHERE path='songs\\a\\b\\c.pms'"),
        PathKey("songs\\a\\b\\") + " " + PathKey("songs\\a\\"));
    EXPECT_EQ(test::QueryText(
                  "SELECT mode || ' ' || karinotes || ' ' || favorite || ' ' || type || ' ' || "
                  "ifnull(tag,'NULL') FROM song WHERE path='songs\\a\\x.bms'"),
              "5 1 0 0 NULL");
    EXPECT_EQ(test::QueryText("SELECT mode FROM song WHERE path='songs\\a\\b\\c.pms'"), "9");

    // A second registration adds nothing; a new chart is not picked up by it.
    game.WriteFile("songs/a/new.bms", "#TITLE N\n");
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    EXPECT_EQ(Songs(), songs);
    EXPECT_EQ(Folders(), folders);
    // ScanFolder of that folder adds it, and counts what it tried.
    TestDb().Exec("BEGIN");
    EXPECT_EQ(TestScanFolder("songs\\a\\", "songs\\a\\"), 3);  // x, y, new; b is known: not entered
    TestDb().Exec("COMMIT");
    EXPECT_EQ(Songs().size(), 5u);
    LibraryReport missing;
    EXPECT_TRUE(RegisterRootFolder(TestDb(), WinPath("songs\\missing\\"), nullptr, missing));
    EXPECT_EQ(missing.missing, std::vector<std::string>{"songs\\missing\\"});
    EXPECT_EQ(Songs().size(), 5u);
}

TEST_F(LibraryTest, ScanParentFolderPicksUpNewEntries) {
    game.WriteFile("songs/a/x.bms", "#TITLE X\n");
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    game.WriteFile("songs/a/new/y.bms", "#TITLE Y\n");
    TestScanParent("songs\\a\\new\\");
    EXPECT_EQ(Folders().at("songs\\a\\new\\"), "new|" + PathKey("songs\\a\\") + "|1|||0");
    EXPECT_TRUE(Songs().count("songs\\a\\new\\y.bms"));
}

TEST_F(LibraryTest, RootWithoutTrailingSeparatorAndInfoFiles) {
    game.WriteFile("r1/folderinfo.txt", "#TITLE Info Title\n#GENRE G\n#COMMAND c\n#PLAYLEVEL 4\n");
    game.WriteFile("r1/sub/folderinfo.txt", "#TITLE Custom\n#CUSTOMFOLDER\n");
    game.WriteFile("r1/rank2/folderinfo.txt", "#TITLE R2\n#RANK 2\n");
    game.WriteFile("r1/rank3/folderinfo.txt", "#TITLE R3\n#RANK 3\n");
    game.WriteFile("r1/sub/a.bms", "");
    ASSERT_TRUE(TestRegisterRoot("r1"));  // folderinfo.txt not found this way
    auto f = Folders();
    EXPECT_EQ(f.at("r1"), "r1|" + std::string(kRootKey) + "|1|||0");
    EXPECT_EQ(f.at("r1\\sub\\"), "Custom|" + PathKey("r1") + "|2|||0");
    EXPECT_EQ(f.at("r1\\rank2\\"), "R2|" + PathKey("r1") + "|2|||0");
    EXPECT_EQ(f.at("r1\\rank3\\"), "R3|" + PathKey("r1") + "|1|||0");

    game.WriteFile("r2/folderinfo.txt", "#TITLE Info Title\n#GENRE G\n#COMMAND c\n#PLAYLEVEL 4\n");
    ASSERT_TRUE(TestRegisterRoot("r2\\"));
    EXPECT_EQ(Folders().at("r2\\"), "Info Title|" + std::string(kRootKey) + "|1|G|c|4");
}

TEST_F(LibraryTest, CustomFolderFiles) {
    struct Case {
        std::string command;
        int root_kind;
    } cases[] = {{"__NEWSONG__", 3},
                 {"__RIVAL__", 4},
                 {"__EXPERT__", 6},
                 {"__NONSTOP__", 6},
                 {"__GRADE__", 6},
                 {"__OTHER__", 2},
                 {"", 2}};
    int i = 0;
    for (const auto& c : cases) {
        const std::string name = "cf" + std::to_string(i++) + ".qv5folder";
        game.WriteFile(name, "#TITLE T\n#COMMAND " + c.command + "\n");
        ASSERT_TRUE(TestRegisterRoot(name));
        EXPECT_EQ(test::QueryText("SELECT type FROM folder WHERE path='" + name + "'"),
                  std::to_string(c.root_kind))
            << c.command;
    }
    game.WriteFile("tree/n.qv5folder", "#TITLE T\n#COMMAND __NEWSONG__\n");
    game.WriteFile("tree/N.QV5FOLDER", "#COMMAND __NEWSONG__\n");
    game.WriteFile("tree/plain.txt", "#TITLE no\n");
    ASSERT_TRUE(TestRegisterRoot("tree\\"));
    EXPECT_EQ(
        test::QueryText("SELECT type || ' ' || parent FROM folder WHERE path='tree\\n.qv5folder'"),
        "2 " + PathKey("tree\\"));
    EXPECT_EQ(test::QueryText("SELECT count(*) FROM folder WHERE path LIKE 'tree%'"), "2");
    EXPECT_TRUE(TestRegisterRoot("tree\\plain.txt"));  // registers nothing
    EXPECT_EQ(test::QueryText("SELECT count(*) FROM folder WHERE path='tree\\plain.txt'"), "0");
}

// A refresh reads a custom-folder file again, even one rewritten within the
// second it was read: its row keeps its #TITLE and takes the new #COMMAND,
// as a fresh registration gives them; a file registered as a song folder
// itself keeps the kind its command gives it.
TEST_F(LibraryTest, RefreshReadsCustomFolderFilesAgain) {
    game.WriteFile("tree/lv.qv5folder", "#TITLE Level 1\r\n#COMMAND song.level = 1\r\n");
    game.WriteFile("top.qv5folder", "#TITLE Top\r\n#COMMAND __RIVAL__\r\n");
    ASSERT_TRUE(TestRegisterRoot("tree\\"));
    ASSERT_TRUE(TestRegisterRoot("top.qv5folder"));
    game.WriteFile("tree/lv.qv5folder", "#TITLE Level 2\r\n#COMMAND song.level = 2\r\n");
    game.WriteFile("top.qv5folder", "#TITLE Top 2\r\n#COMMAND __RIVAL__\r\n");
    ASSERT_TRUE(TestRefresh("tree\\"));
    ASSERT_TRUE(TestRefresh("top.qv5folder"));
    EXPECT_EQ(test::QueryText("SELECT title||'|'||command||'|'||type FROM folder WHERE "
                              "path='tree\\lv.qv5folder'"),
              "Level 2|song.level = 2|2");
    EXPECT_EQ(test::QueryText(
                  "SELECT title||'|'||command||'|'||type FROM folder WHERE path='top.qv5folder'"),
              "Top 2|__RIVAL__|4");
    EXPECT_TRUE(test::MatchesFreshRegistration({"tree\\", "top.qv5folder"}));
}

TEST_F(LibraryTest, UnreadableChartIsStillRegistered) {
    // A FIFO named like a chart cannot be read (and must not block the scan).
    game.MakeDir("s");
    ASSERT_EQ(mkfifo(game.HostPath("s/locked.bms").c_str(), 0644), 0);
    ASSERT_TRUE(TestRegisterRoot("s\\"));
    EXPECT_EQ(test::QueryText(
                  "SELECT hash || '|' || folder || '|' || parent || '|' || difficulty || '|' || "
                  "mode || '|' || title FROM song"),
              "|d202ef8d|d202ef8d|-1|5|");
}

TEST_F(LibraryTest, RefreshFollowsTheDisk) {
    game.WriteFile("songs/a/x.bms", "#TITLE X\n");
    game.WriteFile("songs/a/gone.bms", "#TITLE G\n");
    game.WriteFile("songs/a/b/c.bms", "#TITLE C\n");
    game.WriteFile("songs/d/e.bms", "#TITLE E\n");
    game.WriteFile("songs/a/folderinfo.txt", "#TITLE Fancy\n");
    const time_t old = time(nullptr) - 2 * 86400;
    for (const char* f : {"songs/a/x.bms", "songs/a/gone.bms", "songs/a/b/c.bms", "songs/d/e.bms"})
        Touch(f, old);
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    EXPECT_EQ(Folders().at("songs\\a\\").substr(0, 6), "Fancy|");
    const char* facts =
        "SELECT folder || '|' || parent || '|' || txt FROM song WHERE path='songs\\a\\x.bms'";
    const std::string registered_facts = test::QueryText(facts);
    EXPECT_EQ(registered_facts.substr(registered_facts.size() - 2), "|1");  // folderinfo.txt

    std::filesystem::remove(game.HostPath("songs/a/gone.bms"));
    std::filesystem::remove_all(game.HostPath("songs/d"));
    game.WriteFile("songs/a/x.bms", "#TITLE X2\n");  // rewritten now
    Touch("songs/a/x.bms", time(nullptr) + 2 * 86400);
    game.WriteFile("songs/a/b/new.bms", "#TITLE New\n");
    game.WriteFile("songs/top.bms", "#TITLE Top\n");  // directly in the root
    EXPECT_TRUE(TestRefresh("songs\\"));
    auto songs = Songs();
    EXPECT_FALSE(songs.count("songs\\a\\gone.bms"));
    EXPECT_FALSE(songs.count("songs\\d\\e.bms"));
    EXPECT_FALSE(Folders().count("songs\\d\\"));
    EXPECT_EQ(songs.at("songs\\a\\x.bms").substr(0, 3), "X2|");
    EXPECT_EQ(test::QueryText(facts), registered_facts);  // its folder's facts, looked up again
    EXPECT_TRUE(songs.count("songs\\a\\b\\new.bms"));
    EXPECT_TRUE(songs.count("songs\\top.bms"));  // a song folder's own level is scanned too
    EXPECT_EQ(Folders().at("songs\\a\\").substr(0, 2), "a|");  // title back to the name
    // Difficulties were assigned at the end.
    EXPECT_EQ(test::QueryText("SELECT count(*) FROM song WHERE difficulty = -1"), "0");

    // A second refresh leaves the rewritten chart alone... unless it is
    // newer than the refresh (its time is in the future here).
    const std::string x_adddate =
        test::QueryText("SELECT adddate FROM song WHERE path='songs\\a\\x.bms'");
    Touch("songs/a/x.bms", old);
    EXPECT_TRUE(TestRefresh("songs\\"));
    EXPECT_EQ(test::QueryText("SELECT adddate FROM song WHERE path='songs\\a\\x.bms'"), x_adddate);
}

// The refresh's difficulty pass is left out only when no row below the
// prefix can lack a difficulty: a kept row without one, a new chart and a
// re-read chart each still get theirs.
TEST_F(LibraryTest, RefreshAssignsEveryMissingDifficulty) {
    struct Case {
        const char* name;
        std::function<void()> change;
        const char* path;
    };
    const time_t old = time(nullptr) - 2 * 86400;
    const std::vector<Case> cases = {
        {"kept row without one",
         [&] {
             ASSERT_TRUE(
                 TestDb().Exec("UPDATE song SET difficulty = -1 WHERE path = 'songs\\a\\x.bms'"));
         },
         "songs\\a\\x.bms"},
        {"new chart", [&] { game.WriteFile("songs/a/new.bms", "#TITLE N\n"); },
         "songs\\a\\new.bms"},
        {"re-read chart",
         [&] {
             game.WriteFile("songs/a/y.bms", "#TITLE Y2\n");
             Touch("songs/a/y.bms", time(nullptr) + 86400);
         },
         "songs\\a\\y.bms"},
    };
    game.WriteFile("songs/a/x.bms", "#TITLE X\n");
    game.WriteFile("songs/a/y.bms", "#TITLE Y\n");
    Touch("songs/a/x.bms", old);
    Touch("songs/a/y.bms", old);
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    ASSERT_TRUE(TestAssignDifficulties("songs\\"));
    for (const Case& c : cases) {
        c.change();
        ASSERT_TRUE(TestRefresh("songs\\")) << c.name;
        EXPECT_EQ(
            test::QueryText("SELECT count(*) FROM song WHERE NOT (difficulty BETWEEN 0 AND 5)"),
            "0")
            << c.name;
        EXPECT_NE(test::QueryText(std::string("SELECT difficulty FROM song WHERE path = '") +
                                  c.path + "'"),
                  "<none>")
            << c.name;
    }
}

// Charts a refresh reads again go in before the new charts its folder scans
// find, in path order, however many are read at once.
TEST_F(LibraryTest, RefreshStoresReReadChartsBeforeNewOnes) {
    for (int changed : {2, 150}) {
        SCOPED_TRACE(changed);
        std::filesystem::remove_all(game.HostPath("songs"));
        ASSERT_TRUE(TestLibrary().Reset());
        const time_t old = time(nullptr) - 2 * 86400;
        auto chart = [](char folder, int i) {
            return std::string("songs/") + folder + "/c" + std::to_string(1000 + i) + ".bms";
        };
        auto key = [&](char folder, int i) {
            std::string k = chart(folder, i);
            std::replace(k.begin(), k.end(), '/', '\\');
            return k;
        };
        for (char folder : {'a', 'b'})
            for (int i = 0; i < changed + 1; ++i) {
                game.WriteFile(chart(folder, i), "#TITLE T\n");
                Touch(chart(folder, i), old);
            }
        ASSERT_TRUE(TestRegisterRoot("songs\\"));
        std::vector<std::string> expected;
        for (char folder : {'a', 'b'}) expected.push_back(key(folder, 0));
        // Every chart but the first of each folder changes.
        for (char folder : {'a', 'b'})
            for (int i = 1; i < changed + 1; ++i) {
                game.WriteFile(chart(folder, i), "#TITLE New\n");
                Touch(chart(folder, i), time(nullptr) + 86400);
                expected.push_back(key(folder, i));
            }
        for (char folder : {'a', 'b'}) {
            game.WriteFile(chart(folder, 5000), "#TITLE Added\n");
            expected.push_back(key(folder, 5000));
        }
        ASSERT_TRUE(TestRefresh("songs\\"));
        std::vector<std::string> rows;
        Statement s = TestDb().Prepare("SELECT path, title FROM song ORDER BY rowid");
        while (s.Step()) {
            rows.push_back(s.Text(0));
            EXPECT_EQ(s.Text(1), rows.size() <= 2                    ? "T"
                                 : rows.size() > expected.size() - 2 ? "Added"
                                                                     : "New")
                << s.Text(0);
        }
        // The first two keep the order their registration gave them.
        ASSERT_EQ(rows.size(), expected.size());
        std::sort(rows.begin(), rows.begin() + 2);
        EXPECT_EQ(rows, expected);
    }
}

TEST_F(LibraryTest, MoveRewritesPathsAndKeys) {
    game.WriteFile("songs/A/x.bms", "#TITLE X\n");
    game.WriteFile("songs/A/sub/y.bms", "#TITLE Y\n");
    ASSERT_TRUE(TestRegisterRoot("songs\\"));
    ASSERT_TRUE(TestRegisterRoot("songs\\A\\"));  // a root inside: kept "ROOT"? inserted already
    std::filesystem::rename(game.HostPath("songs/A"), game.HostPath("songs/B"));
    TestMovePaths("songs\\A\\", "songs\\B\\");
    auto songs = Songs();
    auto folders = Folders();
    EXPECT_FALSE(songs.count("songs\\A\\x.bms"));
    EXPECT_EQ(test::QueryText(
                  "SELECT folder || ' ' || parent FROM song WHERE path='songs\\B\\sub\\y.bms'"),
              PathKey("songs\\B\\sub\\") + " " + PathKey("songs\\B\\"));
    EXPECT_EQ(test::QueryText("SELECT parent FROM folder WHERE path='songs\\B\\'"),
              PathKey("songs\\"));
    EXPECT_EQ(test::QueryText("SELECT parent FROM folder WHERE path='songs\\B\\sub\\'"),
              PathKey("songs\\B\\"));

    // A root renamed keeps the ROOT key.
    std::filesystem::rename(game.HostPath("songs"), game.HostPath("music"));
    TestMovePaths("songs\\", "music\\");
    EXPECT_EQ(test::QueryText("SELECT parent FROM folder WHERE path='music\\'"), kRootKey);
    EXPECT_EQ(test::QueryText("SELECT count(*) FROM song WHERE path LIKE 'songs%'"), "0");

    // Not at the new place: ERROR keys and -1 dates.
    TestMovePaths("music\\B\\x.bms", "music\\B\\nowhere.bms");
    EXPECT_EQ(test::QueryText("SELECT folder || ' ' || parent || ' ' || date FROM song WHERE "
                              "path='music\\B\\nowhere.bms'"),
              PathKey("ERROR") + " " + PathKey("ERROR") + " -1");
}

TEST_F(LibraryTest, PrefixesAreLiteralAndCaseSensitive) {
    for (const char* dir :
         {"m/A_B", "m/aXb", "m/Songs", "m/songs", "m/a", "m/ab", "m/50%", "m/50x"}) {
        game.WriteFile(std::string(dir) + "/c.bms", "#TITLE c\n");
        ASSERT_TRUE(TestRegisterRoot(Sj(u8"") + std::string(dir).replace(1, 1, "\\") + "\\"));
    }
    auto count = [&](const std::string& prefix) {
        return test::QueryText("SELECT count(*) FROM song WHERE substr(path,1," +
                               std::to_string(prefix.size()) + ")='" + prefix + "'");
    };
    TestRemovePaths("m\\A_B\\");
    EXPECT_EQ(count("m\\A_B\\"), "0");
    EXPECT_EQ(count("m\\aXb\\"), "1");
    TestRemovePaths("m\\Songs\\");
    EXPECT_EQ(count("m\\songs\\"), "1");
    TestRemovePaths("m\\50%");
    EXPECT_EQ(count("m\\50x\\"), "1");
    TestRemovePaths("m\\a\\");
    EXPECT_EQ(count("m\\ab\\"), "1");
    TestRemovePaths("m\\a");
    EXPECT_EQ(count("m\\ab\\"), "0");
    EXPECT_EQ(count("m\\aXb\\"), "0");  // "m\\a" is a prefix of it, too
    EXPECT_EQ(count("m\\Songs\\"), "0");

    // Refresh and move are just as literal.
    std::filesystem::remove_all(game.HostPath("m/songs"));
    TestRefresh("m\\Songs\\");
    EXPECT_EQ(test::QueryText("SELECT count(*) FROM folder WHERE path='m\\songs\\'"), "1");
    TestMovePaths("m\\50x\\", "m\\50y\\");
    EXPECT_EQ(count("m\\50y\\"), "1");
    EXPECT_EQ(count("m\\songs\\"), "1");
}

}  // namespace
}  // namespace qv5
