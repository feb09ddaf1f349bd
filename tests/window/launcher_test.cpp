#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "browser/game_body.h"
#include "config/config_file.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text.h"
#include "support/fake_wine.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "window/common/controls.h"
#include "window/common/wait_note.h"
#include "window/main/main_window.h"
#include "window/main/main_window_ids.h"
#include "window/pages/jukebox_page.h"
#include "window/pages/main_page.h"
#include "window/pages/main_page_ids.h"
#include "window/tree/folder_tree_ids.h"

namespace qv5 {
namespace {

using Args = std::vector<std::string>;

TEST(ExportExtension, AppendsUnlessTheNameEndsInExactlyTheExtension) {
    struct Case {
        const char* chosen;
        const char* ext;
        const char* want;
    } cases[] = {
        {"Z:\\out\\a.wav", ".wav", "Z:\\out\\a.wav"},
        {"Z:\\out\\a", ".wav", "Z:\\out\\a.wav"},
        {"Z:\\out\\a.WAV", ".wav", "Z:\\out\\a.WAV.wav"},
        {"Z:\\out\\a.Wav", ".wav", "Z:\\out\\a.Wav.wav"},
        {"Z:\\out\\a.mp3", ".wav", "Z:\\out\\a.mp3.wav"},
        {"Z:\\out\\a.mp3", ".mp3", "Z:\\out\\a.mp3"},
        {"Z:\\out\\a.avi.", ".avi", "Z:\\out\\a.avi..avi"},
        {"avi", ".avi", "avi.avi"},
        {".avi", ".avi", ".avi"},
    };
    for (const Case& c : cases) EXPECT_EQ(WithExportExtension(c.chosen, c.ext), c.want) << c.chosen;
}

class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ConfigRecord c = test::NewPlayerRecord({"songs\\"});
        c.mp3enc_body = "tools\\lame.exe";
        SaveConfig(c);
        game.WriteFile("QV5body.exe", "MZ");
        game.WriteFile("tools/lame.exe", "MZ");
        game.WriteFile("songs/a b/曲.bms",
                       Sj(u8"#TITLE 曲\r\n#SUBTITLE HYPER\r\n#ARTIST art\r\n#SUBARTIST obj\r\n"));
        dlg.InitDialog();
    }
    // The chart under the relative root "songs\", with a blank and a Japanese name.
    std::string Chart() const { return Sj(u8"songs\\a b\\曲.bms"); }
    std::string ChartUtf8() const { return "songs\\a b\\曲.bms"; }
    // An output path as the save dialog returns it, and as the game gets it.
    std::string Output(const std::string& name) const {
        return *FromHostPath(game.HostPath("out dir/" + name));
    }
    Args Last() const {
        auto runs = wine.Runs();
        return runs.empty() ? Args{} : runs.back().argv;
    }

    test::TempGame game;
    test::FakeWine wine;
    test::ScopedScriptedUi ui;
    MainWindow dlg;
};

TEST_F(LauncherTest, EveryStartPassesItsCommandLineInTheProgramDirectory) {
    const std::string out_utf8 = Cp932ToUtf8(Output("曲"));
    struct Case {
        int id;
        const char* answer;  // save dialog answer, under "out dir"
        Args want;
    } cases[] = {
        {kCmdPlayChart, nullptr, {"QV5body.exe", ChartUtf8()}},
        {kCmdAutoplayChart, nullptr, {"QV5body.exe", "-a", ChartUtf8()}},
        {kCmdBgmWav, "曲", {"QV5body.exe", "-audio", ChartUtf8(), out_utf8 + ".wav"}},
        {kCmdBgmMp3, "曲.mp3", {"QV5body.exe", "-audio", ChartUtf8(), out_utf8 + ".mp3"}},
        {kCmdMovieAutoplay, "曲.avi", {"QV5body.exe", "-auto2avi", ChartUtf8(), out_utf8 + ".avi"}},
        {kCmdMovieBgaOnly, "曲", {"QV5body.exe", "-bga2avi", ChartUtf8(), out_utf8 + ".avi"}},
        {kCmdMovieReplay, "曲", {"QV5body.exe", "-replay2avi", ChartUtf8(), out_utf8 + ".avi"}},
        {main_window_id::kMakeMovie, "曲", {"QV5body.exe", "-movie", out_utf8 + ".avi"}},
        {main_window_id::kPlay, nullptr, {"QV5body.exe", "-s"}},
    };
    size_t runs = 0;
    for (const Case& c : cases) {
        if (c.answer) ui->AnswerPath(Output(c.answer));
        if (c.id == main_window_id::kMakeMovie || c.id == main_window_id::kPlay)
            Control<QPushButton>(&dlg, c.id, true)->click();
        else
            EXPECT_TRUE(dlg.RunChartCommand(c.id, Chart()));
        // The autoplay and Play starts are not waited for.
        for (int i = 0; i < 2000 && wine.Runs().size() <= runs; ++i) usleep(5000);
        auto all = wine.Runs();
        ASSERT_EQ(all.size(), ++runs) << c.id;
        EXPECT_EQ(all.back().argv, c.want) << c.id;
        EXPECT_EQ(std::filesystem::canonical(all.back().cwd),
                  std::filesystem::canonical(game.host()))
            << c.id;
    }
    EXPECT_TRUE(ui->Exhausted());
    EXPECT_FALSE(dlg.RunChartCommand(32822, Chart()));  // no menu has this id
}

