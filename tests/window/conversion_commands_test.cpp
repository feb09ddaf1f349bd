// The ten folder-menu commands and the conversions after an install, with
// the person at the screen scripted and the real converters.
#include "window/tree/conversion_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "convert/media_files.h"
#include "support/scripted_ui.h"
#include "window/tree/folder_tree_ids.h"

namespace qv5 {
namespace {

using test::FilesBelow;
using Names = std::vector<std::string>;

constexpr int kAllCommands[] = {
    kCmdRootWavToOgg,   kCmdRootOggToWav,    kCmdRootBmpToPng,   kCmdRootPngToBmp,
    kCmdRootWavAndBmp,  kCmdFolderWavToOgg,  kCmdFolderOggToWav, kCmdFolderBmpToPng,
    kCmdFolderPngToBmp, kCmdFolderWavAndBmp,
};

void WriteMedia(const test::TempGame& game) {
    game.WriteFile("songs/s/a.wav", test::WavBytes());
    test::WriteOgg(game, "songs/s/b.ogg");
    game.WriteFile("songs/s/c.bmp", test::Encode(test::TestPicture(), "BMP"));
    game.WriteFile("songs/s/d.png", test::Encode(test::TestPicture(), "PNG"));
}

TEST(ConversionCommands, AnsweringNoRunsNothingNotEvenTheProgramCheck) {
    for (int id : kAllCommands) {
        test::TempGame game;
        WriteMedia(game);
        test::WriteFakeProgram(game, "tools/rec");
        for (const std::string& program : {std::string("tools\\rec"), std::string("none.exe")}) {
            test::ScopedScriptedUi ui;
            ui->AnswerMessage(MsgAnswer::No);
            QDialog page;
            EXPECT_TRUE(RunConversionCommand(&page, id, WinPath("songs\\s"),
                                             test::Tools(program, program)));
            ASSERT_EQ(ui->prompts().size(), 1u) << id;
            EXPECT_EQ(ui->prompts()[0].Utf8Caption(), "確認");
            EXPECT_EQ(ui->prompts()[0].buttons, MsgButtons::YesNo);
            EXPECT_NE(ui->prompts()[0].Utf8Text().find("変換"), std::string::npos);
        }
        EXPECT_TRUE(test::FakeRuns(game, "tools/rec").empty()) << id;
        EXPECT_EQ(FilesBelow(game, "songs/s"), (Names{"a.wav", "b.ogg", "c.bmp", "d.png"}));
    }
}

TEST(ConversionCommands, MissingProgramIsReportedAndNothingConverts) {
    struct Case {
        int id;
        const char* message;
    } cases[] = {
        {kCmdRootWavToOgg, "oggエンコーダーが設定されていません。"},
        {kCmdFolderWavToOgg, "oggエンコーダーが設定されていません。"},
        {kCmdRootOggToWav, "oggデコーダーが設定されていません。"},
        {kCmdFolderOggToWav, "oggデコーダーが設定されていません。"},
        // Only bmp files, yet the combined pass needs its encoder.
        {kCmdRootWavAndBmp, "oggエンコーダーが設定されていません。"},
        {kCmdFolderWavAndBmp, "oggエンコーダーが設定されていません。"},
    };
    for (const Case& c : cases) {
        test::TempGame game;
        game.WriteFile("songs/s/only.bmp", test::Encode(test::TestPicture(), "BMP"));
        game.WriteFile("songs/s/a.wav", test::WavBytes());
        test::WriteOgg(game, "songs/s/b.ogg");
        // The other program is there; the one the pass needs is not.
        const bool decoder = c.id == kCmdRootOggToWav || c.id == kCmdFolderOggToWav;
        ToolSettings tools = decoder ? test::Tools(test::RealEncoder(), "tools\\oggdec.exe")
                                     : test::Tools("tools\\oggenc2.exe", test::RealDecoder());
        test::ScopedScriptedUi ui;
        ui->AnswerMessage(MsgAnswer::Yes);
        ui->AnswerMessage(MsgAnswer::Cancel);
        RunConversionCommand(nullptr, c.id, WinPath("songs\\s"), tools);
        ASSERT_EQ(ui->prompts().size(), 2u) << c.id;
        EXPECT_EQ(ui->prompts()[1].Utf8Text(), c.message);
        EXPECT_EQ(ui->prompts()[1].Utf8Caption(), "報告");
        EXPECT_EQ(ui->prompts()[1].buttons, MsgButtons::OkCancel);
        EXPECT_EQ(FilesBelow(game, "songs/s"), (Names{"a.wav", "b.ogg", "only.bmp"})) << c.id;
    }
}

TEST(ConversionCommands, EachCommandRunsItsPassAfterYes) {
    struct Case {
        int id;
        Names after;
    } cases[] = {
        {kCmdRootWavToOgg, {"Deep/a.ogg", "b.ogg", "c.bmp", "d.png"}},
        {kCmdFolderWavToOgg, {"Deep/a.ogg", "b.ogg", "c.bmp", "d.png"}},
        {kCmdRootOggToWav, {"Deep/a.wav", "b.wav", "c.bmp", "d.png"}},
        {kCmdFolderOggToWav, {"Deep/a.wav", "b.wav", "c.bmp", "d.png"}},
        {kCmdRootBmpToPng, {"Deep/a.wav", "b.ogg", "c.png", "d.png"}},
        {kCmdFolderBmpToPng, {"Deep/a.wav", "b.ogg", "c.png", "d.png"}},
        {kCmdRootPngToBmp, {"Deep/a.wav", "b.ogg", "c.bmp", "d.bmp"}},
        {kCmdFolderPngToBmp, {"Deep/a.wav", "b.ogg", "c.bmp", "d.bmp"}},
        // The combined pass names its png in lower case.
        {kCmdRootWavAndBmp, {"Deep/a.ogg", "b.ogg", "e.png", "d.png"}},
        {kCmdFolderWavAndBmp, {"Deep/a.ogg", "b.ogg", "e.png", "d.png"}},
    };
    for (const Case& c : cases) {
        test::TempGame game;
        game.WriteFile("songs/s/Deep/a.wav", test::WavBytes());
        test::WriteOgg(game, "songs/s/b.ogg");
        const bool combined = c.id == kCmdRootWavAndBmp || c.id == kCmdFolderWavAndBmp;
        game.WriteFile(combined ? "songs/s/E.BMP" : "songs/s/c.bmp",
                       test::Encode(test::TestPicture(), "BMP"));
        game.WriteFile("songs/s/d.png", test::Encode(test::TestPicture(), "PNG"));
        test::ScopedScriptedUi ui;
        ui->AnswerMessage(MsgAnswer::Yes);
        QDialog page;
        page.show();
        EXPECT_TRUE(RunConversionCommand(&page, c.id, WinPath("songs\\s"),
                                         test::Tools(test::RealEncoder(), test::RealDecoder())));
        EXPECT_EQ(ui->prompts().size(), 1u) << c.id;
        Names want = c.after;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(FilesBelow(game, "songs/s"), want) << c.id;
        // The progress window has closed.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "ProgressWindow") {
                EXPECT_FALSE(w->isVisible());
            }
    }
}

QPushButton* StopButton() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "ProgressWindow" && w->isVisible())
            return w->findChild<QPushButton*>("stop");
    return nullptr;
}

