#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <filesystem>

#include "config/config_file.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "player/player_db.h"
#include "support/http_server.h"
#include "support/players.h"
#include "support/scoped_env.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "window/common/controls.h"
#include "window/dialogs/new_player_dialog.h"
#include "window/dialogs/new_player_dialog_ids.h"
#include "window/main/main_window.h"
#include "window/main/main_window_ids.h"
#include "window/pages/main_page.h"
#include "window/pages/main_page_ids.h"

namespace qv5 {
namespace {

const char* kConfig = "QV5files/Config/config.xml";
std::string U(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

// Types into the new-player dialog and presses OK (or Cancel).
std::function<int(QDialog&)> Fill(const std::string& id, const std::string& password,
                                  bool link = false, bool ok = true) {
    return [=](QDialog& d) {
        Control<QLineEdit>(&d, new_player_id::kId)->setText(QString::fromStdString(id));
        Control<QLineEdit>(&d, new_player_id::kPassword)->setText(QString::fromStdString(password));
        if (link) Control<QCheckBox>(&d, new_player_id::kLinkIr)->click();
        if (ok)
            d.accept();
        else
            d.reject();
        return d.result();
    };
}

class SignInTest : public ::testing::Test {
  protected:
    void SetUp() override { TheConfig() = ConfigRecord{}; }
    void WriteConfig(const std::string& id, const std::string& pass) {
        ConfigRecord c;
        c.id = id;
        c.pass = pass;
        c.path_count = 1;
        c.path[0] = "songs\\";
        ASSERT_EQ(SaveConfig(c), 1);
    }
    QComboBox* Players(MainWindow& dlg) {
        return Control<QComboBox>(dlg.MainTab(), main_page_id::kPlayers);
    }
    test::TempGame game;
    test::ScopedScriptedUi ui;
};

// A game folder made by hand holds QV5files alone, and no config.xml says a
// language yet: the first start speaks the desktop's language, makes the
// folders the first player and the first save write into, and that save
// keeps the language.
TEST_F(SignInTest, AFirstStartInAHandMadeGameFolderSpeaksTheDesktopsLanguage) {
    struct Case {
        const char* locale;
        int language;
        std::vector<std::string> messages;  // the welcome, then the report
        std::string caption;
    } cases[] = {
        {"ja_JP.UTF-8",
         0,
         {U(u8"最初にプレイヤーデータを作成します。\nお好きなID(英数字のみ)"
            u8"とパスワードを設定して下さい。"),
          U(u8"新規データを作成しました。")},
         U(u8"ようこそ")},
        {"en_GB.UTF-8",
         1,
         {"First, create your player data.\nChoose an ID (letters and digits only) and a "
          "password.",
          "New player data created."},
         "Welcome"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        std::filesystem::remove_all(game.HostPath("QV5files/Config"));
        std::filesystem::remove_all(game.HostPath("QV5files/Database"));
        TheConfig() = ConfigRecord{};
        test::ScopedEnv desktop("LC_ALL", c.locale);
        test::ScopedScriptedUi person;
        person->AnswerMessage(MsgAnswer::Ok);
        person->AnswerDialog(Fill("player1", "secret"));
        person->AnswerMessage(MsgAnswer::Ok);
        MainWindow dlg;
        ASSERT_TRUE(dlg.InitDialog());
        EXPECT_EQ(person->MessageTexts(), c.messages);
        ASSERT_FALSE(person->prompts().empty());
        EXPECT_EQ(person->prompts()[0].Utf8Caption(), c.caption);
        // The first save: a tab change (no song folder is registered yet).
        person->AnswerMessage(MsgAnswer::Ok);
        dlg.Tabs()->setCurrentIndex(1);
        EXPECT_EQ(person->MessageTexts().size(), 3u);
        ConfigRecord back;
        ASSERT_EQ(LoadConfig(back), ConfigState::Read);
        EXPECT_EQ(back.language, c.language);
        EXPECT_EQ(back.id, "player1");
        UseLanguage(0);
    }
}

TEST_F(SignInTest, PlayerListSelection) {
    for (const char* id : {"a", "ab", "b"}) test::MakePlayer(id, "pass");
    struct Case {
        std::string configured;
        std::string selected;
    } cases[] = {{"ab", "ab"}, {"b", "b"}, {"zzz", ""}, {"", ""}};
    for (const auto& c : cases) {
        WriteConfig(c.configured, "pass");
        MainWindow dlg;
        dlg.InitDialog();
        QComboBox* list = Players(dlg);
        ASSERT_EQ(list->count(), 3);
        // Entry 0 is whichever the file system lists first.
        std::string expected = c.selected.empty() ? list->itemText(0).toStdString() : c.selected;
        EXPECT_EQ(list->currentText().toStdString(), expected) << c.configured;
        EXPECT_EQ(dlg.MainTab()->values.id, expected);  // read back by the first-run check
    }
}

TEST_F(SignInTest, FirstRunLoopRepeatsUntilAPlayerExists) {
    const std::string welcome =
        U(u8"最初にプレイヤーデータを作成します。\nお好きなID(英数字のみ)"
          u8"とパスワードを設定して下さい。");
    ui->AnswerMessage(MsgAnswer::Ok);
    ui->AnswerDialog(Fill("", "", false, false));  // cancel
    ui->AnswerMessage(MsgAnswer::Ok);
    ui->AnswerDialog(Fill("ab", "pass"));  // too short
    ui->AnswerMessage(MsgAnswer::Ok);
    ui->AnswerMessage(MsgAnswer::Ok);
    ui->AnswerDialog(Fill("player1", "secret"));
    ui->AnswerMessage(MsgAnswer::Ok);
    MainWindow dlg;
    dlg.InitDialog();
    EXPECT_EQ(ui->MessageTexts(),
              (std::vector<std::string>{welcome, welcome, U(u8"IDが短すぎます。(3文字以上)"),
                                        welcome, U(u8"新規データを作成しました。")}));
    EXPECT_EQ(ui->prompts()[0].Utf8Caption(), U(u8"ようこそ"));
    EXPECT_EQ(ui->prompts()[1].kind, "dialog");
    EXPECT_EQ(ui->prompts()[1].text, "NEW PLAYER");
    // The new player is selected, and its password is in the page.
    EXPECT_EQ(Players(dlg)->currentText(), "player1");
    EXPECT_EQ(dlg.MainTab()->values.pass, "secret");
    EXPECT_EQ(dlg.MainTab()->values.qv4id, "player1");
    EXPECT_EQ(dlg.MainTab()->values.qv4pass, "secret");
    EXPECT_EQ(Control<QLineEdit>(dlg.MainTab(), main_page_id::kPass)->text(), "secret");

    // Exit writes the new player into config.xml.
    ui->AnswerMessage(MsgAnswer::Ok);  // no folder registered
    Control<QPushButton>(&dlg, main_window_id::kExit, true)->click();
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.id, "player1");
    EXPECT_EQ(back.pass, "secret");
    EXPECT_EQ(back.qv4id, "player1");
}

// The way out of the first run: the dialog closed twice in a row ends the
// start without a file written; a refusal in between starts the count anew.
TEST_F(SignInTest, FirstRunLoopEndsWhenTheDialogIsClosedTwice) {
    ui->AcceptAllMessages();
    ui->AnswerDialog(Fill("", "", false, false));
    ui->AnswerDialog(Fill("ab", "pass"));  // too short: not a close
    ui->AnswerDialog(Fill("", "", false, false));
    ui->AnswerDialog(Fill("", "", false, false));
    MainWindow dlg;
    EXPECT_FALSE(dlg.InitDialog());
    EXPECT_TRUE(ui->Exhausted());
    EXPECT_FALSE(game.Exists(kConfig));
    EXPECT_TRUE(std::filesystem::is_empty(game.HostPath("QV5files/Database/Score")));
}

TEST_F(SignInTest, LinkedAccountRestoresItsScores) {
    unsetenv("http_proxy");
    setenv("no_proxy", "127.0.0.1", 1);
    test::HttpServer server;
    game.WriteFile("QV5files/Config/irserver.txt", server.Url("/ir/"));
    test::MakePlayer("abc", "pass");
    WriteConfig("abc", "pass");
    MainWindow dlg;
    dlg.InitDialog();
    auto linked = [](const std::string& id, const std::string& irid) {
        return [=](QDialog& d) {
            Control<QLineEdit>(&d, new_player_id::kId)->setText(QString::fromStdString(id));
            Control<QLineEdit>(&d, new_player_id::kPassword)->setText("secret");
            Control<QCheckBox>(&d, new_player_id::kLinkIr)->click();
            EXPECT_TRUE(Control<QLineEdit>(&d, new_player_id::kIrId)->isEnabled());
            Control<QLineEdit>(&d, new_player_id::kIrId)->setText(QString::fromStdString(irid));
            d.accept();
            return d.result();
        };
    };
    // The service refuses the password: nothing is added.
    server.SetBody("PASS\n");
    ui->AnswerDialog(linked("newone", "55"));
    ui->AcceptAllMessages();
    Control<QPushButton>(dlg.MainTab(), main_page_id::kNewPlayer)->click();
    EXPECT_EQ(ui->MessageTexts().back(), U(u8"パスワードが間違っているか、無効なQV5IDです。"));
    EXPECT_EQ(Players(dlg)->count(), 1);

    server.SetBody(
        "<scorelist><score><hash>x</hash><pg>1</pg><notes>1</notes></score>"
        "</scorelist>\n");
    ui->AnswerDialog(linked("newone", "55"));
    Control<QPushButton>(dlg.MainTab(), main_page_id::kNewPlayer)->click();
    const std::vector<std::string> told = ui->MessageTexts();
    ASSERT_GE(told.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(told.end() - 3, told.end()),
              (std::vector<std::string>{
                  U(u8"スコアデータをダウンロードします。\n環境により時間がかかる場合があります。"),
                  U(u8"スコアデータを読み込みます。"), U(u8"1スコアを引き継ぎました。")}));
    EXPECT_NE(
        server.Log().find("GET /ir/restorescore.cgi?id=55&passmd5=" + PasswordDigest("secret")),
        std::string::npos);
    // As after a plain creation: last in the list, selected, its password shown.
    EXPECT_EQ(Players(dlg)->count(), 2);
    EXPECT_EQ(Players(dlg)->currentIndex(), 1);
    EXPECT_EQ(Players(dlg)->currentText(), "newone");
    EXPECT_EQ(dlg.MainTab()->values.pass, "secret");
    EXPECT_EQ(dlg.MainTab()->values.qv4id, "newone");
    EXPECT_EQ(Control<QLineEdit>(dlg.MainTab(), main_page_id::kPass)->text(), "secret");
}

TEST_F(SignInTest, LinkedAccountDownloadCanBeStopped) {
    unsetenv("http_proxy");
    setenv("no_proxy", "127.0.0.1", 1);
    test::HttpServer server;
    server.SetMode("slow");
    game.WriteFile("QV5files/Config/irserver.txt", server.Url("/ir/"));
    test::MakePlayer("abc", "pass");
    WriteConfig("abc", "pass");
    MainWindow dlg;
    dlg.InitDialog();
    ui->AnswerDialog([](QDialog& d) {
        Control<QLineEdit>(&d, new_player_id::kId)->setText("newone");
        Control<QLineEdit>(&d, new_player_id::kPassword)->setText("secret");
        Control<QCheckBox>(&d, new_player_id::kLinkIr)->click();
        Control<QLineEdit>(&d, new_player_id::kIrId)->setText("55");
        d.accept();
        return d.result();
    });
    ui->AcceptAllMessages();
    // The person presses Stop on the download's progress window once it shows.
    bool pressed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "ProgressWindow" && w->isVisible() && !pressed) {
                w->findChild<QPushButton*>("stop")->click();
                pressed = true;
            }
    });
    poll.start(20);
    Control<QPushButton>(dlg.MainTab(), main_page_id::kNewPlayer)->click();
    EXPECT_TRUE(pressed);
    EXPECT_EQ(ui->MessageTexts(),
              std::vector<std::string>{U(u8"スコアデータをダウンロードします。\n"
                                         u8"環境により時間がかかる場合があります。")});
    EXPECT_NE(server.Log().find("restorescore.cgi?id=55"), std::string::npos);
    EXPECT_EQ(Players(dlg)->count(), 1);
    EXPECT_FALSE(game.Exists("QV5files/Database/Score/newone.db"));
}

