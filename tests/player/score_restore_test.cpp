// Restoring a QV5IR account's scores from a real server on 127.0.0.1.
#include "player/score_restore.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/database.h"
#include "platform/files.h"
#include "platform/text.h"
#include "player/player_db.h"
#include "player/xml_list.h"
#include "support/http_server.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

std::string U(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

const std::string kDownload =
    U(u8"スコアデータをダウンロードします。\n環境により時間がかかる場合があります。");
const std::string kReading = U(u8"スコアデータを読み込みます。");
const std::string kUnreadable = U(u8"スコアリストの読み込みに失敗しました。");

std::string Score(const std::string& hash, int pg, int gr, int notes) {
    return "<score><hash>" + hash + "</hash><pg>" + std::to_string(pg) + "</pg><gr>" +
           std::to_string(gr) + "</gr><notes>" + std::to_string(notes) + "</notes></score>\r\n";
}

// The entry as temp.xml holds it: without its line break.
std::string Line(std::string entry) {
    entry.resize(entry.size() - 2);
    return entry;
}

// Records when it is shown and closed.
class ShownProgress final : public Progress {
  public:
    explicit ShownProgress(std::vector<std::string>& events) : events_(events) {
        events_.push_back("[progress shown]");
    }
    ~ShownProgress() override { events_.push_back("[progress closed]"); }
    void Update(long, long, const std::string&) override {}
    void SetStatus(const std::string&) override {}

  private:
    std::vector<std::string>& events_;
};

class ScoreRestoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "all_proxy", "ALL_PROXY"}) unsetenv(name);
        setenv("no_proxy", "127.0.0.1", 1);
        game.WriteFile("QV5files/Config/irserver.txt", server.Url("/qv5ir/") + "\n");
    }
    // Runs the whole linked-account creation; the messages are kept as UTF-8.
    int Restore(const std::string& id, const std::string& password, const std::string& irid,
                const HttpOptions& options = {}) {
        told.clear();
        events.clear();
        auto progress = [this](RestoreStep) { return std::make_unique<ShownProgress>(events); };
        return RestoreScores(
            id, password, irid, progress,
            [this](const Notice& n) {
                told.push_back(Cp932ToUtf8(n.text));
                captions.push_back(Cp932ToUtf8(n.caption));
                events.push_back(told.back());
            },
            options);
    }
    // Messages and the showing of the download's progress, in order.
    std::vector<std::string> events;
    test::TempGame game;
    test::HttpServer server;
    std::vector<std::string> told, captions;
};