// Presses the progress window's Stop as soon as the window turns its event
// loop once `ready` holds.
class PressStop {
  public:
    explicit PressStop(std::function<bool()> ready = [] { return true; }) {
        QObject::connect(&timer_, &QTimer::timeout, [this, ready] {
            if (QPushButton* stop = StopButton(); stop && !pressed && ready()) {
                stop->click();
                pressed = true;
            }
        });
        timer_.start(0);
    }
    bool pressed = false;

  private:
    QTimer timer_;
};

TEST(ConversionCommands, StopInTheProgressWindowEndsThePassBetweenFiles) {
    test::TempGame game;
    for (int i = 0; i < 4; ++i)
        game.WriteFile("songs/s/" + std::to_string(i) + ".wav", test::WavBytes(i));
    QWidget window;
    auto* line = new QLabel(&window);
    line->setObjectName("jobSummary");
    test::ScopedScriptedUi ui;
    ui->AnswerMessage(MsgAnswer::Yes);
    PressStop press;
    RunConversionCommand(&window, kCmdFolderWavToOgg, WinPath("songs\\s"),
                         test::Tools(test::RealEncoder()));
    EXPECT_TRUE(press.pressed);
    // Every wav is either whole or replaced by its complete ogg, the pass
    // did not go on to the end, and the summary counts each wav left whole.
    const Names files = FilesBelow(game, "songs/s");
    EXPECT_EQ(files.size(), 4u);
    int oggs = 0;
    for (const std::string& f : files) {
        if (f.size() > 4 && f.compare(f.size() - 4, 4, ".ogg") == 0) {
            ++oggs;
            EXPECT_EQ(game.ReadFile("songs/s/" + f).substr(0, 4), "OggS");
        } else {
            EXPECT_EQ(game.ReadFile("songs/s/" + f), test::WavBytes(f[0] - '0'));
        }
    }
    EXPECT_LT(oggs, 4);
    const std::string summary = std::to_string(oggs) + "ファイルを変換、" +
                                std::to_string(4 - oggs) + "ファイルはそのまま(";
    EXPECT_TRUE(line->text().startsWith(QString::fromStdString(summary)))
        << line->text().toStdString();
}