TEST_F(SignInTest, TabChangeWithAWrongPassword) {
    test::MakePlayer("abc", "pass");
    WriteConfig("abc", "wrong");
    MainWindow dlg;
    dlg.InitDialog();
    const std::string before = game.ReadFile(kConfig);
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.Tabs()->setCurrentIndex(3);
    // A wrong password is no database error.
    EXPECT_EQ(ui->MessageTexts(), (std::vector<std::string>{U(u8"パスワードが違います。")}));
    EXPECT_EQ(dlg.Tabs()->currentIndex(), 3);
    EXPECT_EQ(game.ReadFile(kConfig), before);
    EXPECT_EQ(dlg.windowTitle(), "QV5 SETUP");
    dlg.Tabs()->setCurrentIndex(0);  // back to MAIN: no message
    EXPECT_EQ(ui->prompts().size(), 1u);
}

// Each sign-in names its player in the title; a failed one names none.
TEST_F(SignInTest, TheTitleFollowsThePlayer) {
    test::MakePlayer("alice", "pass");
    test::MakePlayer("bob", "word");
    WriteConfig("alice", "pass");
    MainWindow dlg;
    dlg.InitDialog();
    ui->AcceptAllMessages();
    struct Case {
        std::string id, pass, title;
    } cases[] = {{"alice", "pass", U(u8"QV5 SETUP — alice")},
                 {"bob", "word", U(u8"QV5 SETUP — bob")},
                 {"bob", "nope", "QV5 SETUP"}};
    for (const auto& c : cases) {
        Players(dlg)->setCurrentText(QString::fromStdString(c.id));
        Control<QLineEdit>(dlg.MainTab(), main_page_id::kPass)
            ->setText(QString::fromStdString(c.pass));
        dlg.ApplySettings();
        EXPECT_EQ(dlg.windowTitle().toStdString(), c.title) << c.id;
    }
}

