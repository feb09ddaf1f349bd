// The folders below QV5files the program writes into, and a new game folder
// made ready for a first start.
#include "browser/game_folder_setup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "config/compvars.h"
#include "config/config_file.h"
#include "library/encodings.h"
#include "library/song_library.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/notice.h"
#include "player/player_db.h"
#include "player/score_restore.h"
#include "support/library_rows.h"
#include "support/scoped_env.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5 {
namespace {

// A game folder made by hand may hold QV5files alone: each write makes the
// folder it writes into, and the start makes them all.
TEST(GameFolders, EachWriteMakesTheFolderItWritesInto) {
    struct Case {
        const char* what;
        std::function<bool(const test::TempGame&)> write;
        std::vector<const char*> made;
    } cases[] = {
        {"config.xml",
         [](const test::TempGame&) { return SaveConfig(ConfigRecord{}) == 1; },
         {"QV5files/Config/config.xml"}},
        {"compvars.dat",
         [](const test::TempGame&) { return WriteCompVars(CompressorChoice{}); },
         {"QV5files/Config/compvars.dat"}},
        {"a new player",
         [](const test::TempGame&) {
             return CreatePlayer("alice", "secret", ShowOn(nullptr)) == 1;
         },
         {"QV5files/Database/Score/alice.db"}},
        {"a player from a score list",
         [](const test::TempGame& game) {
             game.WriteFile("QV5files/Config/temp.xml", "<scorelist><score></score></scorelist>");
             return CreatePlayerFromScoreList("bob", "secret", 8, ShowOn(nullptr)) == 1;
         },
         {"QV5files/Database/Score/bob.db"}},
        {"the song library",
         [](const test::TempGame&) {
             OpenTestLibrary("");
             const bool open = TestDb().IsOpen();
             CloseTestLibrary();
             return open;
         },
         {"QV5files/Database/song.db", "QV5files/Database/tag.db"}},
        {"the start",
         [](const test::TempGame&) { return MakeGameFolders(); },
         {"QV5files/Config", "QV5files/Database/Score"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempGame game;
        std::filesystem::remove_all(game.HostPath("QV5files/Config"));
        std::filesystem::remove_all(game.HostPath("QV5files/Database"));
        test::ScopedScriptedUi ui;
        ui->AcceptAllMessages();
        EXPECT_TRUE(c.write(game));
        for (const char* file : c.made) EXPECT_TRUE(game.Exists(file)) << file;
    }
}

// The ready game folder: the folders, an empty song folder registered, no
// player, and config.xml in the desktop's language.
TEST(NewGameFolder, IsReadyForAFirstStartInTheDesktopsLanguage) {
    struct Case {
        const char* locale;
        int language;
    } cases[] = {{"ja_JP.UTF-8", 0}, {"C.UTF-8", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        test::TempGame outer;
        const std::string host = outer.HostPath("new game");
        test::ScopedEnv desktop("LC_ALL", c.locale);
        std::string error;
        ASSERT_TRUE(MakeGameFolder(host, error)) << Cp932ToUtf8(error);
        EXPECT_EQ(ToHostPath(ProgramDirectory()), host);
        for (const char* folder : {"QV5files/Config", "QV5files/Database/Score", "songs"})
            EXPECT_TRUE(std::filesystem::is_directory(host + "/" + folder)) << folder;
        EXPECT_TRUE(std::filesystem::is_empty(host + "/songs"));
        EXPECT_TRUE(ListPlayers().empty());
        ConfigRecord back;
        ASSERT_EQ(LoadConfig(back), ConfigState::Read);
        EXPECT_EQ(back.language, c.language);
        EXPECT_EQ(back.id, "");
        ASSERT_EQ(back.path_count, 1);
        EXPECT_EQ(back.path[0], "songs\\");
        EXPECT_EQ(test::QueryRows(test::SongDbFile(host), "SELECT path, parent FROM folder"),
                  (std::vector<std::string>{"songs\\|" + std::string(kRootKey)}));

        // A second time changes nothing.
        const std::string before = outer.ReadFile("new game/QV5files/Config/config.xml");
        EXPECT_FALSE(MakeGameFolder(host, error));
        EXPECT_NE(Cp932ToUtf8(error).find(host), std::string::npos) << Cp932ToUtf8(error);
        EXPECT_NE(Cp932ToUtf8(error).find("QV5files"), std::string::npos);
        EXPECT_EQ(outer.ReadFile("new game/QV5files/Config/config.xml"), before);
    }
}

}  // namespace
}  // namespace qv5
