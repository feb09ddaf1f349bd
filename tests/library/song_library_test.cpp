#include "library/song_library.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "library/chart_header.h"
#include "library/file_hash.h"
#include "library/library_hashes.h"
#include "platform/database.h"
#include "platform/transaction.h"
#include "player/player_db.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

std::string Schema(Database& db, const std::string& schema = "main") {
    return test::QueryText(db,
                           "SELECT group_concat(sql, ';') FROM (SELECT sql FROM " + schema +
                               ".sqlite_master ORDER BY name)",
                           {}, "");
}

class SongLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override { test::MakePlayer("abc", "pass"); }
    void TearDown() override { CloseTestLibrary(); }
    void InsertChart(const std::string& path) {
        ChartRecord r;
        ASSERT_TRUE(ReadChartHeader(r, path));
        Statement s = TestDb().Prepare(
            "INSERT INTO song (hash,title,subtitle,path,type,mode,difficulty,level,favorite) "
            "VALUES (?1,?2,?3,?4,0,?5,?6,?7,0)");
        s.Bind(1, r.hash);
        s.Bind(2, r.title);
        s.Bind(3, r.subtitle);
        s.Bind(4, path);
        s.Bind(5, std::int64_t{r.mode});
        s.Bind(6, std::int64_t{r.difficulty});
        s.Bind(7, std::int64_t{r.level});
        ASSERT_TRUE(s.Run());
    }
    test::TempGame game;
};

TEST_F(SongLibraryTest, CreatesTheExactSchema) {
    OpenTestLibrary("abc");
    Database& db = TestDb();
    EXPECT_EQ(Schema(db),
              std::string("CREATE TABLE expert(id INTEGER primary key,title TEXT,line INTEGER,hash "
                          "TEXT,ir INTEGER);") +
                  kCreateFolderTable +
                  ";CREATE TABLE grade(id INTEGER primary key,title TEXT,line INTEGER,hash TEXT,ir "
                  "INTEGER);CREATE TABLE nonstop(id INTEGER primary key,title TEXT,line "
                  "INTEGER,hash TEXT,ir INTEGER);" +
                  kCreateSongTable);
    EXPECT_NE(Schema(db, "scoredb").find(kCreateScoreTable), std::string::npos);
    EXPECT_EQ(Schema(db, "tagdb"), kCreateTagTable);
    EXPECT_TRUE(game.Exists("QV5files/Database/song.db"));
    EXPECT_TRUE(game.Exists("QV5files/Database/tag.db"));
    Statement mode = db.Prepare("PRAGMA journal_mode");
    ASSERT_TRUE(mode.Step());
    EXPECT_EQ(mode.Text(0), "delete");
}

TEST_F(SongLibraryTest, ReopenChangesNothingButCourse) {
    OpenTestLibrary("abc");
    game.WriteFile("songs/a.bms", "#TITLE A\n");
    InsertChart("songs\\a.bms");
    TestDb().Exec("CREATE TABLE course(x)");
    const std::string before = Schema(TestDb());
    OpenTestLibrary("abc");
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 1);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM sqlite_master WHERE name='course'"), 0);
    TestDb().Exec("CREATE TABLE course(x)");
    EXPECT_EQ(Schema(TestDb()), before);
}

TEST_F(SongLibraryTest, ResetKeepsTagsAndScores) {
    OpenTestLibrary("abc");
    game.WriteFile("songs/a.bms", "#TITLE A\n");
    InsertChart("songs\\a.bms");
    ASSERT_TRUE(TestDb().Exec("INSERT INTO tag (hash,title) VALUES ('h','t')"));
    ASSERT_TRUE(TestDb().Exec("INSERT INTO score (hash,clear) VALUES ('h',3)"));
    ASSERT_TRUE(TestDb().Exec("INSERT INTO folder (path,type) VALUES ('songs\\',1)"));
    ASSERT_TRUE(TestDb().Exec("INSERT INTO expert (id,title) VALUES (1,'c')"));
    TestLibrary().Reset();
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 0);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder"), 0);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM tag"), 1);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM score"), 1);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM expert"), 1);
}

