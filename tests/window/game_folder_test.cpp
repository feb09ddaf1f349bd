// The game folder of a start without one: the window's chooser, the folder
// remembered per user, and the command line that uses it.
#include "window/main/game_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/paths.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

class GameFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "qv5xdgXXXXXX").string();
        ASSERT_TRUE(mkdtemp(tmpl.data()));
        config_home = tmpl;
        empty = config_home + "/empty";
        std::filesystem::create_directory(empty);
        if (const char* old = getenv("XDG_CONFIG_HOME")) old_home = old;
        setenv("XDG_CONFIG_HOME", config_home.c_str(), 1);
    }
    void TearDown() override {
        if (old_home)
            setenv("XDG_CONFIG_HOME", old_home->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(config_home);
    }
    std::string config_home, empty;
    std::optional<std::string> old_home;
    test::TempGame game;
    test::ScopedScriptedUi ui;
};

TEST_F(GameFolderTest, TheWindowAsksForTheFolderAndRemembersIt) {
    // Holds no QV5files: the offer to make a game folder there is declined,
    // and the chooser comes back.
    ui->AnswerPath(FromHostPath(empty));
    ui->AnswerMessage(MsgAnswer::No);
    ui->AnswerPath(FromHostPath(game.host()));
    EXPECT_EQ(WindowGameFolder(nullptr, empty, false), game.host());
    ASSERT_EQ(ui->prompts().size(), 3u);
    EXPECT_EQ(ui->prompts()[0].kind, "folder");
    EXPECT_NE(ui->prompts()[0].Utf8Text().find("QV5files"), std::string::npos);
    EXPECT_NE(ui->prompts()[1].Utf8Text().find(empty), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(empty + "/QV5files"));
    EXPECT_TRUE(std::filesystem::exists(config_home + "/qv5setup/QV5.conf"));

    // The next start without --dir goes there at once; --dir wins over it.
    EXPECT_EQ(WindowGameFolder(nullptr, empty, false), game.host());
    EXPECT_EQ(CommandLineGameFolder(empty, false), game.host());
    EXPECT_EQ(CommandLineGameFolder(empty, true), empty);
    EXPECT_EQ(ui->prompts().size(), 3u);

    // --dir on a folder without QV5files asks again; a cancel ends the start.
    ui->AnswerPath(std::nullopt);
    testing::internal::CaptureStderr();
    EXPECT_EQ(WindowGameFolder(nullptr, empty, true), std::nullopt);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no game folder chosen"),
              std::string::npos);
    EXPECT_EQ(RememberedGameFolder(), game.host());
}

// A new user has no game folder: the chooser says what one is and makes a
// ready one in the folder picked, which is then remembered.
TEST_F(GameFolderTest, TheChooserOffersToMakeAGameFolderWhereThePersonLooked) {
    ui->AnswerPath(FromHostPath(empty));
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);  // made: what is left to do
    EXPECT_EQ(WindowGameFolder(nullptr, empty, true), empty);
    ASSERT_EQ(ui->prompts().size(), 3u);
    const test::Prompt& offer = ui->prompts()[1];
    EXPECT_EQ(offer.buttons, MsgButtons::YesNo);
    // What a game folder is: the game body's folder, holding QV5files.
    EXPECT_NE(offer.Utf8Text().find(reinterpret_cast<const char*>(
                  u8"ゲームフォルダは、ゲーム本体(QV5body.exe)とQV5filesフォルダ")),
              std::string::npos)
        << offer.Utf8Text();
    EXPECT_NE(ui->prompts()[2].Utf8Text().find(empty), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(empty + "/QV5files/Database/Score"));
    EXPECT_TRUE(std::filesystem::is_directory(empty + "/songs"));
    EXPECT_EQ(RememberedGameFolder(), empty);
}

TEST_F(GameFolderTest, ACommandLineWithoutAnyGameFolderSaysWhereItLooked) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(CommandLineGameFolder(empty, false), std::nullopt);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(empty + " holds no QV5files"),
              std::string::npos);
    EXPECT_EQ(CommandLineGameFolder(game.host(), false), game.host());
}

}  // namespace
}  // namespace qv5
