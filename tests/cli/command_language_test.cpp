// The command line speaks the language of config.xml, or of QV5_LANG.
#include "cli/command_language.h"

#include <gtest/gtest.h>

#include <string>

#include "config/config_file.h"
#include "config/config_record.h"
#include "support/players.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

void SetConfigLanguage(int language) {
    ConfigRecord c;
    ASSERT_EQ(LoadConfig(c), ConfigState::Read);
    c.language = language;
    ASSERT_EQ(SaveConfig(c), 1);
}

// Each command in both languages: the quick program's library commands
// (add-root) and the full program's (import-courses, restore-scores); the
// language comes from config.xml unless QV5_LANG says otherwise.
TEST(CommandLanguage, MessagesFollowConfigAndQv5Lang) {
    test::TempGame game;
    test::SavePlayerConfig({"songs\\"});
    game.WriteFile("songs/a/a.bms", "#TITLE A\n#00111:01\n");
    game.WriteFile("bad.xml", "<courses");
    struct Command {
        const char* args;
        const char* japanese;
        const char* english;
    } commands[] = {
        {"add-root songs", "このフォルダは既に登録されています。",
         "This folder is already registered."},
        {"add-root songs/a", "親フォルダが既に登録されています。",
         "A parent folder is already registered."},
        {"import-courses bad.xml", "QV5: コースリストの読み込みに失敗しました。",
         "QV5: Could not read the course list."},
        {"restore-scores abc pass 0", "無効なQV5IDです。", "Not a valid QV5 ID."},
    };
    struct Language {
        int config;
        const char* env;  // QV5_LANG, or nullptr
        bool english;
    } languages[] = {{0, nullptr, false}, {1, nullptr, true}, {0, "en", true}, {1, "ja", false}};
    for (const Language& l : languages) {
        SetConfigLanguage(l.config);
        for (const Command& c : commands) {
            const std::string env = l.env ? std::string("QV5_LANG=") + l.env + " " : "";
            const test::ShellResult r = test::RunShell("cd '" + game.host() + "' && " + env + "'" +
                                                       QV5_EXE + "' --dir . " + c.args + " 2>&1");
            const std::string expected = l.english ? c.english : c.japanese;
            EXPECT_NE(r.out.find(expected), std::string::npos)
                << c.args << " config " << l.config << " QV5_LANG " << (l.env ? l.env : "-") << "\n"
                << r.out;
            EXPECT_EQ(r.out.find(l.english ? c.japanese : c.english), std::string::npos) << r.out;
        }
    }
    // --help is English in either language.
    SetConfigLanguage(0);
    const test::ShellResult help = test::RunShell("'" + std::string(QV5_EXE) + "' --help");
    EXPECT_NE(help.out.find("Usage: QV5"), std::string::npos);
}

}  // namespace
}  // namespace qv5
