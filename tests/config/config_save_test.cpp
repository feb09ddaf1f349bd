// config.xml under hostile conditions: unreadable files, links, kept modes
// and owners, folders that take no new file, character references.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "config/config_file.h"
#include "player/notice.h"
#include "player/player_db.h"
#include "platform/text.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Backups(const test::TempGame& game) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(game.HostPath("QV5files/Config")))
        if (e.path().filename().string().starts_with("config.xml.unreadable-"))
            out.push_back(e.path().filename().string());
    return out;
}

TEST(ConfigSave, AnUnreadableFileIsKeptBeforeItIsReplaced) {
    ConfigRecord mine;
    mine.id = "me";
    mine.path_count = 1;
    mine.path[0] = "songs\\";
    const std::string good = FormatConfig(mine);
    std::string nested = "<config>";
    for (int i = 0; i < 2000; ++i) nested += "<a>";
    const std::string variants[] = {
        good + "x",  // a stray byte after </config>
        good.substr(0, 200) + std::string(1, '\0') + good.substr(200),  // a NUL
        good.substr(0, good.size() / 2),                                // truncated
        nested,                                                         // nested too deep
    };
    for (const std::string& bytes : variants) {
        test::TempGame game;
        game.WriteFile("QV5files/Config/config.xml", bytes);
        ConfigRecord c;
        EXPECT_EQ(LoadConfig(c), ConfigState::Unreadable) << bytes.size();
        EXPECT_EQ(c.path_count, 0);  // the defaults, as before
        ASSERT_EQ(SaveConfig(c), 1);
        const auto kept = Backups(game);
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(game.ReadFile("QV5files/Config/" + kept[0]), bytes);
        // Once the file is readable again, saves keep no further copies.
        ASSERT_EQ(SaveConfig(c), 1);
        EXPECT_EQ(Backups(game).size(), 1u);
        EXPECT_EQ(LoadConfig(c), ConfigState::Read);
    }
    test::TempGame game;
    ConfigRecord c;
    EXPECT_EQ(LoadConfig(c), ConfigState::Missing);
}

// The merge sees the file as it is at the save (nothing when there is none
// or it cannot be read) and its result is what is written.
TEST(ConfigSave, TheMergedSaveSeesTheFileAsItIsNow) {
    test::TempGame game;
    ConfigRecord mine;
    mine.id = "me";
    SetSongFolders(mine, {"mine\\"});
    int calls = 0;
    auto expect_none = [&](const ConfigRecord* now, ConfigRecord&) {
        ++calls;
        EXPECT_FALSE(now);
    };
    ASSERT_EQ(SaveConfigMerged(mine, expect_none), 1);
    ConfigRecord other;
    SetSongFolders(other, {"theirs\\"});
    ASSERT_EQ(SaveConfig(other), 1);
    ASSERT_EQ(SaveConfigMerged(mine,
                               [&](const ConfigRecord* now, ConfigRecord& record) {
                                   ++calls;
                                   ASSERT_TRUE(now);
                                   EXPECT_EQ(now->id, "");
                                   EXPECT_EQ(record.id, "me");
                                   std::vector<std::string> both = SongFolders(record);
                                   both.push_back(now->path[0]);
                                   SetSongFolders(record, both);
                               }),
              1);
    ConfigRecord saved;
    ASSERT_EQ(LoadConfig(saved), ConfigState::Read);
    EXPECT_EQ(saved.id, "me");
    EXPECT_EQ(SongFolders(saved), (std::vector<std::string>{"mine\\", "theirs\\"}));
    game.WriteFile("QV5files/Config/config.xml", "<config");
    ASSERT_EQ(SaveConfigMerged(mine, expect_none), 1);
    EXPECT_EQ(calls, 3);
}

TEST(ConfigSave, LinksArePlantedInVainAndFollowedWhereTheUserMadeThem) {
    test::TempGame game;
    ASSERT_EQ(SaveConfig(ConfigRecord{}), 1);
    // Planted at the names a temporary file might take.
    game.WriteFile("victim", "precious");
    for (const char* name : {"config.xml.tmp", "config.xml.tmp-XXXXXX"})
        fs::create_symlink(game.HostPath("victim"), game.HostPath("QV5files/Config/") + name);
    ConfigRecord c;
    c.vsync = 1;
    ASSERT_EQ(SaveConfig(c), 1);
    EXPECT_EQ(game.ReadFile("victim"), "precious");
    EXPECT_FALSE(fs::is_symlink(game.HostPath("QV5files/Config/config.xml")));
    EXPECT_EQ(game.ReadFile("QV5files/Config/config.xml"), FormatConfig(c));

    // config.xml itself a link the user made: the file it names is written.
    game.WriteFile("elsewhere/real.xml", "");
    fs::remove(game.HostPath("QV5files/Config/config.xml"));
    fs::create_symlink("../../elsewhere/real.xml", game.HostPath("QV5files/Config/config.xml"));
    c.vsync = 0;
    ASSERT_EQ(SaveConfig(c), 1);
    EXPECT_TRUE(fs::is_symlink(game.HostPath("QV5files/Config/config.xml")));
    EXPECT_EQ(game.ReadFile("elsewhere/real.xml"), FormatConfig(c));
}