// Without a player database nothing that looks like a player is created, yet
// the chart lookup and the tag table work: the scores are an empty table of
// the connection's own.
TEST_F(SongLibraryTest, UnknownOrUnsafePlayersLeaveNoFileButLookupsWork) {
    game.WriteFile("songs/x/a.bms", "#TITLE Song\n");
    for (const std::string id : {"../../evil", "nobody", ""}) {
        SCOPED_TRACE(id);
        OpenTestLibrary(id);
        EXPECT_FALSE(game.Exists("evil.db"));
        EXPECT_FALSE(game.Exists("QV5files/evil.db"));
        EXPECT_FALSE(game.Exists("QV5files/Database/Score/nobody.db"));
        EXPECT_FALSE(game.Exists("QV5files/Database/Score/.db"));
        Database& db = TestDb();
        EXPECT_EQ(Schema(db).find("CREATE TABLE score"), std::string::npos);  // not in song.db
        EXPECT_EQ(test::QueryInt("SELECT count(*) FROM score"), 0);
        EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 0);
        InsertChart("songs\\x\\a.bms");
        ChartRecord r;
        ASSERT_TRUE(TestLibrary().LookupChart(WinPath("songs\\x\\a.bms"), r));
        EXPECT_EQ(r.title, "Song");
        EXPECT_EQ(r.play_count, 0);
        EXPECT_TRUE(db.Exec("INSERT OR REPLACE INTO tag (hash,title) VALUES ('h','t')"));
        EXPECT_TRUE(db.Exec("DELETE FROM song"));
    }
    Database tags;
    ASSERT_TRUE(tags.Open(kTagDbPath));
    Statement s = tags.Prepare("SELECT title FROM tag WHERE hash = 'h'");
    ASSERT_TRUE(s.Step());  // written to tag.db itself
    EXPECT_EQ(s.Text(0), "t");
    // The real player's scores come back once the player exists.
    OpenTestLibrary("abc");
    EXPECT_NE(Schema(TestDb(), "scoredb").find(kCreateScoreTable), std::string::npos);
}

TEST_F(SongLibraryTest, LookupChart) {
    OpenTestLibrary("abc");
    const std::string body = "#TITLE Song [HYPER]\n#PLAYLEVEL 9\n";
    game.WriteFile("songs/x/a.bms", body);
    game.WriteFile("songs/y/a.bms", body);  // a copy: same hash
    game.WriteFile("songs/z.bms", "#TITLE other\n");
    InsertChart("songs\\x\\a.bms");
    InsertChart("songs\\y\\a.bms");
    EXPECT_EQ(test::QueryInt("SELECT count(DISTINCT hash) FROM song"), 1);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 2);

    ChartRecord r;
    ASSERT_TRUE(TestLibrary().LookupChart(WinPath("songs\\y\\a.bms"), r));
    EXPECT_EQ(r.hash, Md5Hex(body));
    EXPECT_EQ(r.title, "Song");
    EXPECT_EQ(r.full_title, "Song  [HYPER]");
    EXPECT_EQ(r.level, 9);
    EXPECT_EQ(r.difficulty, 3);
    EXPECT_EQ(r.clear, 0);
    EXPECT_EQ(r.rank, 0);
    EXPECT_FALSE(TestLibrary().LookupChart(WinPath("songs\\z.bms"), r));
    EXPECT_FALSE(TestLibrary().LookupChart(WinPath("songs\\missing.bms"), r));

    struct Case {
        int perfect, great, rank, expected_rank;
    } cases[] = {{10, 5, 12, 8}, {10, 5, 9, 8}, {10, 5, 0, 1}, {0, 0, 0, 0}, {1, 0, 4, 4}};
    for (const auto& c : cases) {
        TestDb().Exec("DELETE FROM score");
        ASSERT_TRUE(TestDb().Exec(SqlFormat(
            "INSERT INTO score (hash,clear,perfect,great,good,bad,poor,totalnotes,maxcombo,minbp,"
            "playcount,clearcount,failcount,rank,rate,clear_db,op_history,clear_sd,clear_ex,"
            "op_best,rseed,complete) VALUES ('%q',4,%d,%d,3,4,5,600,70,8,9,10,11,%d,13,14,15,16,"
            "17,18,19,1)",
            r.hash.c_str(), c.perfect, c.great, c.rank)));
        ChartRecord s;
        ASSERT_TRUE(TestLibrary().LookupChart(WinPath("songs\\x\\a.bms"), s));
        EXPECT_EQ(s.clear, 4);
        EXPECT_EQ(s.perfect, c.perfect);
        EXPECT_EQ(s.ex_score, 2 * c.perfect + c.great);
        EXPECT_EQ(s.note_count, 600);
        EXPECT_EQ(s.max_combo, 70);
        EXPECT_EQ(s.fail_count, 11);
        EXPECT_EQ(s.rank, c.expected_rank) << c.rank;
        EXPECT_EQ(s.clear_sd, 16);
        EXPECT_EQ(s.complete, 1);
    }
}

