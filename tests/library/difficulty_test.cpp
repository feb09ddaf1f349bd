#include "library/difficulty.h"

#include <gtest/gtest.h>

#include "library/song_library.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "support/library_rows.h"
#include "support/stop_after.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

TEST(TitleDifficulty, Rules) {
    struct Case {
        std::string line;
        std::string title, subtitle;
        int difficulty;
        int start = -1;
    } cases[] = {
        {"#TITLE Song HYPER", "Song HYPER", "", 3},
        {"#TITLE Song [ANOTHER]", "Song", " [ANOTHER]", 4},
        {"#TITLE Song (7keys HARD)", "Song", " (7keys HARD)", 3},
        {"#TITLE (HARD)", "(HARD)", "", -1},
        {"#TITLE A-B-C-", "A-B", "-C-", -1},
        {"#TITLE Song (MANIAC)", "Song", " (MANIAC)", 4},
        {"#TITLE Song (VERYHARD)", "Song", " (VERYHARD)", 3},
        {"#TITLE Song (NORMAL)", "Song", " (NORMAL)", 2, 2},
        {"#TITLE Song (LIGHT)", "Song", " (LIGHT)", -1},
        {"#TITLE Song (EASY)", "Song", " (EASY)", -1},
        {"#TITLE Song [Beginner]", "Song", " [Beginner]", 1},
        {"#TITLE Song EASY", "Song EASY", "", 1},
        {"#TITLE Song ex", "Song ex", "", 4},
        {"#TITLE Song \"7A\"", "Song", " \"7A\"", 4},
        {"#TITLE Song <HD>", "Song", " <HD>", 3},
        {"#TITLE (x) Song (y)", "(x) Song", " (y)", -1},
        {"#TITLE Song  [A]  ", "Song", "  [A]", -1},  // the line is trimmed by the reader
        {"#TITLE ()", "()", "", -1},
        {Sj(u8"#TITLE 曲～ANOTHER～"), Sj(u8"曲"), Sj(u8"～ANOTHER～"), 4},
        {Sj(u8"#TITLE 曲　【HYPER】"), Sj(u8"曲"), Sj(u8"　【HYPER】"), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::string line = c.line;
        while (!line.empty() && line.back() == ' ') line.pop_back();
        std::string title = "t", subtitle = "s";
        std::int32_t difficulty = c.start;
        ASSERT_TRUE(TitleDifficulty(line, "#TITLE", title, subtitle, difficulty));
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(subtitle, c.subtitle);
        EXPECT_EQ(difficulty, c.difficulty);
    }
    std::string title = "keep", subtitle = "keep";
    std::int32_t difficulty = 1;
    EXPECT_FALSE(TitleDifficulty("#TITLE", "#TITLE", title, subtitle, difficulty));
    EXPECT_FALSE(TitleDifficulty("#ARTIST HARD", "#TITLE", title, subtitle, difficulty));
    EXPECT_EQ(title, "keep");
    EXPECT_EQ(difficulty, 1);
}

TEST(FileNameDifficulty, Tokens) {
    struct Case {
        std::string path;
        int difficulty;
    } cases[] = {
        {"song_h.bms", 3},  {"SONG_H.bms", -1}, {"song_a.bme", 4},  {"song_sa.bms", 4},
        {"song_dh.bms", 3}, {"song_ex.bms", 4}, {"song_e.bms", 1},  {"song7a.bms", 4},
        {"songh7.bms", 3},  {"song5b.bms", 1},  {"songl5.bms", 1},  {"songa14.bms", 4},
        {"songh10.bms", 3}, {"song14m.bms", 4}, {"song10l.bms", 1}, {"song.bms", -1},
        {"a.b", -1},        {"_ah.bms", -1},    {"x_sb.pms", 1},    {"", -1},
    };
    for (const auto& c : cases) {
        std::int32_t d = -1;
        FileNameDifficulty(c.path, d);
        EXPECT_EQ(d, c.difficulty) << c.path;
    }
}

TEST(ExportTitle, Rules) {
    struct Case {
        std::string title, subtitle, artist, subartist;
        bool keep;
        std::string expected;
    } cases[] = {
        {"Song", "[SP ANOTHER]", "Art", "", false, "[Art] Song"},
        {"Song", " -remix-", "Art", "", false, "[Art] Song  -remix-"},
        {"Song", "[SP ANOTHER]", "Art", "", true, "[Art] Song [SP ANOTHER]"},
        {"Song", "(7keys)", "Art", "obj", false, "[Art obj] Song"},
        {"A/B:C", "", "x|y", "", false, Sj(u8"[x｜y] A／B：C")},
        {Sj(u8"ソ?"), "", "a\\b", "", false, Sj(u8"[a￥b] ソ？")},
        {"Song", Sj(u8"(段位)"), "A", "", false, "[A] Song"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeExportTitle(c.title, c.subtitle, c.artist, c.subartist, c.keep), c.expected)
            << c.title << c.subtitle;
    std::string clean = Sj(u8"表示ソ");
    EXPECT_TRUE(SafeFileName(clean));  // trail bytes 0x5C are not backslashes
    EXPECT_EQ(clean, Sj(u8"表示ソ"));
    std::string dirty = "a\"b<c>d*e";
    EXPECT_FALSE(SafeFileName(dirty));
    EXPECT_EQ(dirty, Sj(u8"a”b＜c＞d＊e"));
}

class FolderPassTest : public ::testing::Test {
  protected:
    void SetUp() override { OpenTestLibrary("nobody"); }
    void TearDown() override { CloseTestLibrary(); }
    void Add(const std::string& path, const std::string& folder, int mode, int notes, int d = -1) {
        Statement s = TestDb().Prepare(
            "INSERT INTO song (path, folder, mode, karinotes, difficulty) VALUES (?1,?2,?3,?4,?5)");
        s.Bind(1, path);
        s.Bind(2, folder);
        s.Bind(3, std::int64_t{mode});
        s.Bind(4, std::int64_t{notes});
        s.Bind(5, std::int64_t{d});
        ASSERT_TRUE(s.Run());
    }
    bool IsNull(const std::string& path) {
        return test::QueryInt("SELECT difficulty IS NULL FROM song WHERE path = ?1",
                              [&](Statement& s) { s.Bind(1, path); }) == 1;
    }
    int Difficulty(const std::string& path) {
        return int(test::QueryInt(
            "SELECT difficulty FROM song WHERE path = ?1", [&](Statement& s) { s.Bind(1, path); },
            -99));
    }
    test::TempGame game;
};

TEST_F(FolderPassTest, RanksByNoteCount) {
    Add("r\\f\\a.bms", "k1", 7, 300);
    Add("r\\f\\b.bms", "k1", 7, 500);
    Add("r\\f\\c.bms", "k1", 7, 900);
    Add("r\\f\\d.bms", "k1", 7, 1200);
    Add("r\\f\\five.bms", "k1", 5, 100);
    Add("r\\g\\x.bms", "k2", 7, 10, 5);
    Add("r\\g\\y.bms", "k2", 7, 20);
    Add("r\\g\\z.bms", "k2", 7, 5, 1);
    Add("r\\g\\w.bms", "k2", 7, 7);
    Add("r\\h\\v.bms", "k3", 7, 7, 9);
    Add("other\\q.bms", "k4", 7, 1);
    TestAssignDifficulties("r\\");
    EXPECT_EQ(Difficulty("r\\f\\a.bms"), 2);
    EXPECT_EQ(Difficulty("r\\f\\b.bms"), 3);
    EXPECT_EQ(Difficulty("r\\f\\c.bms"), 4);
    EXPECT_EQ(Difficulty("r\\f\\d.bms"), 4);
    EXPECT_EQ(Difficulty("r\\f\\five.bms"), 2);
    EXPECT_EQ(Difficulty("r\\g\\z.bms"), 1);
    EXPECT_EQ(Difficulty("r\\g\\w.bms"), 2);  // after a known 1
    EXPECT_EQ(Difficulty("r\\g\\y.bms"), 5);  // after a known 5
    EXPECT_EQ(Difficulty("r\\h\\v.bms"), 2);
    EXPECT_EQ(Difficulty("other\\q.bms"), -1);  // outside the prefix
    // A second run changes nothing.
    Statement before = TestDb().Prepare("SELECT group_concat(difficulty) FROM song");
    ASSERT_TRUE(before.Step());
    const std::string first = before.Text(0);
    TestAssignDifficulties("r\\");
    Statement after = TestDb().Prepare("SELECT group_concat(difficulty) FROM song");
    ASSERT_TRUE(after.Step());
    EXPECT_EQ(after.Text(0), first);
}

TEST_F(FolderPassTest, PrefixIsLiteralAndCaseSensitive) {
    Add("Z:\\music\\A_B\\a.bms", "k1", 7, 1);
    Add("Z:\\music\\aXb\\a.bms", "k2", 7, 1);
    Add("Z:\\music\\a_b\\a.bms", "k3", 7, 1);
    Add("Z:\\music\\A%\\a.bms", "k4", 7, 1);
    TestAssignDifficulties("Z:\\music\\A_B\\");
    EXPECT_EQ(Difficulty("Z:\\music\\A_B\\a.bms"), 2);
    EXPECT_EQ(Difficulty("Z:\\music\\aXb\\a.bms"), -1);
    EXPECT_EQ(Difficulty("Z:\\music\\a_b\\a.bms"), -1);
    TestAssignDifficulties("Z:\\music\\A%");
    EXPECT_EQ(Difficulty("Z:\\music\\A%\\a.bms"), 2);
    EXPECT_EQ(Difficulty("Z:\\music\\aXb\\a.bms"), -1);
}

}  // namespace
}  // namespace qv5