TEST_F(LauncherTest, SaveDialogsOfferTheExportTitleAndTheirFilter) {
    for (int id : {kCmdBgmWav, kCmdBgmMp3, kCmdMovieAutoplay, kCmdMovieBgaOnly, kCmdMovieReplay})
        ui->AnswerPath(std::nullopt), dlg.ExportChart(id, Chart());
    ui->AnswerPath(std::nullopt);
    Control<QPushButton>(&dlg, main_window_id::kMakeMovie, true)->click();
    // Cancelled: nothing started and nothing said.
    EXPECT_TRUE(wine.Runs().empty());
    const auto& p = ui->prompts();
    ASSERT_EQ(p.size(), 6u);
    for (const auto& prompt : p) EXPECT_EQ(prompt.kind, "save");
    // Audio leaves out a subtitle naming a difficulty; movies keep it.
    EXPECT_EQ(p[0].Utf8Text(), "[art obj] 曲.wav");
    EXPECT_EQ(p[1].Utf8Text(), "[art obj] 曲.mp3");
    EXPECT_EQ(p[2].Utf8Text(), "[art obj] 曲 HYPER.avi");
    EXPECT_EQ(p[4].Utf8Text(), "[art obj] 曲 HYPER.avi");
    EXPECT_EQ(p[5].Utf8Text(), "movie.avi");
    EXPECT_EQ(p[0].Utf8Caption(), "サウンド ファイル (*.wav)|*.wav||");
    EXPECT_EQ(p[1].Utf8Caption(), "サウンド ファイル (*.mp3)|*.mp3||");
    EXPECT_EQ(p[3].Utf8Caption(), "動画ファイル (*.avi)|*.avi||");
    EXPECT_EQ(p[5].Utf8Caption(), "動画ファイル (*.avi)|*.avi||");
    EXPECT_EQ(ui->SaveExtensions(), (Args{"wav", "mp3", "avi", "avi", "avi", "avi"}));
}

TEST_F(LauncherTest, PlayTheChartWaitsThenReadsTheConfigurationAgain) {
    // The game changes its speed in config.xml as it runs, then exits.
    wine.SetAction(
        "sleep 0.2; sed -i 's|<hs>100</hs>|<hs>250</hs>|' QV5files/Config/config.xml; "
        "touch ended");
    ASSERT_EQ(TheConfig().hs, 100);
    dlg.PlayChart(Chart());
    EXPECT_TRUE(game.Exists("ended"));
    EXPECT_EQ(TheConfig().hs, 250);
}

TEST_F(LauncherTest, WhilePlayingTheChartTheWindowShowsWhatItWaitsFor) {
    // The fake game runs until the window, still alive, has shown the note.
    wine.SetAction("while [ ! -f go ]; do sleep 0.01; done; touch ended");
    dlg.show();
    InstallWaitNote(&dlg);
    QString note_text;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        auto* note = dlg.findChild<QDialog*>(QString::fromLatin1(kWaitNoteName));
        if (!note || !note->isVisible() || !note_text.isEmpty()) return;
        note_text = note->findChild<QLabel*>()->text();
        game.WriteFile("go", "");
    });
    ticker.start(10);
    dlg.PlayChart(Chart());
    ticker.stop();
    SetWaitHook({});
    EXPECT_TRUE(game.Exists("ended"));
    EXPECT_TRUE(note_text.startsWith(QStringLiteral("QV5body.exe"))) << note_text.toStdString();
}