TEST_F(ScoreRestoreTest, CreatesThePlayerWithItsScores) {
    const std::string full =
        "<score><hash>0123456789abcdef0123456789abcdef</hash><clear>4</clear><pg>300</pg>"
        "<gr>100</gr><gd>5</gd><bd>2</bd><pr>7</pr><notes>400</notes><combo>250</combo>"
        "<minbp>9</minbp><playcount>12</playcount><clearcount>5</clearcount>"
        "<opt_history>33</opt_history><rate>87</rate><clear_db>2</clear_db>"
        "<scorehash>it's &lt;sh&gt;</scorehash><clear_sd>3</clear_sd><clear_ex>1</clear_ex>"
        "<opt_this>6</opt_this><rseed>-42</rseed><ghost>'); DROP TABLE score;--</ghost>"
        "</score>\r\n";
    const std::string body =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<scorelist>\r\n"
        "<info>not a score</info>\n" +
        full + Score("b", 450, 0, 450) + Score("c", 0, 1, 1000) +
        "<score><hash>d</hash><notes>500</notes></score>\n" + Score("e", 5, 5, 0) +
        Score("b", 1, 1, 1) +  // listed twice
        "<other><hash>f</hash><pg>1</pg><notes>2</notes></other>\n" + "</scorelist>\n";
    server.SetBody(body);
    ASSERT_EQ(Restore("player1", "secret", "1234"), 1);

    EXPECT_EQ(server.Log(), "REQUEST GET /qv5ir/restorescore.cgi?id=1234&passmd5=" +
                                PasswordDigest("secret") + " HTTP/1.1\nAGENT MFC wget\n");
    std::string joined = body;
    for (size_t p; (p = joined.find_first_of("\r\n")) != std::string::npos;) joined.erase(p, 1);
    EXPECT_EQ(game.ReadFile("QV5files/Config/temp.xml"), joined);
    EXPECT_EQ(told,
              (std::vector<std::string>{kDownload, kReading, U(u8"6スコアを引き継ぎました。")}));
    EXPECT_EQ(captions, (std::vector<std::string>{"QV5 SETUP", "QV5 SETUP", U(u8"報告")}));
    EXPECT_EQ(events, (std::vector<std::string>{kDownload, "[progress shown]", "[progress closed]",
                                                kReading, "[progress shown]", "[progress closed]",
                                                U(u8"6スコアを引き継ぎました。")}));

    Database db;
    ASSERT_TRUE(db.Open(PlayerDbPath("player1"), Database::Mode::OpenExisting));
    Statement p = db.Prepare("SELECT id,hash,name,systemversion,irid,playcount FROM player");
    ASSERT_TRUE(p.Step());
    EXPECT_EQ(p.Text(0), "player1");
    EXPECT_EQ(p.Text(1), PasswordDigest("secret"));
    EXPECT_EQ(p.Text(2), "player1");
    EXPECT_EQ(p.Int(3), 1);
    EXPECT_EQ(p.Int(4), 1234);
    EXPECT_TRUE(p.IsNull(5));

    Statement s = db.Prepare(
        "SELECT clear,perfect,great,good,bad,poor,totalnotes,maxcombo,minbp,playcount,clearcount,"
        "failcount,rank,rate,clear_db,op_history,scorehash,ghost,clear_sd,clear_ex,op_best,rseed,"
        "complete FROM score WHERE hash = '0123456789abcdef0123456789abcdef'");
    ASSERT_TRUE(s.Step());
    const int numbers[] = {4, 300, 100, 5, 2, 7, 400, 250, 9, 12, 5, 7, 7, 87, 2, 33};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(s.Int(i), numbers[i]) << "column " << i;
    EXPECT_EQ(s.Text(16), "it's <sh>");
    EXPECT_EQ(s.Text(17), "'); DROP TABLE score;--");
    const int rest[] = {3, 1, 6, -42, 1};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s.Int(18 + i), rest[i]) << "column " << 18 + i;

    // Ranks: the fraction dropped, 8 at most, 1 once anything was hit, 0
    // without perfect and great judgements or without notes.
    struct Rank {
        const char* hash;
        int rank;
    } ranks[] = {{"b", 8}, {"c", 1}, {"d", 0}, {"e", 0}, {"f", 4}};
    for (const auto& r : ranks) {
        Statement q = db.Prepare(SqlFormat("SELECT rank FROM score WHERE hash = '%q'", r.hash));
        ASSERT_TRUE(q.Step()) << r.hash;
        EXPECT_EQ(q.Int(0), r.rank) << r.hash;
    }
    EXPECT_EQ(test::QueryInt(db, "SELECT count(*) FROM score"), 6);
    EXPECT_EQ(ListPlayers(), std::vector<std::string>{"player1"});
}

