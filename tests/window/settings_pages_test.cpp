// The settings pages' conversions, the font chooser, the driver list and the
// window's keyboard and layout rules.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "window/controls.h"
#include "window/main_page.h"
#include "window/main_window.h"
#include "window/option_page.h"
#include "window/system_page.h"
#include "config/config_file.h"
#include "platform/text.h"
#include "support/alsa_devices.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

const char* kConfig = "QV5files/Config/config.xml";
const std::string kPlayer =
    "<player><id>player</id><pass>pass</pass></player><jukebox><path>songs\\</path></jukebox>";

class SettingsPagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheConfig() = ConfigRecord{};
        test::MakePlayer("player", "pass");
    }
    void Start(const std::string& sections = {}) {
        game.WriteFile(kConfig, "<config>" + kPlayer + sections + "</config>");
        dlg.InitDialog();
    }
    ConfigRecord Saved() {
        ConfigRecord back;
        LoadConfig(back);
        return back;
    }
    test::TempGame game;
    test::ScopedScriptedUi ui;
    test::ScopedAlsaDevices devices{{"Card A", "Card B", "Card C"}};
    MainWindow dlg;
};

TEST_F(SettingsPagesTest, StoredValuesOutsideTheControls) {
    struct Case {
        const char* xml;
        std::int32_t ConfigRecord::*field;
        std::int32_t saved;
    } cases[] = {
        {"<system><autoreload>5</autoreload></system>", &ConfigRecord::autoreload, -1},
        {"<system><maindisplay>7</maindisplay></system>", &ConfigRecord::maindisplay, -1},
        {"<system><customfolder>255</customfolder></system>", &ConfigRecord::customfolder, 255},
        {"<system><customfolder>256</customfolder></system>", &ConfigRecord::customfolder, 0},
        {"<system><customfolder>-1</customfolder></system>", &ConfigRecord::customfolder, 255},
        {"<system><customfolder>513</customfolder></system>", &ConfigRecord::customfolder, 1},
        {"<sound><output>3</output></sound>", &ConfigRecord::output, -1},
        {"<sound><output>2</output><driver>9</driver></sound>", &ConfigRecord::driver, -1},
        // A hand-edited check box value is kept while the box is not changed.
        {"<system><vsync>2</vsync></system>", &ConfigRecord::vsync, 2},
        {"<select><preview>-4</preview></select>", &ConfigRecord::preview, -4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        TheConfig() = ConfigRecord{};
        game.WriteFile(kConfig, std::string("<config>") + kPlayer + c.xml + "</config>");
        MainWindow window;
        window.InitDialog();
        ASSERT_EQ(window.ApplySettings(), 1);
        EXPECT_EQ(Saved().*c.field, c.saved);
    }
}

TEST_F(SettingsPagesTest, TypedTextIsStoredAsItsLeadingNumber) {
    Start();
    struct Case {
        int page, id;
        const char* typed;
        std::int32_t ConfigRecord::*field;
        std::int32_t saved;
    } cases[] = {
        {3, 1008, "1e3", &ConfigRecord::hsmax, 1},
        {3, 1028, "  -12 fast", &ConfigRecord::basespeed, -12},
        {3, 1011, "", &ConfigRecord::inputinterval, 0},
        {2, 1002, "abc", &ConfigRecord::searchmax, 0},
        {2, 1008, "+48h", &ConfigRecord::titleflash, 48},
        {4, 1009, "99999999999", &ConfigRecord::levelbarflash_9, 2147483647},
        {5, 1002, "64.5", &ConfigRecord::bufferlength, 64},
    };
    for (const auto& c : cases) Control<QLineEdit>(dlg.PageAt(c.page), c.id)->setText(c.typed);
    ASSERT_EQ(dlg.ApplySettings(), 1);
    const ConfigRecord back = Saved();
    for (const auto& c : cases) EXPECT_EQ(back.*c.field, c.saved) << c.typed;
}

TEST_F(SettingsPagesTest, CheckBoxesOfCustomFoldersMakeTheBitSet) {
    Start("<system><customfolder>0</customfolder></system>");
    for (int id : {1006, 1017, 1020}) Control<QCheckBox>(dlg.PageAt(2), id)->setChecked(true);
    ASSERT_EQ(dlg.ApplySettings(), 1);
    EXPECT_EQ(Saved().customfolder, 1 + 8 + 128);
}

TEST_F(SettingsPagesTest, FontChoiceShowsThePageAsLastRead) {
    Start("<play><basespeed>100</basespeed></play>");
    Page* page = dlg.PageAt(3);
    auto* speed = Control<QLineEdit>(page, 1028);
    auto* font = Control<QLineEdit>(page, 1026);
    speed->setText("150");
    ui->AnswerFont(std::nullopt);  // cancelled: nothing changes
    Control<QAbstractButton>(page, 1003)->click();
    EXPECT_EQ(speed->text(), "150");
    EXPECT_EQ(font->text(), "Ariel");

    ui->AnswerFont(FontChoice{Sj(u8"ＭＳ ゴシック"), 12});
    Control<QAbstractButton>(page, 1003)->click();
    EXPECT_EQ(font->text(), QString::fromUtf8(u8"ＭＳ ゴシック"));
    EXPECT_EQ(speed->text(), "100");
    ASSERT_EQ(ui->prompts().size(), 2u);
    EXPECT_EQ(ui->prompts()[1].kind, "font");
    ASSERT_EQ(dlg.ApplySettings(), 1);
    EXPECT_EQ(Saved().fontname, Sj(u8"ＭＳ ゴシック"));
    EXPECT_EQ(Saved().basespeed, 100);
}

TEST_F(SettingsPagesTest, OutputTypeListsItsDriversAndResetsTheDriver) {
    Start("<sound><output>1</output><driver>2</driver></sound>");
    auto* output = Control<QComboBox>(dlg.PageAt(5), 1001);
    auto* driver = Control<QComboBox>(dlg.PageAt(5), 1007);
    ASSERT_EQ(output->count(), 3);
    ASSERT_EQ(driver->count(), 3);
    EXPECT_EQ(driver->itemText(0), QStringLiteral("Card A"));
    EXPECT_EQ(driver->itemText(2), QStringLiteral("Card C"));
    EXPECT_EQ(driver->currentIndex(), 2);
    output->setCurrentIndex(2);
    EXPECT_EQ(driver->currentIndex(), 0);
    output->setCurrentIndex(0);
    ASSERT_EQ(dlg.ApplySettings(), 1);
    EXPECT_EQ(Saved().output, 0);
    EXPECT_EQ(Saved().driver, 0);
    EXPECT_EQ(SystemPage::OutputType(1), 9);
    EXPECT_EQ(SystemPage::OutputType(2), 10);
    EXPECT_EQ(SystemPage::OutputType(-1), 6);
    EXPECT_EQ(SystemPage::OutputType(3), 6);
}

TEST_F(SettingsPagesTest, WithoutSoundDevicesTheDriverIsSavedAsNone) {
    test::ScopedAlsaDevices none({});
    Start("<sound><driver>0</driver></sound>");
    EXPECT_EQ(Control<QComboBox>(dlg.PageAt(5), 1007)->count(), 0);
    ASSERT_EQ(dlg.ApplySettings(), 1);
    EXPECT_EQ(Saved().driver, -1);
}

// JUKEBOX1's button runs the tool settings over the page's values; the
// numbers are limited once the dialog is closed and saved with the rest.
TEST_F(SettingsPagesTest, ToolSettingsButtonOpensTheDialog) {
    Start();
    ui->AnswerDialog([](QDialog& d) {
        Control<QLineEdit>(&d, 1014)->setText("150");
        Control<QLineEdit>(&d, 1028)->setText("75");
        Control<QPushButton>(&d, 1)->click();
        return d.result();
    });
    Control<QAbstractButton>(dlg.PageAt(1), 1027)->click();
    ASSERT_EQ(ui->prompts().size(), 1u);
    EXPECT_EQ(ui->prompts()[0].kind, "dialog");
    ASSERT_EQ(dlg.ApplySettings(), 1);
    EXPECT_EQ(Saved().mp3_volume, 100);
    EXPECT_EQ(Saved().movie_framerate, 60);
}

TEST_F(SettingsPagesTest, ReturnInAnEditPressesNothing) {
    Start();
    dlg.show();
    for (int page : {0, 3}) {
        auto* edit = Control<QLineEdit>(dlg.PageAt(page), 1002);
        edit->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
        QApplication::sendEvent(edit, &enter);
    }
    // No dialog and no message was scripted: any would have failed the test.
    EXPECT_TRUE(ui->prompts().empty());
    EXPECT_TRUE(dlg.isVisible());
    auto* default_button = Control<QPushButton>(&dlg, 1, true);
    EXPECT_TRUE(default_button->isDefault());
    for (QPushButton* b : dlg.findChildren<QPushButton*>()) {
        if (b->window() != &dlg) continue;  // the buttons of the window's own dialogs
        EXPECT_TRUE(b == default_button || !b->autoDefault()) << b->objectName().toStdString();
    }
}

TEST_F(SettingsPagesTest, PlayerMessagesBelongToTheWindow) {
    Start();
    Control<QLineEdit>(dlg.MainTab(), 1002)->setText("wrong");
    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_EQ(dlg.ApplySettings(), 0);
    ui->AnswerMessage(MsgAnswer::Ok);
    Control<QAbstractButton>(dlg.MainTab(), 1036)->click();  // the ranking page
    ASSERT_EQ(ui->prompts().size(), 2u);
    for (const auto& p : ui->prompts()) {
        ASSERT_TRUE(p.owner) << p.Utf8Text();
        EXPECT_EQ(p.owner->window(), &dlg) << p.Utf8Text();
    }
}

TEST_F(SettingsPagesTest, HiddenAndDisabledControls) {
    Start();
    struct Case {
        int page, id;
        bool hidden, disabled;
    } cases[] = {
        {0, 1008, true, false},  {0, 1016, true, false},  {0, 1009, true, false},
        {0, 1010, true, false},  {0, 1011, true, false},  {0, 1027, true, false},
        {0, 1004, false, true},  {3, 1016, true, false},  {3, 1029, true, false},
        {3, 1033, false, true},  {3, 1017, false, false}, {5, 1018, true, false},
        {5, 1019, false, false}, {2, 1021, true, false},  {2, 1020, false, false},
    };
    for (const auto& c : cases) {
        QWidget* w = Control(dlg.PageAt(c.page), c.id);
        ASSERT_TRUE(w) << c.page << "/" << c.id;
        EXPECT_EQ(w->isHidden(), c.hidden) << c.page << "/" << c.id;
        EXPECT_EQ(!w->isEnabled(), c.disabled) << c.page << "/" << c.id;
    }
    auto* password = Control<QLineEdit>(dlg.PageAt(0), 1010);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
}

TEST_F(SettingsPagesTest, DropDownHeightsAndIcon) {
    Start();
    EXPECT_EQ(Control<QComboBox>(dlg.PageAt(0), 1001)->property("dropDownHeight").toInt(), 120);
    EXPECT_EQ(Control<QComboBox>(dlg.PageAt(5), 1001)->property("dropDownHeight").toInt(), 200);
    EXPECT_EQ(Control<QComboBox>(dlg.PageAt(5), 1007)->property("dropDownHeight").toInt(), 200);
    const QIcon icon = dlg.windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(16, 16).width(), 16);
    EXPECT_EQ(icon.pixmap(32, 32).width(), 32);
}

}  // namespace
}  // namespace qv5
