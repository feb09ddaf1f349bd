#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/process.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "support/scoped_env.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "window/common/qt_ui_service.h"

namespace qv5 {
namespace {

using Args = std::vector<std::string>;

using test::ScopedEnv;

void WriteExecutable(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << text;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

TEST(Trash, AsksNamingTheItemThenMovesItToTheTrash) {
    test::TempGame game;
    ScopedEnv data("XDG_DATA_HOME", game.HostPath("data"));
    game.WriteFile("songs/a.bms", "x");
    test::ScopedScriptedUi ui;
    ui->AnswerMessage(MsgAnswer::No);
    EXPECT_EQ(DeleteToTrash(nullptr, "songs\\a.bms"), TrashResult::Declined);
    EXPECT_TRUE(game.Exists("songs/a.bms"));
    ui->AnswerMessage(MsgAnswer::Yes);
    EXPECT_EQ(DeleteToTrash(nullptr, "songs\\a.bms"), TrashResult::Moved);
    EXPECT_FALSE(game.Exists("songs/a.bms"));
    EXPECT_TRUE(game.Exists("data/Trash/files/a.bms"));
    ASSERT_EQ(ui->prompts().size(), 2u);
    EXPECT_NE(ui->prompts()[0].Utf8Text().find("songs\\a.bms"), std::string::npos);
    EXPECT_EQ(ui->prompts()[0].buttons, MsgButtons::YesNo);
}

TEST(Trash, NoTrashMeansNothingIsDeletedAndTheUserIsTold) {
    test::TempGame game;
    // A trash folder that cannot be made, even by root.
    ScopedEnv data("XDG_DATA_HOME", "/dev/null/data");
    game.WriteFile("songs/a.bms", "x");
    test::ScopedScriptedUi ui;
    ui->AnswerMessage(MsgAnswer::Yes);
    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_EQ(DeleteToTrash(nullptr, "songs\\a.bms"), TrashResult::Failed);
    EXPECT_TRUE(game.Exists("songs/a.bms"));
    // Qt's stand-in "trash" in the current directory is not left behind.
    EXPECT_FALSE(game.Exists("files"));
    EXPECT_FALSE(game.Exists("info"));
    ASSERT_EQ(ui->prompts().size(), 2u);
    EXPECT_NE(ui->prompts()[1].Utf8Text().find("songs\\a.bms"), std::string::npos);
}

TEST(TextEditor, StartsTheDefaultTextApplicationFromItsDesktopEntry) {
    test::TempGame game;
    const std::string bin = game.HostPath("bin");
    WriteExecutable(bin + "/xdg-mime", "#!/bin/sh\necho fake-editor.desktop\n");
    WriteExecutable(bin + "/editor", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > " +
                                         game.HostPath("edited.txt") + "\n");
    game.WriteFile("data/applications/fake-editor.desktop",
                   "[Desktop Entry]\nName=Fake\nExec=\"" + bin +
                       "/editor\" --new-window \"a b\" %F %i\n[Desktop Action x]\nExec=wrong\n");
    ScopedEnv path("PATH", bin + ":/usr/bin:/bin");
    ScopedEnv data("XDG_DATA_HOME", game.HostPath("data"));
    EXPECT_EQ(TextEditorCommand("/x/readme 1.txt"),
              (Args{bin + "/editor", "--new-window", "a b", "/x/readme 1.txt"}));

    game.WriteFile("曲/readme.txt", "");
    ASSERT_TRUE(OpenInTextEditor(Sj(u8"曲\\readme.txt")));
    for (int i = 0; i < 2000 && game.ReadFile("edited.txt").empty(); ++i) usleep(5000);
    std::string got = game.ReadFile("edited.txt");
    EXPECT_NE(got.find("曲/readme.txt"), std::string::npos) << got;
}

TEST(TextEditor, FallsBackToXdgOpenWithoutADefault) {
    test::TempGame game;
    const std::string bin = game.HostPath("bin");
    WriteExecutable(bin + "/xdg-mime", "#!/bin/sh\nexit 0\n");
    ScopedEnv path("PATH", bin + ":/usr/bin:/bin");
    EXPECT_EQ(TextEditorCommand("/x/a.txt"), (Args{"xdg-open", "/x/a.txt"}));
}

// The captions stay as written; the patterns in the last parentheses are the
// host's: "*.*" is every file, a program filter offers extension-less ones.
TEST(QtNameFilter, TurnsWindowsFiltersIntoHostOnes) {
    struct Case {
        std::string windows;
        const char* qt;
    } cases[] = {
        {Sj(u8"実行ファイル(*.exe)|*.exe|All Files(*.*)|*.*||"),
         "実行ファイル(*.exe)(*.exe *);;All Files(*.*)(*)"},
        {"Sound|*.wav;*.ogg||", "Sound(*.wav *.ogg)"},
        {"Images (*.png)", "Images (*.png)(*.png)"},
        {"All (*.*)", "All (*.*)(*)"},
        {"Programs|*.EXE;*.*||", "Programs(*.EXE *)"},
        {"Plain", "Plain(*)"},
    };
    for (const Case& c : cases) EXPECT_EQ(QtNameFilter(c.windows), QString::fromUtf8(c.qt)) << c.qt;
}

// A chosen path whose name has no Shift-JIS form is said, not swallowed.
TEST(ChosenPath, ANameWithoutAShiftJisFormIsSaid) {
    struct Case {
        const char* host;
        int language;
        const char* said;  // nullptr: taken
    } cases[] = {
        {"/tmp/caf\u00e9/lame.exe", 1,
         "This path cannot be used: its character U+00E9 has no Shift-JIS form. The previous "
         "value is kept.\n/tmp/caf?/lame.exe"},
        {"/tmp/\uc74c\uc545", 0,
         "このパスは使用できません。文字 U+C74C "
         "はShift-JISで表せません。元の値のままです。\n/tmp/??"},
        {"/tmp/a\\b", 1,
         "This path cannot be used: its character U+005C has no Shift-JIS form. The previous "
         "value is kept.\n/tmp/a\\b"},
        {"/tmp/\u697d\u66f2", 0, nullptr},
    };
    for (const Case& c : cases) {
        test::ScopedScriptedUi ui;
        UseLanguage(c.language);
        if (c.said) ui->AnswerMessage(MsgAnswer::Ok);
        const std::optional<std::string> got = ChosenPath(nullptr, QString::fromUtf8(c.host));
        EXPECT_EQ(got.has_value(), c.said == nullptr) << c.host;
        if (c.said) {
            EXPECT_EQ(ui->MessageTexts(), std::vector<std::string>{c.said}) << c.host;
        }
    }
    UseLanguage(0);
}

}  // namespace
}  // namespace qv5
