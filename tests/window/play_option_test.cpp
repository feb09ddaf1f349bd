#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "config/config_file.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "window/common/controls.h"
#include "window/dialogs/play_option_dialog.h"
#include "window/dialogs/play_option_dialog_ids.h"
#include "window/main/main_window.h"
#include "window/main/main_window_ids.h"
#include "window/pages/main_page.h"
#include "window/pages/main_page_ids.h"

namespace qv5 {
namespace {

class PlayOptionTest : public ::testing::Test {
  protected:
    void Start(std::int32_t gauge) {
        ConfigRecord c = test::NewPlayerRecord({"songs\\"});
        c.gauge = gauge;
        c.random = 2;
        c.hstype = 1;
        c.hs = 150;
        SaveConfig(c);
        dlg.InitDialog();
    }
    bool Checked(QDialog& d, int id) { return Control<QRadioButton>(&d, id)->isChecked(); }

    test::TempGame game;
    test::ScopedScriptedUi ui;
    MainWindow dlg;
};

TEST_F(PlayOptionTest, OkCopiesTheChoicesBackAndWritesTheFile) {
    Start(0);
    ui->AnswerDialog([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("PLAY OPTION"));
        // The record's values are shown.
        EXPECT_TRUE(Checked(d, play_option_id::kGaugeNormal));
        EXPECT_TRUE(Checked(d, play_option_id::kRandomRandom));
        EXPECT_TRUE(Checked(d, play_option_id::kSpeedFixMax));
        EXPECT_EQ(Control<QLineEdit>(&d, play_option_id::kHs)->text(), QStringLiteral("150"));
        Control<QRadioButton>(&d, play_option_id::kGaugeGoodAttack)->click();
        Control<QRadioButton>(&d, play_option_id::kRandomConverge)->click();
        Control<QRadioButton>(&d, play_option_id::kSpeedConstant)->click();
        Control<QLineEdit>(&d, play_option_id::kHs)->setText(QStringLiteral(" 250x"));
        Control<QPushButton>(&d, kIdOk)->click();
        return d.result();
    });
    Control<QPushButton>(&dlg, main_window_id::kPlayOptions, true)->click();
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.gauge, 5);
    EXPECT_EQ(back.random, 5);
    EXPECT_EQ(back.hstype, 4);
    EXPECT_EQ(back.hs, 250);
}

TEST_F(PlayOptionTest, CancelKeepsTheRecordButStillAppliesThePages) {
    Start(0);
    Control<QLineEdit>(dlg.MainTab(), main_page_id::kWidth)->setText(QStringLiteral("800"));
    ui->AnswerDialog([&](QDialog& d) {
        Control<QRadioButton>(&d, play_option_id::kGaugeHard)->click();
        Control<QLineEdit>(&d, play_option_id::kHs)->setText(QStringLiteral("999"));
        Control<QPushButton>(&d, kIdCancel)->click();
        return d.result();
    });
    Control<QPushButton>(&dlg, main_window_id::kPlayOptions, true)->click();
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.gauge, 0);
    EXPECT_EQ(back.random, 2);
    EXPECT_EQ(back.hs, 150);
    EXPECT_EQ(back.windowsize_x, 800);
}

TEST_F(PlayOptionTest, AValueOutsideItsGroupShowsNoChoiceAndIsSavedAsMinusOne) {
    Start(9);
    ui->AnswerDialog([&](QDialog& d) {
        for (int id : {play_option_id::kGaugeNormal, play_option_id::kGaugeHard,
                       play_option_id::kGaugeDeath, play_option_id::kGaugeEasy,
                       play_option_id::kGaugePerfectAttack, play_option_id::kGaugeGoodAttack})
            EXPECT_FALSE(Checked(d, id)) << id;
        Control<QPushButton>(&d, kIdOk)->click();
        return d.result();
    });
    Control<QPushButton>(&dlg, main_window_id::kPlayOptions, true)->click();
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.gauge, -1);
    EXPECT_EQ(back.random, 2);
}

TEST_F(PlayOptionTest, AFailedCheckAfterTheDialogKeepsTheFileButNotTheRecord) {
    Start(0);
    Control<QLineEdit>(dlg.MainTab(), main_page_id::kPass)->setText(QStringLiteral("wrong"));
    ui->AcceptAllMessages();
    ui->AnswerDialog([&](QDialog& d) {
        Control<QRadioButton>(&d, play_option_id::kGaugeHard)->click();
        Control<QPushButton>(&d, kIdOk)->click();
        return d.result();
    });
    Control<QPushButton>(&dlg, main_window_id::kPlayOptions, true)->click();
    EXPECT_FALSE(ui->MessageTexts().empty());
    EXPECT_EQ(TheConfig().gauge, 1);
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.gauge, 0);
}

}  // namespace
}  // namespace qv5
