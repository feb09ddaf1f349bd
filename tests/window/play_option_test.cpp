#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "window/controls.h"
#include "window/main_page.h"
#include "window/main_window.h"
#include "window/play_option_dialog.h"
#include "config/config_file.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"

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
        EXPECT_TRUE(Checked(d, 1098));
        EXPECT_TRUE(Checked(d, 1090));
        EXPECT_TRUE(Checked(d, 1095));
        EXPECT_EQ(Control<QLineEdit>(&d, 1002)->text(), QStringLiteral("150"));
        Control<QRadioButton>(&d, 1087)->click();
        Control<QRadioButton>(&d, 1093)->click();
        Control<QRadioButton>(&d, 1099)->click();
        Control<QLineEdit>(&d, 1002)->setText(QStringLiteral(" 250x"));
        Control<QPushButton>(&d, 1)->click();
        return d.result();
    });
    Control<QPushButton>(&dlg, 1036, true)->click();
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.gauge, 5);
    EXPECT_EQ(back.random, 5);
    EXPECT_EQ(back.hstype, 4);
    EXPECT_EQ(back.hs, 250);
}

TEST_F(PlayOptionTest, CancelKeepsTheRecordButStillAppliesThePages) {
    Start(0);
    Control<QLineEdit>(dlg.MainTab(), 1026)->setText(QStringLiteral("800"));
    ui->AnswerDialog([&](QDialog& d) {
        Control<QRadioButton>(&d, 1083)->click();
        Control<QLineEdit>(&d, 1002)->setText(QStringLiteral("999"));
        Control<QPushButton>(&d, 2)->click();
        return d.result();
    });
    Control<QPushButton>(&dlg, 1036, true)->click();
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
        for (int id : {1098, 1083, 1084, 1085, 1086, 1087}) EXPECT_FALSE(Checked(d, id)) << id;
        Control<QPushButton>(&d, 1)->click();
        return d.result();
    });
    Control<QPushButton>(&dlg, 1036, true)->click();
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.gauge, -1);
    EXPECT_EQ(back.random, 2);
}

TEST_F(PlayOptionTest, AFailedCheckAfterTheDialogKeepsTheFileButNotTheRecord) {
    Start(0);
    Control<QLineEdit>(dlg.MainTab(), 1002)->setText(QStringLiteral("wrong"));
    ui->AcceptAllMessages();
    ui->AnswerDialog([&](QDialog& d) {
        Control<QRadioButton>(&d, 1083)->click();
        Control<QPushButton>(&d, 1)->click();
        return d.result();
    });
    Control<QPushButton>(&dlg, 1036, true)->click();
    EXPECT_FALSE(ui->MessageTexts().empty());
    EXPECT_EQ(TheConfig().gauge, 1);
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(back.gauge, 0);
}

}  // namespace
}  // namespace qv5