TEST(ConversionCommands, StopEndsAHungConverterAndKeepsItsSource) {
    test::TempGame game;
    game.WriteFile("songs/s/a.wav", test::WavBytes());
    test::WriteFakeProgram(
        game, "tools/enc",
        "printf OggS > \"${2%.wav}.ogg\"; touch started; sleep 20; touch finished");
    test::ScopedScriptedUi ui;
    ui->AnswerMessage(MsgAnswer::Yes);
    PressStop press([&] { return game.Exists("started"); });
    RunConversionCommand(nullptr, kCmdFolderWavToOgg, WinPath("songs\\s"),
                         test::Tools("tools\\enc", "", "-Q"));
    EXPECT_TRUE(press.pressed);
    EXPECT_EQ(FilesBelow(game, "songs/s"), Names{"a.wav"});
    EXPECT_FALSE(game.Exists("finished"));
}

TEST(ConversionCommands, OtherIdsAreNotConversions) {
    test::ScopedScriptedUi ui;
    // 32858 and 0: ids no menu has.
    for (int id : std::initializer_list<int>{kCmdFolderOpen, kCmdFolderHiddenSearch, kCmdPlayChart,
                                             32858, 0})
        EXPECT_FALSE(RunConversionCommand(nullptr, id, WinPath("songs"), test::Tools("x")));
    EXPECT_TRUE(ui->prompts().empty());
    for (int id : kAllCommands) EXPECT_TRUE(IsConversionCommand(id));
}

// The window on the untouched defaults: the native encoder runs without a
// question, and the pass ends with its summary on the status line.
TEST(ConversionCommands, UntouchedDefaultsUseTheNativeEncoderAndEndWithASummary) {
    test::TempGame game;
    game.WriteFile("songs/s/a.wav", test::WavBytes());
    game.WriteFile("songs/s/b.wav", test::WavBytes(1));
    QWidget window;
    auto* line = new QLabel(&window);
    line->setObjectName("jobSummary");
    test::ScopedScriptedUi ui;
    ui->AnswerMessage(MsgAnswer::Yes);
    RunConversionCommand(&window, kCmdFolderWavToOgg, WinPath("songs\\s"),
                         ToolSettingsFrom(ConfigRecord{}));
    EXPECT_EQ(ui->prompts().size(), 1u);
    EXPECT_EQ(FilesBelow(game, "songs/s"), (Names{"a.ogg", "b.ogg"}));
    EXPECT_TRUE(
        line->text().startsWith(QString::fromUtf8(u8"2ファイルを変換、0ファイルはそのまま(")))
        << line->text().toStdString();
}

TEST(ConversionCommands, AfterAnInstallTheSettingsChooseWithoutAsking) {
    struct Case {
        int wav, bmp;
        bool encoder_present;
        Names after;
        bool reported;
    } cases[] = {
        {0, 0, true, {"a.wav", "c.bmp"}, false}, {1, 0, true, {"a.ogg", "c.bmp"}, false},
        {0, 1, true, {"a.wav", "c.png"}, false}, {1, 1, true, {"a.ogg", "c.png"}, false},
        {1, 1, false, {"a.wav", "c.png"}, true}, {0, 1, false, {"a.wav", "c.png"}, false},
    };
    for (const Case& c : cases) {
        test::TempGame game;
        game.WriteFile("songs/new/a.wav", test::WavBytes());
        game.WriteFile("songs/new/c.bmp", test::Encode(test::TestPicture(), "BMP"));
        ToolSettings tools = test::Tools(c.encoder_present ? test::RealEncoder() : "");
        tools.autowavtoogg = c.wav;
        tools.autobmptopng = c.bmp;
        test::ScopedScriptedUi ui;
        if (c.reported) ui->AnswerMessage(MsgAnswer::Ok);
        ConvertInstalledFolder(nullptr, WinPath("songs\\new"), tools);
        EXPECT_EQ(FilesBelow(game, "songs/new"), c.after);
        ASSERT_EQ(ui->prompts().size(), c.reported ? 1u : 0u);
        if (c.reported) {
            EXPECT_EQ(ui->prompts()[0].Utf8Text(), "oggエンコーダーが設定されていません。");
        }
    }
}

}  // namespace
}  // namespace qv5
