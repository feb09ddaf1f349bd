// `QV5 convert`: the real executable with the programs of config.xml.
#include <gtest/gtest.h>

#include <cstdio>

#include "config/config_file.h"
#include "config/tool_settings.h"
#include "media_files.h"
#include "support/shell.h"

namespace qv5 {
namespace {

using Names = std::vector<std::string>;

using Result = test::ShellResult;

Result RunQv5(const test::TempGame& game, const std::string& args, const std::string& cwd) {
    const std::string command = "cd '" + cwd + "' && '" + std::string(QV5_EXE) + "' --dir '" +
                                game.host() + "' " + args + " 2>&1";
    return test::RunShell(command);
}

void Configure(const ToolSettings& tools) {
    ConfigRecord config;
    LoadConfig(config);
    StoreToolSettings(tools, config);
    ASSERT_EQ(SaveConfig(config), 1);
}

TEST(ConvertCommand, RunsEachPassWithTheConfiguredPrograms) {
    test::TempGame game;
    Configure(test::Tools(test::RealEncoder(), test::RealDecoder()));
    game.WriteFile("songs/s/a.wav", test::WavBytes());
    game.WriteFile("songs/s/sub/b.WAV", test::WavBytes(1));
    game.WriteFile("songs/s/sub/c.bmp", test::Encode(test::TestPicture(), "BMP"));

    struct Step {
        std::string args, cwd;
        Names after;
    } steps[] = {
        {"convert wav2ogg songs/s", game.host(), {"a.ogg", "sub/b.ogg", "sub/c.bmp"}},
        {"convert ogg2wav .", game.HostPath("songs/s"), {"a.wav", "sub/b.wav", "sub/c.bmp"}},
        {"convert bmp2png '" + game.HostPath("songs/s") + "'",
         "/",
         {"a.wav", "sub/b.wav", "sub/c.png"}},
        {"convert png2bmp s", game.HostPath("songs"), {"a.wav", "sub/b.wav", "sub/c.bmp"}},
        {"convert all songs/s", game.host(), {"a.ogg", "sub/b.ogg", "sub/c.png"}},
    };
    for (const Step& s : steps) {
        Result r = RunQv5(game, s.args, s.cwd);
        EXPECT_EQ(r.code, 0) << s.args << "\n" << r.out;
        EXPECT_NE(r.out.find("files converted"), std::string::npos) << r.out;
        EXPECT_EQ(test::FilesBelow(game, "songs/s"), s.after) << s.args;
    }
}

TEST(ConvertCommand, FailuresExitNonZeroWithAMessage) {
    test::TempGame game;
    game.WriteFile("songs/s/a.wav", test::WavBytes());
    game.WriteFile("songs/s/b.bmp", "broken");
    test::WriteFakeProgram(game, "tools/enc");  // writes nothing
    struct Case {
        ToolSettings tools;
        std::string args, message;
        int code;
    } cases[] = {
        {test::Tools("tools\\oggenc2.exe"), "convert wav2ogg songs/s",
         "oggエンコーダーが設定されていません。", 1},
        {test::Tools("tools\\enc"), "convert wav2ogg songs/s", "kept songs\\s\\a.wav", 1},
        {test::Tools("tools\\enc"), "convert bmp2png songs/s", "kept songs\\s\\b.bmp", 1},
        {test::Tools("tools\\enc"), "convert wav2ogg songs/none", "no such folder", 1},
        {test::Tools("tools\\enc"), "convert wav2ogg songs/s/a.wav", "not a folder", 1},
        {test::Tools("tools\\enc"), "convert mp3 songs/s", "unknown conversion", 1},
        {test::Tools("tools\\enc"), "convert wav2ogg", "Usage", 2},
    };
    for (const Case& c : cases) {
        Configure(c.tools);
        Result r = RunQv5(game, c.args, game.host());
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
        EXPECT_EQ(test::FilesBelow(game, "songs/s"), (Names{"a.wav", "b.bmp"}));
    }
}

// The untouched defaults are Windows programs; without them the native ones
// on PATH run with the same options, and the run says which.
TEST(ConvertCommand, UntouchedDefaultsFallBackToTheNativeProgramsOnPath) {
    test::TempGame game;
    ASSERT_FALSE(test::RealEncoder().empty());
    Configure(ToolSettingsFrom(ConfigRecord{}));
    game.WriteFile("songs/s/a.wav", test::WavBytes());
    Result r = RunQv5(game, "convert wav2ogg songs/s", game.host());
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("oggenc2.exe が見つからないため、代わりに "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("/oggenc を使用します。"), std::string::npos) << r.out;
    EXPECT_EQ(test::FilesBelow(game, "songs/s"), (Names{"a.ogg"}));
    r = RunQv5(game, "convert ogg2wav songs/s", game.host());
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("/oggdec を使用します。"), std::string::npos) << r.out;
    EXPECT_EQ(test::FilesBelow(game, "songs/s"), (Names{"a.wav"}));

    // Nothing anywhere: what was looked for and how to install it.
    r = test::RunShell("cd '" + game.host() + "' && PATH=/nonexistent '" + QV5_EXE + "' --dir '" +
                       game.host() + "' convert wav2ogg songs/s 2>&1");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("oggenc2.exe / oggenc"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("apt install vorbis-tools"), std::string::npos) << r.out;
    EXPECT_EQ(test::FilesBelow(game, "songs/s"), (Names{"a.wav"}));
}

}  // namespace
}  // namespace qv5