TEST_F(ScoreRestoreTest, SignalsAndUnreadableLists) {
    const std::string wrong = U(u8"パスワードが間違っているか、無効なQV5IDです。");
    struct Case {
        std::string body;
        std::string last_message;
        std::string temp_xml;
    } cases[] = {
        {"<scorelist>\nERROR database busy\n<score/></scorelist>\n",
         U(u8"サーバーに接続できません。"), "<scorelist>"},
        {"PASS\n", wrong, ""},
        {"<?xml version=\"1.0\"?>\r\nPASSWORD\r\n", wrong, "<?xml version=\"1.0\"?>"},
        // Signals are case-sensitive and only at the start of a line.
        {"error\n<scorelist/>\n", kUnreadable, "error<scorelist/>"},
        {"<scorelist> ERROR</scorelist>\n", kUnreadable, "<scorelist> ERROR</scorelist>"},
        {"<scorelist><info/><other/></scorelist>", kUnreadable,
         "<scorelist><info/><other/></scorelist>"},
        {"<scores><score/></scores>", kUnreadable, "<scores><score/></scores>"},
        {"<scorelist><score>", kUnreadable, "<scorelist><score>"},
    };
    for (const auto& c : cases) {
        server.SetBody(c.body);
        EXPECT_EQ(Restore("player1", "secret", "77"), 0);
        ASSERT_FALSE(told.empty());
        EXPECT_EQ(told.back(), c.last_message) << c.body;
        EXPECT_EQ(game.ReadFile("QV5files/Config/temp.xml"), c.temp_xml) << c.body;
        EXPECT_FALSE(game.Exists("QV5files/Database/Score/player1.db")) << c.body;
    }
}

TEST_F(ScoreRestoreTest, NetworkFailuresCreateNothing) {
    HttpOptions quick;
    quick.total_timeout_ms = 700;
    struct Case {
        std::string mode;
        std::string error;
        std::string temp_xml;  // a response that began was copied up to the cut
    } cases[] = {
        {"slow", "timed out", "old list"},
        {"cut", "transfer closed", "<scorelist>" + Line(Score("a", 1, 1, 1)) + "<score>"},
        {"missing", "404", "old list"},
    };
    for (const auto& c : cases) {
        game.WriteFile("QV5files/Config/temp.xml", "old list");
        server.SetMode(c.mode);
        server.SetBody("<scorelist>\n" + Score("a", 1, 1, 1) + "<score>");
        EXPECT_EQ(Restore("player1", "secret", "5", quick), 0);
        ASSERT_EQ(told.size(), 2u) << c.mode;
        EXPECT_NE(told[1].find(c.error), std::string::npos) << c.mode << ": " << told[1];
        EXPECT_EQ(captions[1], U(u8"エラー"));
        EXPECT_FALSE(game.Exists("QV5files/Database/Score/player1.db")) << c.mode;
        EXPECT_EQ(game.ReadFile("QV5files/Config/temp.xml"), c.temp_xml) << c.mode;
    }
}

TEST_F(ScoreRestoreTest, ChecksComeAfterTheDownload) {
    server.SetBody("<scorelist>" + Score("a", 1, 1, 1) + "</scorelist>");
    struct Case {
        std::string id, password;
        std::string message;
    } cases[] = {
        {"ab", "secret", U(u8"IDが短すぎます。(3文字以上)")},
        {"abc", "pw", U(u8"パスワードが短すぎます。(3文字以上)")},
        {"..\\..\\evil", "secret", U(u8"IDには半角英数のみ使用可能です。")},
        {"a/b", "secret", U(u8"IDには半角英数のみ使用可能です。")},
        {Sj(u8"名前"), "secret", U(u8"IDには半角英数のみ使用可能です。")},
    };
    for (const auto& c : cases) {
        const size_t requests = server.Log().size();
        EXPECT_EQ(Restore(c.id, c.password, "9"), 0);
        EXPECT_EQ(told, (std::vector<std::string>{kDownload, kReading, c.message}));
        EXPECT_GT(server.Log().size(), requests) << "downloaded first";
        EXPECT_TRUE(ListPlayers().empty());
    }
    EXPECT_FALSE(game.Exists("evil.db"));
    EXPECT_FALSE(game.Exists("QV5files/evil.db"));
}

TEST_F(ScoreRestoreTest, InvalidAccountNumberSendsNothing) {
    for (const char* irid : {"", "abc", "0", "-5", " -1"}) {
        EXPECT_EQ(Restore("player1", "secret", irid), 0);
        EXPECT_EQ(told, std::vector<std::string>{U(u8"無効なQV5IDです。")}) << irid;
    }
    EXPECT_EQ(server.Log(), "");
    server.SetBody("<scorelist>" + Score("a", 1, 1, 1) + "</scorelist>");
    EXPECT_EQ(Restore("player1", "secret", " 42abc"), 1);
    EXPECT_NE(server.Log().find("?id=42&"), std::string::npos);
}