// A library transaction takes song.db's write lock at once and tag.db's only
// when it writes a tag: another program may write tags meanwhile, and a
// commit that changed song.db alone leaves no super-journal behind.
TEST_F(SongLibraryTest, ATransactionLocksTheSongLibraryAloneUntilATagIsWritten) {
    OpenTestLibrary("abc");
    auto can_lock = [&](const char* file) {
        sqlite3* other = nullptr;
        EXPECT_EQ(
            sqlite3_open(game.HostPath(std::string("QV5files/Database/") + file).c_str(), &other),
            SQLITE_OK);
        const bool locked =
            sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
        if (locked) sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        return locked;
    };
    Database& db = TestDb();
    {
        Transaction tx(db);
        ASSERT_TRUE(tx.ok());
        EXPECT_FALSE(can_lock("song.db"));
        EXPECT_TRUE(can_lock("tag.db"));
        ASSERT_TRUE(db.Exec("INSERT INTO folder (path,title) VALUES ('songs\\','s')"));
        EXPECT_TRUE(can_lock("tag.db"));
        ASSERT_TRUE(db.Exec("INSERT INTO tag (hash,title) VALUES ('h','t')"));
        EXPECT_FALSE(can_lock("tag.db"));
        ASSERT_TRUE(tx.Commit());
    }
    EXPECT_TRUE(can_lock("song.db"));
    EXPECT_TRUE(can_lock("tag.db"));
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM folder"), 1);
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM tag"), 1);

    // Another writer holding song.db: the transaction does not begin, and
    // says why.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(game.HostPath("QV5files/Database/song.db").c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    db.SetBusyTimeout(50);
    {
        Transaction tx(db);
        EXPECT_FALSE(tx.ok());
        EXPECT_FALSE(db.InTransaction());
        EXPECT_NE(db.LastError().find("locked"), std::string::npos) << db.LastError();
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
}

// A write larger than SQLite's default page cache (a rescan) keeps its
// changes in memory until COMMIT: the game body can still read meanwhile.
TEST_F(SongLibraryTest, AReaderIsLetInUntilALargeWriteCommits) {
    OpenTestLibrary("abc");
    Database& db = TestDb();
    Transaction tx(db);
    ASSERT_TRUE(tx.ok());
    // About 8 MiB of rows and index, four times SQLite's default cache.
    ASSERT_TRUE(db.Exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
        "INSERT INTO song (path, title, hash) SELECT printf('songs\\pack%03d\\song%06d\\"
        "chart.bms', i / 500, i), printf('Title of song %d', i), hex(randomblob(16)) FROM n"))
        << db.LastError();
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open_v2(game.HostPath("QV5files/Database/song.db").c_str(), &reader,
                              SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* count = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(reader, "SELECT count(*) FROM song", -1, &count, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_step(count), SQLITE_ROW);  // not SQLITE_BUSY
    EXPECT_EQ(sqlite3_column_int(count, 0), 0);  // the library as it was
    sqlite3_finalize(count);
    sqlite3_close(reader);
    EXPECT_TRUE(tx.Commit());
    EXPECT_EQ(test::QueryInt("SELECT count(*) FROM song"), 40000);
}

TEST_F(SongLibraryTest, EntryExists) {
    game.WriteFile("songs/a.bms", "");
    EXPECT_TRUE(EntryExists("songs\\"));
    EXPECT_TRUE(EntryExists("songs/"));
    EXPECT_TRUE(EntryExists("songs\\a.bms"));
    EXPECT_FALSE(EntryExists("songs\\b.bms"));
    EXPECT_FALSE(EntryExists(""));
}

}  // namespace
}  // namespace qv5