TEST_F(LauncherTest, ADroppedChartIsPlayedWithoutWaiting) {
    wine.SetAction("while [ ! -f go ]; do sleep 0.01; done; touch ended");
    dlg.PlayDroppedChart(Chart());
    EXPECT_FALSE(game.Exists("ended"));
    game.WriteFile("go", "");
    for (int i = 0; i < 2000 && !game.Exists("ended"); ++i) usleep(5000);
    EXPECT_EQ(Last(), (Args{"QV5body.exe", ChartUtf8()}));
}

TEST_F(LauncherTest, ExportsWaitAutoplayDoesNot) {
    wine.SetAction("while [ ! -f go ]; do sleep 0.01; done; touch ended");
    dlg.AutoplayChart(Chart());
    EXPECT_FALSE(game.Exists("ended"));
    game.WriteFile("go", "");
    for (int i = 0; i < 2000 && !game.Exists("ended"); ++i) usleep(5000);
    ASSERT_TRUE(game.Exists("ended"));

    std::filesystem::remove(game.HostPath("ended"));
    wine.SetAction("sleep 0.2; touch ended");
    ui->AnswerPath(Output("a.wav"));
    dlg.ExportChart(kCmdBgmWav, Chart());
    EXPECT_TRUE(game.Exists("ended"));
}

TEST_F(LauncherTest, Mp3ExportNeedsAnExistingEncoderWavDoesNot) {
    struct Case {
        const char* encoder;
        bool mp3_runs;
    } cases[] = {
        {"", false},
        {"tools\\missing.exe", false},
        {"tools\\lame.exe", true},
        // A folder counts as existing, with or without its trailing separator.
        {"tools\\", true},
        {"tools", true},
    };
    for (const Case& c : cases) {
        test::ScopedScriptedUi row_ui;
        ConfigRecord config;
        LoadConfig(config);
        config.mp3enc_body = c.encoder;
        SaveConfig(config);
        MainWindow w;
        w.InitDialog();
        const size_t before = wine.Runs().size();
        if (c.mp3_runs)
            row_ui->AnswerPath(Output("a.mp3"));
        else
            row_ui->AnswerMessage(MsgAnswer::Ok);
        w.ExportChart(kCmdBgmMp3, Chart());
        EXPECT_EQ(wine.Runs().size(), before + (c.mp3_runs ? 1 : 0)) << c.encoder;
        if (!c.mp3_runs) {
            ASSERT_EQ(row_ui->MessageTexts().size(), 1u) << c.encoder;
            EXPECT_EQ(row_ui->MessageTexts()[0],
                      "mp3エンコーダーが設定されていません。\n詳細設定ボタンから設定して下さい。");
            EXPECT_EQ(row_ui->prompts()[0].Utf8Caption(), "QV5 SETUP");
        }
        // The wav export never looks at the encoder.
        row_ui->AnswerPath(Output("a.wav"));
        w.ExportChart(kCmdBgmWav, Chart());
        EXPECT_EQ(wine.Runs().size(), before + (c.mp3_runs ? 2 : 1)) << c.encoder;
        EXPECT_TRUE(row_ui->Exhausted());
    }
}

// The check reads the tool settings as the page holds them: what the export
// goes on with, even when ApplySettings could not store them (a wrong password).
TEST_F(LauncherTest, Mp3ExportChecksTheToolSettingsItGoesOnWith) {
    ConfigRecord config;
    LoadConfig(config);
    config.mp3enc_body.clear();
    SaveConfig(config);
    MainWindow w;
    w.InitDialog();
    w.JukeboxTab()->tools.mp3enc_body = "tools\\lame.exe";
    Control<QLineEdit>(w.MainTab(), main_page_id::kPass)->setText(QStringLiteral("wrong"));
    ui->AcceptAllMessages();
    ui->AnswerPath(Output("a.mp3"));
    w.ExportChart(kCmdBgmMp3, Chart());
    EXPECT_EQ(wine.Runs().size(), 1u);
    for (const std::string& text : ui->MessageTexts())
        EXPECT_EQ(text.find("mp3エンコーダー"), std::string::npos) << text;
}