TEST_F(ScoreRestoreTest, ExistingPlayerIsLeftAsItWas) {
    test::MakePlayer("player1", "other", 3);
    const std::string before = game.ReadFile("QV5files/Database/Score/player1.db");
    server.SetBody("<scorelist>" + Score("a", 1, 1, 1) + "</scorelist>");
    EXPECT_EQ(Restore("player1", "secret", "1234"), 0);
    EXPECT_EQ(told.back(), U(u8"別のプレイヤー名を指定して下さい"));
    EXPECT_EQ(game.ReadFile("QV5files/Database/Score/player1.db"), before);
    EXPECT_FALSE(game.Exists("QV5files/Database/Score/player1.db-journal"));
}

TEST_F(ScoreRestoreTest, CreatePlayerFromTheFileAlone) {
    // An entry without values is stored with empty texts and zeros.
    game.WriteFile("QV5files/Config/temp.xml", "<scorelist><score></score></scorelist>");
    std::vector<std::string> notes;
    auto tell = [&](const Notice& n) { notes.push_back(Cp932ToUtf8(n.text)); };
    EXPECT_EQ(CreatePlayerFromScoreList("solo", "pass", 8, tell), 1);
    EXPECT_EQ(notes, std::vector<std::string>{U(u8"1スコアを引き継ぎました。")});
    game.WriteFile("QV5files/Config/temp.xml", "");
    EXPECT_EQ(CreatePlayerFromScoreList("duo1", "pass", 8, tell), 0);
    EXPECT_EQ(notes.back(), kUnreadable);
    EXPECT_FALSE(game.Exists("QV5files/Database/Score/duo1.db"));
}

TEST_F(ScoreRestoreTest, APlantedLinkAtTempXmlIsReplaced) {
    game.WriteFile("home/file", "the user's own file");
    std::filesystem::create_symlink(game.HostPath("home/file"),
                                    game.HostPath("QV5files/Config/temp.xml"));
    server.SetBody("<scorelist>" + Score("a", 1, 1, 1) + "</scorelist>");
    EXPECT_EQ(Restore("player1", "secret", "1234"), 1);
    EXPECT_EQ(game.ReadFile("home/file"), "the user's own file");
    EXPECT_FALSE(std::filesystem::is_symlink(game.HostPath("QV5files/Config/temp.xml")));
    EXPECT_EQ(game.ReadFile("QV5files/Config/temp.xml"),
              "<scorelist>" + Line(Score("a", 1, 1, 1)) + "</scorelist>");
}

// Stops after a number of rows; on the way it notes whether a player was
// listed while the database was being filled.
class StopAfter final : public Progress {
  public:
    explicit StopAfter(long rows) : rows_(rows) {}
    void Update(long done, long, const std::string&) override {
        if (!ListPlayers().empty()) listed_while_storing = true;
        if (done >= rows_) RequestStop();
    }
    void SetStatus(const std::string&) override {}
    static inline bool listed_while_storing = false;

  private:
    long rows_;
};

TEST_F(ScoreRestoreTest, APlayerIsListedOnlyOnceComplete) {
    std::string body = "<scorelist>";
    for (int i = 0; i < 50; ++i) body += Score("h" + std::to_string(i), 1, 1, 1);
    game.WriteFile("QV5files/Config/temp.xml", body + "</scorelist>");
    auto tell = [](const Notice&) {};
    for (long stop_at : {10L, 1000L}) {
        StopAfter::listed_while_storing = false;
        auto progress = [stop_at](RestoreStep) { return std::make_unique<StopAfter>(stop_at); };
        const bool completes = stop_at > 50;
        EXPECT_EQ(CreatePlayerFromScoreList("player1", "secret", 3, tell, progress),
                  completes ? 1 : 0);
        EXPECT_FALSE(StopAfter::listed_while_storing) << stop_at;
        EXPECT_EQ(ListPlayers(),
                  completes ? std::vector<std::string>{"player1"} : std::vector<std::string>{})
            << stop_at;
        // Nothing of the stopped one is left in the folder.
        std::vector<DirEntry> entries;
        ASSERT_TRUE(ListFolder(kScoreFolder, entries));
        EXPECT_EQ(entries.size(), completes ? 1u : 0u) << stop_at;
    }
    // The file renamed into place holds the password's digest: the user's alone.
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(
        std::filesystem::status(game.HostPath("QV5files/Database/Score/player1.db")).permissions(),
        std::filesystem::perms(0600 & ~mask));
}