namespace qv5 {
namespace {

// The player's scores beside the charts' hashes, as the tables show them:
// the lamp and the EX rate as the information panel's score line gives
// them, for charts of the library only.
TEST_F(SongLibraryTest, ChartScoresGiveTheLampAndRateOfTheScoreLine) {
    OpenTestLibrary("abc");
    const struct {
        const char* hash;   // also the song row's, unless `in_song` is false
        const char* score;  // clear, perfect, great, totalnotes; null: no score row
        bool in_song;
        int clear, rate;
    } cases[] = {
        {"00000000000000000000000000000001", "5,450,50,500", true, 5, 95},
        {"00000000000000000000000000000002", "0,10,0,500", true, 0, -1},  // not played
        {"00000000000000000000000000000003", "3,100,0,0", true, 3, -1},   // no note count
        {"00000000000000000000000000000004", "9,1,0,1", true, 5, 100},    // past full combo
        {"00000000000000000000000000000005", "-2,1,1,1", true, 0, -1},
        {"00000000000000000000000000000006", nullptr, true, 0, -1},
        {"00000000000000000000000000000007", "4,1,1,1", false, 0, -1},       // no chart of it
        {"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", "2,300,100,500", true, 2, 70},  // capitals
    };
    for (const auto& c : cases) {
        if (c.in_song) {
            ASSERT_TRUE(TestDb().Exec(std::string("INSERT INTO song(hash,path) VALUES('") + c.hash +
                                      "','songs\\" + c.hash + ".bms')"));
        }
        if (c.score) {
            ASSERT_TRUE(TestDb().Exec(
                std::string("INSERT INTO score(hash,clear,perfect,great,totalnotes) VALUES('") +
                c.hash + "'," + c.score + ")"));
        }
    }
    ChartHashes charts;
    std::string error;
    ASSERT_TRUE(TestLibrary().ReadChartHashes(charts, error)) << error;
    ASSERT_TRUE(TestLibrary().ReadChartScores(charts, error)) << error;
    for (const auto& c : cases) {
        const ChartScore s = charts.ScoreOf(*ParseMd5(c.hash));
        EXPECT_EQ(s.clear, c.clear) << c.hash;
        EXPECT_EQ(s.rate, c.rate) << c.hash;
    }
    // Without a player there are no scores, and that is no failure.
    CloseTestLibrary();
    OpenTestLibrary("");
    ChartHashes unscored;
    ASSERT_TRUE(TestLibrary().ReadChartHashes(unscored, error)) << error;
    EXPECT_TRUE(TestLibrary().ReadChartScores(unscored, error)) << error;
    EXPECT_EQ(unscored.ScoreOf(*ParseMd5(cases[0].hash)).clear, 0);
}

}  // namespace
}  // namespace qv5