TEST(ConfigSave, ModeAndOwnerStay) {
    test::TempGame game;
    ASSERT_EQ(SaveConfig(ConfigRecord{}), 1);
    const std::string file = game.HostPath("QV5files/Config/config.xml");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(file.c_str(), 1234, 5678), 0);
    }
    ConfigRecord c;
    c.vsync = 1;
    ASSERT_EQ(SaveConfig(c), 1);
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    }
}

TEST(ConfigSave, AFolderThatTakesNoNewFileIsWrittenInPlace) {
    test::TempGame game;
    ASSERT_EQ(SaveConfig(ConfigRecord{}), 1);
    const std::string dir = game.HostPath("QV5files/Config");
    // The user (here another user than root, who may write anywhere) may
    // write the file but not the folder.
    const uid_t user = geteuid() == 0 ? 65534 : geteuid();
    ASSERT_EQ(chmod(game.host().c_str(), 0755), 0);
    ASSERT_EQ(chown((dir + "/config.xml").c_str(), user, -1), 0);
    ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (user != geteuid() && (setgid(65534) != 0 || setuid(user) != 0)) _exit(2);
        ConfigRecord c;
        c.vsync = 1;
        _exit(SaveConfig(c) == 1 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    ConfigRecord back;
    EXPECT_EQ(LoadConfig(back), ConfigState::Read);
    EXPECT_EQ(back.vsync, 1);
    std::size_t entries = 0;
    for (const auto& e : fs::directory_iterator(dir)) entries += e.exists() ? 1 : 0;
    EXPECT_EQ(entries, 1u);
}

TEST(ConfigSave, CharacterReferencesBecomeShiftJis) {
    test::TempGame game;
    struct Case {
        const char* written;
        std::string read;
    } cases[] = {
        {"&#x3042;", Sj(u8"あ")},
        {"&#12354;&#X3044;", Sj(u8"あい")},
        {"a&amp;b&#38;c&lt;", "a&b&c<"},
        {"&#x1F600;", "&#x1F600;"},  // no Shift-JIS form: as written
        {"&#xD800;&#99999999999;", "&#xD800;&#99999999999;"},
        {"&#x3042", "&#x3042"},  // no reference: text
    };
    for (const Case& c : cases) {
        game.WriteFile("QV5files/Config/config.xml",
                       std::string("<config><player><id>") + c.written + "</id></player></config>");
        ConfigRecord r;
        LoadConfig(r);
        EXPECT_EQ(r.id, c.read) << c.written;
    }
    // A Shift-JIS character whose second byte looks like markup stays whole.
    const std::string so = Sj(u8"ソ&#x3042;");
    game.WriteFile("QV5files/Config/config.xml",
                   "<config><player><id>" + so + "</id></player></config>");
    ConfigRecord r;
    LoadConfig(r);
    EXPECT_EQ(r.id, Sj(u8"ソあ"));
}

// The files that hold the password (config.xml in clear, the player's
// database its digest) are made the user's alone, whatever the umask lets
// others read; a file that exists keeps the mode its owner gave it.
TEST(PrivateFiles, NewFilesWithThePasswordAreTheUsersAlone) {
    test::TempGame game;
    const mode_t old_mask = umask(022);
    auto mode = [&](const std::string& file) {
        struct stat st {};
        EXPECT_EQ(stat(game.HostPath(file).c_str(), &st), 0) << file;
        return st.st_mode & 0777;
    };
    ConfigRecord config;
    config.id = "abc";
    config.pass = "secret";
    ASSERT_EQ(SaveConfig(config), 1);
    ASSERT_EQ(CreatePlayer("abc", "secret", [](const Notice&) {}), 1);
    game.WriteFile("QV5files/Config/config.xml", "<broken");
    ASSERT_EQ(SaveConfig(config), 1);
    std::string copy;
    for (const auto& e : fs::directory_iterator(game.HostPath("QV5files/Config")))
        if (e.path().filename().string().find(".unreadable-") != std::string::npos)
            copy = "QV5files/Config/" + e.path().filename().string();
    ASSERT_FALSE(copy.empty());
    const struct {
        std::string file;
        mode_t mode;
    } cases[] = {
        {"QV5files/Config/config.xml", 0600},
        {"QV5files/Database/Score/abc.db", 0600},
        {copy, 0600},
    };
    for (const auto& c : cases) EXPECT_EQ(mode(c.file), c.mode) << c.file;
    // The user's own choice stays.
    ASSERT_EQ(chmod(game.HostPath("QV5files/Config/config.xml").c_str(), 0640), 0);
    ASSERT_EQ(SaveConfig(config), 1);
    EXPECT_EQ(mode("QV5files/Config/config.xml"), 0640u);
    umask(old_mask);
}

}  // namespace
}  // namespace qv5