// A double quote cannot travel inside a quoted path of a Windows command line
// (the game would get another name): the path is named and nothing starts.
TEST_F(LauncherTest, APathHoldingADoubleQuoteIsRefusedAndNothingStarts) {
    game.WriteFile("songs/q\"uote.bms", "#TITLE q\r\n");
    const std::string quoted = "songs\\q\"uote.bms";
    const std::string output = Output("a\"b.wav");
    const int ids[] = {kCmdPlayChart,     kCmdAutoplayChart, kCmdBgmWav,      kCmdBgmMp3,
                       kCmdMovieAutoplay, kCmdMovieBgaOnly,  kCmdMovieReplay, 0};
    for (int id : ids) {
        if (id == 0) ui->AnswerPath(output);  // a chart exported to such a file
        ui->AnswerMessage(MsgAnswer::Ok);
        EXPECT_TRUE(dlg.RunChartCommand(id ? id : kCmdBgmWav, id ? quoted : Chart()));
        const std::string named = Cp932ToUtf8(id ? quoted : output);
        ASSERT_FALSE(ui->prompts().empty()) << id;
        ASSERT_EQ(ui->prompts().back().Utf8Caption(), "エラー") << id;
        EXPECT_NE(ui->prompts().back().Utf8Text().find(named), std::string::npos) << id;
    }
    // Only the last, waited-for start below reaches the game body.
    dlg.PlayChart(Chart());
    ASSERT_EQ(wine.Runs().size(), 1u);
    EXPECT_EQ(Last(), (Args{"QV5body.exe", ChartUtf8()}));
}

TEST_F(LauncherTest, UnreadableChartStopsTheExportSilently) {
    dlg.ExportChart(kCmdMovieReplay, "songs\\missing.bms");
    EXPECT_TRUE(ui->prompts().empty());
    EXPECT_TRUE(wine.Runs().empty());
}

TEST_F(LauncherTest, FailedSettingsStopPlayCommandsButNotExports) {
    dlg.show();
    Control<QLineEdit>(dlg.MainTab(), main_page_id::kPass)->setText(QStringLiteral("wrong"));
    ui->AcceptAllMessages();
    dlg.PlayChart(Chart());
    dlg.AutoplayChart(Chart());
    Control<QPushButton>(&dlg, main_window_id::kPlay, true)->click();
    EXPECT_TRUE(wine.Runs().empty());
    EXPECT_TRUE(dlg.isVisible());
    ui->AnswerPath(Output("a.avi"));
    dlg.ExportChart(kCmdMovieAutoplay, Chart());
    EXPECT_EQ(wine.Runs().size(), 1u);
}

TEST_F(LauncherTest, MissingGameBodyOrWineIsNamedAndNothingStarts) {
    std::filesystem::remove(game.HostPath("QV5body.exe"));
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.PlayChart(Chart());
    ASSERT_EQ(ui->MessageTexts().size(), 1u);
    EXPECT_NE(ui->MessageTexts()[0].find("QV5body.exe が " + game.host()), std::string::npos)
        << ui->MessageTexts()[0];

    game.WriteFile("QV5body.exe", "MZ");
    wine.Remove();
    ui->AnswerMessage(MsgAnswer::Ok);
    dlg.show();
    Control<QPushButton>(&dlg, main_window_id::kPlay, true)->click();
    ASSERT_EQ(ui->MessageTexts().size(), 2u);
    EXPECT_NE(ui->MessageTexts()[1].find("wine not found"), std::string::npos);
    // Nothing started, so the window stays for the user to set things right.
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(LauncherTest, PlayWritesTheSettingsStartsTheGameAndCloses) {
    dlg.show();
    Control<QLineEdit>(dlg.MainTab(), main_page_id::kWidth)->setText(QStringLiteral("800"));
    Control<QPushButton>(&dlg, main_window_id::kPlay, true)->click();
    EXPECT_FALSE(dlg.isVisible());
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.windowsize_x, 800);
    for (int i = 0; i < 2000 && wine.Runs().empty(); ++i) usleep(5000);
    EXPECT_EQ(Last(), (Args{"QV5body.exe", "-s"}));
}

}  // namespace
}  // namespace qv5
