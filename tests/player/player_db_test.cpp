#include "player/player_db.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/database.h"
#include "platform/text.h"
#include "support/library_rows.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

const std::string kError = "\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC";  // エラー

std::vector<std::string> ScoreFiles(const test::TempGame& game) {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(game.HostPath("QV5files/Database/Score")))
        names.push_back(e.path().filename().string());
    return names;
}

TEST(PlayerDb, PasswordDigestIsLowerHexMd5) {
    EXPECT_EQ(PasswordDigest(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(PasswordDigest("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(PasswordDigest(Sj(u8"あい")), "c42390b96673a74cc5cfa065f2cb7234");
}

TEST(PlayerDb, CreatePlayerWritesTheExactSchemaAndRow) {
    test::TempGame game;
    test::ScopedScriptedUi ui;
    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_EQ(CreatePlayer("abc", "pw1", ShowOn(nullptr)), 1);
    ASSERT_EQ(ui->prompts().size(), 1u);
    EXPECT_EQ(ui->prompts()[0].Utf8Text(),
              reinterpret_cast<const char*>(u8"新規データを作成しました。"));
    EXPECT_EQ(ui->prompts()[0].Utf8Caption(), reinterpret_cast<const char*>(u8"報告"));

    Database db;
    ASSERT_TRUE(db.Open(PlayerDbPath("abc"), Database::Mode::OpenExisting));
    Statement s = db.Prepare("SELECT sql FROM sqlite_master WHERE name='player'");
    ASSERT_TRUE(s.Step());
    EXPECT_EQ(s.Text(0), kCreatePlayerTable);
    EXPECT_NE(s.Text(0).find("gradeversion INTEGER, trialversion"), std::string::npos);
    EXPECT_EQ(test::QueryInt(db, "SELECT count(*) FROM sqlite_master WHERE name='score'"), 0);
    Statement row = db.Prepare("SELECT id,hash,name,systemversion,irid,playcount FROM player");
    ASSERT_TRUE(row.Step());
    EXPECT_EQ(row.Text(0), "abc");
    EXPECT_EQ(row.Text(1), PasswordDigest("pw1"));
    EXPECT_EQ(row.Text(2), "abc");
    EXPECT_EQ(row.Int(3), 1);
    EXPECT_TRUE(row.IsNull(4));
    EXPECT_TRUE(row.IsNull(5));
    EXPECT_FALSE(row.Step());
}

TEST(PlayerDb, CreatePlayerChecksInOrder) {
    const std::string longest(199, 'a');
    struct Case {
        std::string id, password;
        const char8_t* message;  // nullptr: created
    } cases[] = {
        {"ab", "x", u8"IDが短すぎます。(3文字以上)"},
        {"", "secret", u8"IDが短すぎます。(3文字以上)"},
        {"abc", "xy", u8"パスワードが短すぎます。(3文字以上)"},
        {Sj(u8"あい"), "xy", u8"パスワードが短すぎます。(3文字以上)"},
        {Sj(u8"あいう"), "pass", u8"IDには半角英数のみ使用可能です。"},
        {"abc", "xyz", nullptr},
        {"p2", "x", u8"IDが短すぎます。(3文字以上)"},
        {"jp.player-1_x", Sj(u8"あい"), nullptr},
        {"a b!c", "pass", nullptr},
        {longest, "pass", nullptr},
        {"abc", "other", u8"別のプレイヤー名を指定して下さい"},
    };
    test::TempGame game;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        test::ScopedScriptedUi ui;
        ui->AnswerMessage(MsgAnswer::Ok);
        EXPECT_EQ(CreatePlayer(c.id, c.password, ShowOn(nullptr)), c.message ? 0 : 1);
        ASSERT_EQ(ui->prompts().size(), 1u);
        if (c.message) {
            EXPECT_EQ(ui->prompts()[0].Utf8Text(), reinterpret_cast<const char*>(c.message));
            EXPECT_EQ(ui->prompts()[0].Utf8Caption(), kError);
        }
    }
    // The duplicate kept the first row.
    EXPECT_EQ(VerifyPlayerPassword("abc", "xyz", ShowOn(nullptr)), 1);
}

// Not the name's fault: the message names the host path and the reason, and
// nothing is left that would list as a player.
TEST(PlayerDb, APlayerThatCannotBeMadeSaysWhereAndWhy) {
    test::TempGame game;
    // A missing score folder is made; a file in its place cannot be.
    std::filesystem::remove_all(game.HostPath("QV5files/Database/Score"));
    game.WriteFile("QV5files/Database/Score", "not a folder");
    test::ScopedScriptedUi ui;
    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_EQ(CreatePlayer("alice", "secret", ShowOn(nullptr)), 0);
    EXPECT_EQ(ui->MessageTexts().at(0),
              std::string(reinterpret_cast<const char*>(u8"プレイヤーデータを作成できません。\n")) +
                  game.HostPath("QV5files/Database/Score/alice.db") + "\nNot a directory");
    EXPECT_TRUE(ListPlayers().empty());
}

TEST(PlayerDb, HostileIdsAreRefusedBeforeAnythingIsWritten) {
    test::TempGame game;
    const char* ids[] = {"../evil", "a/b/c", "a\\b",   "c:x",  "ab*",  "ab?",  "a\"b", "a<b",
                         "a>b",     "a|b",   "ab\x01", ".abc", "abc.", " abc", "abc ", "a'b\x7f"};
    std::vector<std::string> hostile(std::begin(ids), std::end(ids));
    hostile.push_back(std::string(200, 'a'));
    for (const std::string& id : hostile) {
        SCOPED_TRACE(id);
        test::ScopedScriptedUi ui;
        ui->AnswerMessage(MsgAnswer::Ok);
        EXPECT_EQ(CreatePlayer(id, "password", ShowOn(nullptr)), 0);
        EXPECT_EQ(ui->MessageTexts().at(0),
                  reinterpret_cast<const char*>(u8"IDには半角英数のみ使用可能です。"));
    }
    EXPECT_TRUE(ScoreFiles(game).empty());
    EXPECT_FALSE(std::filesystem::exists(game.HostPath("QV5files/Database/evil.db")));
}

TEST(PlayerDb, QuotesInIdsAreData) {
    test::TempGame game;
    test::ScopedScriptedUi ui;
    ui->AcceptAllMessages();
    ASSERT_EQ(CreatePlayer("o'neil", "pass", ShowOn(nullptr)), 1);
    ASSERT_EQ(CreatePlayer("x');DROP TABLE player;--", "pass", ShowOn(nullptr)), 1);
    EXPECT_EQ(VerifyPlayerPassword("x');DROP TABLE player;--", "pass", ShowOn(nullptr)), 1);
    EXPECT_EQ(VerifyPlayerPassword("o'neil", "pass", ShowOn(nullptr)), 1);
    EXPECT_EQ(VerifyPlayerPassword("o'neil", "wrong", ShowOn(nullptr)), 0);
    // A quote that would have closed the literal matches nothing.
    test::MakePlayer("abc", "pass");
    EXPECT_EQ(VerifyPlayerPassword("abc' OR '1'='1", "pass", ShowOn(nullptr)), 0);
}

TEST(PlayerDb, VerifyPlayerPassword) {
    test::TempGame game;
    test::MakePlayer("abc", "pass");
    {
        Database db;  // a file without the player's row
        ASSERT_TRUE(db.Open(PlayerDbPath("norow")));
        db.Exec(kCreatePlayerTable);
    }
    struct Case {
        std::string id, password;
        int result;
        const char8_t* message;
    } cases[] = {
        {"abc", "pass", 1, nullptr},
        // A wrong password is the caller's to name: no database error box.
        {"abc", "wrong", 0, nullptr},
        {"norow", "pass", 0, u8"データベースエラー"},
        {"missing", "pass", 0, u8"データベースを開けません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        test::ScopedScriptedUi ui;
        if (c.message) ui->AnswerMessage(MsgAnswer::Ok);
        EXPECT_EQ(VerifyPlayerPassword(c.id, c.password, ShowOn(nullptr)), c.result);
        EXPECT_EQ(ui->prompts().size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(ui->MessageTexts().at(0), reinterpret_cast<const char*>(c.message));
            EXPECT_EQ(ui->prompts()[0].Utf8Caption(), kError);
        }
    }
    // Checking a missing player creates no stray database.
    EXPECT_FALSE(game.Exists("QV5files/Database/Score/missing.db"));
}

TEST(PlayerDb, ListPlayersInFileSystemOrder) {
    test::TempGame game;
    for (const char* id : {"b", "ab", "a"}) test::MakePlayer(id, "pass");
    game.MakeDir("QV5files/Database/Score/dir.db");
    game.WriteFile("QV5files/Database/Score/notes.txt", "x");
    // The order the folder lists its files in, without folders and other files.
    std::vector<std::string> listed;
    for (const std::string& name : ScoreFiles(game))
        if (name.size() > 3 && name.ends_with(".db") && name != "dir.db")
            listed.push_back(name.substr(0, name.size() - 3));
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(ListPlayers(), listed);
}

TEST(PlayerDb, AFileListedWithAnUpperCaseExtensionIsTheOneSignedInTo) {
    test::TempGame game;
    test::MakePlayer("upper", "pass");
    std::filesystem::rename(game.HostPath("QV5files/Database/Score/upper.db"),
                            game.HostPath("QV5files/Database/Score/upper.DB"));
    EXPECT_EQ(ListPlayers(), (std::vector<std::string>{"upper"}));
    EXPECT_EQ(PlayerDbPath("upper"), "QV5files\\Database\\Score\\upper.DB");
    test::ScopedScriptedUi ui;
    EXPECT_EQ(VerifyPlayerPassword("upper", "pass", ShowOn(nullptr)), 1);
    EXPECT_TRUE(ui->prompts().empty());
    // Creating the same player again finds the file and keeps it.
    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_EQ(CreatePlayer("upper", "other", ShowOn(nullptr)), 0);
    EXPECT_EQ(ScoreFiles(game), (std::vector<std::string>{"upper.DB"}));
    EXPECT_EQ(VerifyPlayerPassword("upper", "pass", ShowOn(nullptr)), 1);
    // An ID is still matched byte for byte.
    EXPECT_EQ(PlayerDbPath("UPPER"), "QV5files\\Database\\Score\\UPPER.db");
}

TEST(PlayerDb, MessagesAreToldToTheCaller) {
    test::TempGame game;
    test::ScopedScriptedUi ui;
    std::vector<Notice> told;
    auto tell = [&](const Notice& n) { told.push_back(n); };
    EXPECT_EQ(CreatePlayer("ab", "pass", tell), 0);
    EXPECT_EQ(CreatePlayer("abc", "pass", tell), 1);
    EXPECT_EQ(VerifyPlayerPassword("norow", "nope", tell), 0);
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(Cp932ToUtf8(told[0].caption), kError);
    EXPECT_EQ(Cp932ToUtf8(told[1].text),
              reinterpret_cast<const char*>(u8"新規データを作成しました。"));
    EXPECT_EQ(Cp932ToUtf8(told[2].text),
              reinterpret_cast<const char*>(u8"データベースを開けません"));
    EXPECT_TRUE(ui->prompts().empty());  // nothing shown without an owner
}

}  // namespace
}  // namespace qv5
