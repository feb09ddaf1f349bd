#include "player/ranking.h"

#include <gtest/gtest.h>

#include "platform/shell.h"
#include "platform/text.h"
#include "player/player_db.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

class RankingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = SetShellOpenHandler([this](const std::string& t) { opened.push_back(t); });
    }
    void TearDown() override { SetShellOpenHandler(previous_); }
    test::TempGame game;
    std::vector<std::string> opened;

  private:
    ShellOpenHandler previous_;
};

TEST_F(RankingTest, PagesOfARegisteredPlayer) {
    test::MakePlayer("abc", "pass", 4321);
    game.WriteFile("QV5files/Config/irserver.txt", "http://ir.test/cgi/\r\nignored\r\n");
    test::ScopedScriptedUi ui;
    const std::string digest = PasswordDigest("pass");
    EXPECT_EQ(OpenRankingPage("abc", "pass", true, ShowOn(nullptr)), 1);
    EXPECT_EQ(OpenRankingPage("abc", "pass", false, ShowOn(nullptr)), 1);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], "\"http://ir.test/cgi/search.cgi?mode=mypage&login=1&qv5id=4321&passmd5=" +
                             digest + "\"");
    EXPECT_EQ(opened[1],
              "\"http://ir.test/cgi/search.cgi?login=1&qv5id=4321&passmd5=" + digest + "\"");
    EXPECT_TRUE(ui->prompts().empty());
}

TEST_F(RankingTest, RefusalsShowTheirMessage) {
    test::MakePlayer("abc", "pass");  // no irid
    test::MakePlayer("neg", "pass", -1);
    struct Case {
        std::string id, password;
        const char8_t* message;
    } cases[] = {
        {"abc", "pass",
         u8"QV5IR未登録です。\n「QV5IRに参加する」にチェックを入れた状態で起動すると、\n自動的に登"
         u8"録されます。"},
        {"neg", "pass",
         u8"QV5IR未登録です。\n「QV5IRに参加する」にチェックを入れた状態で起動すると、\n自動的に登"
         u8"録されます。"},
        {"abc", "nope", u8"パスワードが違います"},
        {"missing", "pass", u8"データベースエラー"},
    };
    for (const auto& c : cases) {
        test::ScopedScriptedUi ui;
        ui->AnswerMessage(MsgAnswer::Ok);
        EXPECT_EQ(OpenRankingPage(c.id, c.password, true, ShowOn(nullptr)), 0);
        ASSERT_EQ(ui->prompts().size(), 1u);
        EXPECT_EQ(ui->prompts()[0].Utf8Text(), reinterpret_cast<const char*>(c.message));
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(game.Exists("QV5files/Database/Score/missing.db"));
}

TEST_F(RankingTest, ChartRankingUsesTheFileHash) {
    game.WriteFile("songs/a.bms", "#TITLE x\r\n");
    EXPECT_EQ(RankingBaseAddress(), kDefaultRankingAddress);
    EXPECT_EQ(OpenChartRankingPage("songs\\a.bms"), 1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0],
              std::string("\"") + kDefaultRankingAddress +
                  "search.cgi?mode=ranking&bmsmd5=" + "f2eca48adf2a6e093a8bd4049c49b099" + "\"");
    EXPECT_EQ(OpenChartRankingPage("songs\\missing.bms"), 0);
}

}  // namespace
}  // namespace qv5