TEST_F(ScoreRestoreTest, AnEmptyFileLeftByAnEarlierInterruptionIsReplaced) {
    game.WriteFile("QV5files/Database/Score/player1.db", "");
    game.WriteFile("QV5files/Config/temp.xml",
                   "<scorelist>" + Score("a", 1, 1, 1) + "</scorelist>");
    EXPECT_EQ(CreatePlayerFromScoreList("player1", "secret", 3, [](const Notice&) {}), 1);
    Database db;
    ASSERT_TRUE(db.Open(PlayerDbPath("player1"), Database::Mode::OpenExisting));
    EXPECT_EQ(test::QueryInt(db, "SELECT count(*) FROM score"), 1);
}

// A list of `count` entries, from "<scorelist>" up to its end tag (not included).
std::string ManyScores(int count) {
    std::string list = "<scorelist>\n";
    for (int i = 0; i < count; ++i) list += Score("h" + std::to_string(i), i, 1, 1);
    return list;
}

// Lists the whole-document parse refused are refused as before, however far
// into the file the fault lies, and before the player's name is looked at.
TEST_F(ScoreRestoreTest, AFaultAnywhereInTheListCreatesNothing) {
    const std::string many = ManyScores(8000);
    ASSERT_GT(many.size(), 2 * kXmlListBlock);
    const std::string lists[] = {
        many.substr(0, many.size() - 30),  // cut inside an entry
        many.substr(0, kXmlListBlock + 7),
        many,  // the root never closed
        many + "</scorelist>\ntrailing text",
        many + "</scorelist><?xml late?>",
        many + "</scorelist><!-- open",
        "<?xml version=\"1.0\"?><!-- c --><?xml again?>" + many + "</scorelist>",
        many + "<score><hash a='1' a='2'/></score></scorelist>",
        many + "<score></scores></scorelist>",
    };
    auto tell = [this](const Notice& n) { told.push_back(Cp932ToUtf8(n.text)); };
    test::MakePlayer("taken", "other", 3);
    for (const std::string& list : lists) {
        game.WriteFile("QV5files/Config/temp.xml", list);
        for (const char* id : {"player1", "taken"}) {
            told.clear();
            EXPECT_EQ(CreatePlayerFromScoreList(id, "secret", 3, tell), 0);
            EXPECT_EQ(told, std::vector<std::string>{kUnreadable}) << list.substr(list.size() - 40);
        }
        EXPECT_EQ(ListPlayers(), std::vector<std::string>{"taken"});
        std::vector<DirEntry> entries;
        ASSERT_TRUE(ListFolder(kScoreFolder, entries));
        EXPECT_EQ(entries.size(), 1u);
    }
}

TEST_F(ScoreRestoreTest, EveryEntryOfAListLargerThanABlock) {
    const std::string list = ManyScores(12000);
    ASSERT_GT(list.size(), 3 * kXmlListBlock);
    game.WriteFile("QV5files/Config/temp.xml", list + "</scorelist>\n");
    std::vector<std::string> notes;
    auto tell = [&](const Notice& n) { notes.push_back(Cp932ToUtf8(n.text)); };
    ASSERT_EQ(CreatePlayerFromScoreList("player1", "secret", 3, tell), 1);
    EXPECT_EQ(notes, std::vector<std::string>{U(u8"12000スコアを引き継ぎました。")});
    Database db;
    ASSERT_TRUE(db.Open(PlayerDbPath("player1"), Database::Mode::OpenExisting));
    EXPECT_EQ(test::QueryInt(db, "SELECT count(*) FROM score"), 12000);
    EXPECT_EQ(test::QueryInt(db, "SELECT sum(perfect) FROM score"), 11999 * 12000 / 2);
}