TEST_F(SignInTest, ExitWithAWrongPasswordKeepsTheFile) {
    test::MakePlayer("abc", "pass");
    WriteConfig("abc", "pass");
    MainWindow dlg;
    dlg.InitDialog();
    const std::string before = game.ReadFile(kConfig);
    Control<QLineEdit>(dlg.MainTab(), main_page_id::kPass)->setText("bad");
    Control<QLineEdit>(dlg.MainTab(), main_page_id::kWidth)->setText("1024");
    ui->AnswerMessage(MsgAnswer::Ok);
    Control<QPushButton>(&dlg, main_window_id::kExit, true)->click();
    EXPECT_TRUE(dlg.isHidden());
    EXPECT_EQ(game.ReadFile(kConfig), before);
}

TEST_F(SignInTest, ApplySettingsMessagesInBothLanguages) {
    test::MakePlayer("abc", "pass");
    struct Case {
        int language;
        std::string id, pass;
        std::vector<std::string> messages;
    } cases[] = {
        {0, "abc", "pa", {U(u8"パスワードを入力して下さい。")}},
        {1, "abc", "pa", {"Input password."}},
        {1, "abc", "bad", {"Password error."}},
        {1, "abc", "pass", {"Please register a folder."}},
        {0,
         "abc",
         "pass",
         {U(u8"曲の検索を行うフォルダが登録されていません。\nJUKEBOXタグにて、登録を行ってください"
            u8"。")}},
        {7,
         "abc",
         "pass",
         {U(u8"曲の検索を行うフォルダが登録されていません。\nJUKEBOXタグにて、登録を行ってください"
            u8"。")}},
    };
    for (const auto& c : cases) {
        ConfigRecord rec;
        rec.id = c.id;
        rec.pass = c.pass;
        rec.language = c.language;
        ASSERT_EQ(SaveConfig(rec), 1);
        MainWindow dlg;
        dlg.InitDialog();
        test::ScopedScriptedUi local;
        for (size_t i = 0; i < c.messages.size(); ++i) local->AnswerMessage(MsgAnswer::Ok);
        const int expected =
            c.messages.back().find("folder") != std::string::npos ||
                    c.messages.back().find("\xE3\x83\x95\xE3\x82\xA9") != std::string::npos
                ? 1
                : 0;
        EXPECT_EQ(dlg.ApplySettings(), expected);
        EXPECT_EQ(local->MessageTexts(), c.messages);
    }
}