namespace qv5 {
namespace {

using test::StopAfter;

// A stop between rows leaves every difficulty as it was; the pass then runs
// whole, and NULL counts as known (it reads as 0), as before.
TEST_F(FolderPassTest, AStoppedPassChangesNothing) {
    for (int i = 0; i < 3000; ++i)
        Add("r\\f" + std::to_string(i / 10) + "\\c" + std::to_string(i) + ".bms",
            "k" + std::to_string(i / 10), 7, i);
    TestDb().Exec("UPDATE song SET difficulty = NULL WHERE path = 'r\\f0\\c0.bms'");
    StopAfter stop(2);
    LibraryReport report;
    EXPECT_FALSE(AssignFolderDifficulties(TestDb(), WinPath("r\\"), &stop, report));
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song WHERE difficulty = -1"), 2999);
    NullProgress go;
    EXPECT_TRUE(AssignFolderDifficulties(TestDb(), WinPath("r\\"), &go, report));
    EXPECT_TRUE(IsNull("r\\f0\\c0.bms"));
    EXPECT_EQ(Difficulty("r\\f0\\c1.bms"), 1);  // after a known 0
    EXPECT_EQ(Difficulty("r\\f1\\c10.bms"), 2);
    // Nothing unknown left: the pass is a no-op that still succeeds.
    LibraryReport again;
    EXPECT_TRUE(AssignFolderDifficulties(TestDb(), WinPath("r\\"), &go, again));
}

}  // namespace
}  // namespace qv5