// Markup inside the values reads as the parse of the whole file read it.
TEST_F(ScoreRestoreTest, ValuesWithMarkupAndEncodings) {
    struct Case {
        std::string list;
        std::string hash, scorehash, ghost;
    } cases[] = {
        {"<scorelist><score><hash> &#x41;&amp;&#66; </hash>"
         "<scorehash><![CDATA[<sh>&amp;]]></scorehash><ghost><!-- g -->g</ghost></score>"
         "</scorelist>",
         "A&B", "<sh>&amp;", "g"},
        // Texts come back from the database as the program's Shift-JIS.
        {"<scorelist><score><hash>\x82\xA0</hash></score></scorelist>", Sj(u8"あ"), "", ""},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<scorelist><score><hash>" +
             U(u8"あ") + "</hash></score></scorelist>",
         Sj(u8"あ"), "", ""},
        {"<?xml version='1.0' encoding='utf-8'?><scorelist><score><hash>" + U(u8"い") +
             "</hash></score></scorelist>",
         Sj(u8"い"), "", ""},
        {"<scorelist><score><!-- <hash>x</hash> --><hash>\r\n\tv </hash><ghost>a<b/>c</ghost>"
         "</score></scorelist>",
         "v", "", "a"},
    };
    int n = 0;
    for (const auto& c : cases) {
        game.WriteFile("QV5files/Config/temp.xml", c.list);
        const std::string id = "player" + std::to_string(++n);
        ASSERT_EQ(CreatePlayerFromScoreList(id, "secret", 3, [](const Notice&) {}), 1) << c.list;
        Database db;
        ASSERT_TRUE(db.Open(PlayerDbPath(id), Database::Mode::OpenExisting));
        Statement s = db.Prepare("SELECT hash,scorehash,ghost FROM score");
        ASSERT_TRUE(s.Step());
        EXPECT_EQ(s.Text(0), c.hash) << c.list;
        EXPECT_EQ(s.Text(1), c.scorehash) << c.list;
        EXPECT_EQ(s.Text(2), c.ghost) << c.list;
    }
}

// Cuts temp.xml short once the rows have begun to be stored.
class CutTheList final : public Progress {
  public:
    explicit CutTheList(std::string host_path) : host_path_(std::move(host_path)) {}
    void Update(long done, long total, const std::string&) override {
        totals.push_back(total);
        if (done == 0) std::filesystem::resize_file(host_path_, 2 * kXmlListBlock + 11);
    }
    void SetStatus(const std::string&) override {}
    static inline std::vector<long> totals;

  private:
    std::string host_path_;
};

TEST_F(ScoreRestoreTest, AListThatFailsWhileStoredCreatesNothing) {
    const std::string list = ManyScores(12000);
    ASSERT_GT(list.size(), 3 * kXmlListBlock);
    game.WriteFile("QV5files/Config/temp.xml", list + "</scorelist>\n");
    auto progress = [this](RestoreStep) {
        return std::make_unique<CutTheList>(game.HostPath("QV5files/Config/temp.xml"));
    };
    std::vector<std::string> notes;
    auto tell = [&](const Notice& n) { notes.push_back(Cp932ToUtf8(n.text)); };
    EXPECT_EQ(CreatePlayerFromScoreList("player1", "secret", 3, tell, progress), 0);
    EXPECT_EQ(notes, std::vector<std::string>{kUnreadable});
    ASSERT_FALSE(CutTheList::totals.empty());
    EXPECT_EQ(CutTheList::totals.front(), 12000);  // counted when the list was checked
    EXPECT_LT(CutTheList::totals.size(), 12000u);
    EXPECT_TRUE(ListPlayers().empty());
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListFolder(kScoreFolder, entries));
    EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace qv5