TEST_F(SignInTest, ShortIdMessage) {
    // A player list without players: the ID check comes first.
    ConfigRecord rec;
    rec.language = 1;
    MainWindow dlg;
    dlg.MainTab()->values.pass = "pass";
    dlg.MainTab()->ShowValues();
    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_EQ(dlg.ApplySettings(), 0);
    EXPECT_EQ(ui->MessageTexts().at(0),
              U(u8"NEW PLAYERボタンでプレイヤーデータを作成してください。"));
    EXPECT_FALSE(game.Exists(kConfig));
}

TEST_F(SignInTest, RankingButtons) {
    test::MakePlayer("abc", "pass", 77);
    test::MakePlayer("nor", "pass");
    WriteConfig("abc", "pass");
    std::vector<std::string> opened;
    auto previous = SetShellOpenHandler([&](const std::string& t) { opened.push_back(t); });
    MainWindow dlg;
    dlg.InitDialog();
    Players(dlg)->setCurrentText("abc");
    // Each button opens the page its caption names: kTopPage the top page, kMyPage my page.
    Control<QPushButton>(dlg.MainTab(), main_page_id::kTopPage)->click();
    Control<QPushButton>(dlg.MainTab(), main_page_id::kMyPage)->click();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_NE(
        opened[0].find("search.cgi?login=1&qv5id=77&passmd5=" + PasswordDigest("pass") + "\""),
        std::string::npos);
    EXPECT_NE(opened[1].find("search.cgi?mode=mypage&login=1&qv5id=77&passmd5="),
              std::string::npos);
    Players(dlg)->setCurrentText("nor");
    ui->AnswerMessage(MsgAnswer::Ok);
    Control<QPushButton>(dlg.MainTab(), main_page_id::kMyPage)->click();
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(ui->MessageTexts().back().substr(0, 5), "QV5IR");
    SetShellOpenHandler(previous);
}

}  // namespace
}  // namespace qv5
