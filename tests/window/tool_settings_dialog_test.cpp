// The tool settings dialog: program choosers, redisplay, the BMS editor
// warning, the limits after closing and the compressor record.
#include "window/dialogs/tool_settings_dialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <filesystem>

#include "config/compvars.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "window/common/controls.h"
#include "window/dialogs/compressor_dialog.h"
#include "window/dialogs/tool_settings_dialog_ids.h"

namespace qv5 {
namespace {

const char* kCompVars = "QV5files/Config/compvars.dat";
const char8_t* kWarning =
    u8"bmsエディタでファイルを編集すると、以前のスコアデータは使用できなくなり、IRにも別の曲として"
    u8"登録されてしまいます。\nタイトル等の情報を変更したい場合は、bmsを直接編集せず、"
    u8"タグエディタを利用して下さい。";

class ToolSettingsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { tools = ToolSettingsFrom(ConfigRecord{}); }
    std::string Cwd() {
        char buf[4096];
        return getcwd(buf, sizeof buf) ? buf : "";
    }
    test::TempGame game;
    test::ScopedScriptedUi ui;
    ToolSettings tools;
};

TEST_F(ToolSettingsDialogTest, ChoosersShowTheirTitleAndSetTheirProgram) {
    struct Case {
        int button, edit;
        const char8_t* title;
        std::string ToolSettings::*value;
        bool warns;
    } cases[] = {
        {tool_settings_id::kChooseMp3Encoder, tool_settings_id::kMp3Encoder,
         u8"mp3エンコーダーの選択 (lame.exe推奨)", &ToolSettings::mp3enc_body, false},
        {tool_settings_id::kChooseOggEncoder, tool_settings_id::kOggEncoder,
         u8"oggエンコーダーの選択 (oggenc2.exe推奨)", &ToolSettings::oggenc_body, false},
        {tool_settings_id::kChooseOggDecoder, tool_settings_id::kOggDecoder,
         u8"BMSエディター選択 (oggdec.exe推奨)", &ToolSettings::oggdec_body, false},
        {tool_settings_id::kChooseBmsEditor, tool_settings_id::kBmsEditor,
         u8"BMSエディター選択 (BMSE.exe推奨)", &ToolSettings::bmse_body, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        test::ScopedScriptedUi local;
        const std::string chosen = Sj(u8"Z:\\opt\\ツール\\prog.exe");
        local->AnswerDialog([&](QDialog& d) {
            ToolSettingsDialog& tsd = static_cast<ToolSettingsDialog&>(d);
            auto* options = Control<QLineEdit>(&d, tool_settings_id::kOggEncoderOption);
            auto* program = Control<QLineEdit>(&d, c.edit);
            // A cancelled choice changes nothing and warns of nothing.
            options->setText("-q 9");
            tsd.ChooseProgram(c.button);
            EXPECT_EQ(options->text(), "-q 9");
            // A choice shows every value again: the typed options go back.
            EXPECT_EQ(chdir("/"), 0);  // as a file dialog may leave it
            if (c.warns) local->AnswerMessage(MsgAnswer::Ok);
            Control<QPushButton>(&d, c.button)->click();
            EXPECT_EQ(program->text(), ToQString(chosen));
            EXPECT_EQ(options->text(), "-q 6");
            EXPECT_EQ(Cwd(), game.host());
            Control<QPushButton>(&d, kIdOk)->click();
            return d.result();
        });
        local->AnswerPath(std::nullopt);
        local->AnswerPath(chosen);
        // The answers are taken in the order the prompts come: dialog first.
        OpenToolSettings(nullptr, tools);
        EXPECT_EQ(tools.*c.value, chosen);
        const auto& prompts = local->prompts();
        ASSERT_EQ(prompts.size(), c.warns ? 4u : 3u);
        for (size_t i : {1u, 2u}) {
            EXPECT_EQ(prompts[i].kind, "open");
            EXPECT_EQ(prompts[i].Utf8Caption(), reinterpret_cast<const char*>(c.title));
            EXPECT_EQ(
                prompts[i].Utf8Text(),
                reinterpret_cast<const char*>(u8"実行ファイル(*.exe)|*.exe|All Files(*.*)|*.*||"));
        }
        if (c.warns) {
            EXPECT_EQ(prompts[3].kind, "message");
            EXPECT_EQ(prompts[3].Utf8Text(), reinterpret_cast<const char*>(kWarning));
            EXPECT_EQ(prompts[3].Utf8Caption(),
                      reinterpret_cast<const char*>(u8"bms編集の際の注意"));
        }
        tools = ToolSettingsFrom(ConfigRecord{});
    }
}

TEST_F(ToolSettingsDialogTest, NumbersAreLimitedAfterTheDialogCloses) {
    struct Case {
        const char *quality, *rate, *quality_after, *rate_after;
    } cases[] = {
        {"150", "0", "100", "30"},  {"-3", "75", "0", "60"},    {"abc", "24", "0", "24"},
        {" 50%", "-1", "50", "30"}, {"100", "60", "100", "60"}, {"0", "1", "0", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quality);
        ui->AnswerDialog([&](QDialog& d) {
            Control<QLineEdit>(&d, tool_settings_id::kMp3Quality)->setText(c.quality);
            Control<QLineEdit>(&d, tool_settings_id::kFrameRate)->setText(c.rate);
            Control<QPushButton>(&d, kIdOk)->click();
            return d.result();
        });
        OpenToolSettings(nullptr, tools);
        EXPECT_EQ(tools.mp3_volume, c.quality);  // the dialog keeps the text
        ClampToolSettings(tools);
        EXPECT_EQ(tools.mp3_volume, c.quality_after);
        EXPECT_EQ(tools.movie_framerate, c.rate_after);
    }
}

TEST_F(ToolSettingsDialogTest, ClosingWithoutOkKeepsTheValues) {
    ui->AnswerDialog([&](QDialog& d) {
        Control<QLineEdit>(&d, tool_settings_id::kMp3OptionAudio)->setText("--changed");
        d.reject();
        return d.result();
    });
    OpenToolSettings(nullptr, tools);
    EXPECT_EQ(tools.mp3enc_option_normal, "--preset fast extreme");
    ToolSettingsDialog plain(tools);
    EXPECT_TRUE(Control<QPushButton>(&plain, kIdCancel)->isHidden());
}

std::uint32_t At(const std::string& bytes, size_t offset) {
    std::uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v |= std::uint32_t(std::uint8_t(bytes[offset + i])) << (8 * i);
    return v;
}

TEST_F(ToolSettingsDialogTest, CompressorChoiceWritesThe64ByteRecord) {
    ui->AnswerDialog([&](QDialog& d) {
        ui->AnswerDialog([&](QDialog& chooser) {
            EXPECT_TRUE(chooser.findChild<QComboBox*>("codec"));
            chooser.findChild<QComboBox*>("codec")->setCurrentIndex(1);
            chooser.findChild<QSpinBox*>("quality")->setValue(60);
            chooser.findChild<QSpinBox*>("keyframes")->setValue(30);
            Control<QPushButton>(&chooser, kIdOk)->click();
            return chooser.result();
        });
        Control<QPushButton>(&d, tool_settings_id::kCompressor)->click();
        Control<QPushButton>(&d, kIdOk)->click();
        return d.result();
    });
    OpenToolSettings(nullptr, tools);
    const std::string bytes = game.ReadFile(kCompVars);
    ASSERT_EQ(bytes.size(), 64u);
    struct Field {
        size_t offset;
        std::uint32_t value;
    } fields[] = {
        {0, 64},
        {4, 1},
        {8, 0},
        {12, FourCc("vidc")},
        {16, FourCc("MSVC")},
        {20, 0},
        {24, 0},
        {28, 0},
        {32, 0},
        {36, 0},
        {40, 30},
        {44, 0},
        {48, 6000},
        {52, 0},
        {56, 0},
        {60, 0},
    };
    for (const auto& f : fields) EXPECT_EQ(At(bytes, f.offset), f.value) << f.offset;
    EXPECT_EQ(bytes.substr(12, 4), "vidc");
    EXPECT_EQ(bytes.substr(16, 4), "MSVC");
}

TEST_F(ToolSettingsDialogTest, CancelledCompressorChoiceWritesNothing) {
    game.WriteFile(kCompVars, "old");
    ui->AnswerDialog([&](QDialog& chooser) {
        chooser.reject();
        return chooser.result();
    });
    EXPECT_FALSE(ChooseCompressor(nullptr));
    EXPECT_EQ(game.ReadFile(kCompVars), "old");
    EXPECT_EQ(CompVarsBytes(CompressorChoice{}).size(), 64u);
    EXPECT_EQ(CompVarsBytes(CompressorChoice{})[16], 'D');
}

}  // namespace
}  // namespace qv5
