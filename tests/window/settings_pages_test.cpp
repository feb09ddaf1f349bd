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

#include "config/config_file.h"
#include "platform/text.h"
#include "support/alsa_devices.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "window/common/controls.h"
#include "window/dialogs/tool_settings_dialog_ids.h"
#include "window/main/main_window.h"
#include "window/pages/custom_folder_page_ids.h"
#include "window/pages/jukebox_page_ids.h"
#include "window/pages/main_page.h"
#include "window/pages/main_page_ids.h"
#include "window/pages/option_page.h"
#include "window/pages/option_page_ids.h"
#include "window/pages/select_page_ids.h"
#include "window/pages/system_page.h"
#include "window/pages/system_page_ids.h"

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
        {3, option_page_id::kHsMax, "1e3", &ConfigRecord::hsmax, 1},
        {3, option_page_id::kBaseSpeed, "  -12 fast", &ConfigRecord::basespeed, -12},
        {3, option_page_id::kInputInterval, "", &ConfigRecord::inputinterval, 0},
        {2, custom_folder_page_id::kSearchMax, "abc", &ConfigRecord::searchmax, 0},
        {2, custom_folder_page_id::kTitleFlash, "+48h", &ConfigRecord::titleflash, 48},
        {4, select_page_id::kLevelBar9, "99999999999", &ConfigRecord::levelbarflash_9, 2147483647},
        {5, system_page_id::kBufferLength, "64.5", &ConfigRecord::bufferlength, 64},
    };
    for (const auto& c : cases) Control<QLineEdit>(dlg.PageAt(c.page), c.id)->setText(c.typed);
    ASSERT_EQ(dlg.ApplySettings(), 1);
    const ConfigRecord back = Saved();
    for (const auto& c : cases) EXPECT_EQ(back.*c.field, c.saved) << c.typed;
}

TEST_F(SettingsPagesTest, CheckBoxesOfCustomFoldersMakeTheBitSet) {
    Start("<system><customfolder>0</customfolder></system>");
    for (int id : {custom_folder_page_id::kRandomSelect, custom_folder_page_id::kLevel,
                   custom_folder_page_id::kCourse})
        Control<QCheckBox>(dlg.PageAt(2), id)->setChecked(true);
    ASSERT_EQ(dlg.ApplySettings(), 1);
    EXPECT_EQ(Saved().customfolder, 1 + 8 + 128);
}

TEST_F(SettingsPagesTest, FontChoiceShowsThePageAsLastRead) {
    Start("<play><basespeed>100</basespeed></play>");
    Page* page = dlg.PageAt(3);
    auto* speed = Control<QLineEdit>(page, option_page_id::kBaseSpeed);
    auto* font = Control<QLineEdit>(page, option_page_id::kFontName);
    speed->setText("150");
    ui->AnswerFont(std::nullopt);  // cancelled: nothing changes
    Control<QAbstractButton>(page, option_page_id::kChooseFont)->click();
    EXPECT_EQ(speed->text(), "150");
    EXPECT_EQ(font->text(), "Ariel");

    ui->AnswerFont(FontChoice{Sj(u8"ＭＳ ゴシック"), 12});
    Control<QAbstractButton>(page, option_page_id::kChooseFont)->click();
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
    auto* output = Control<QComboBox>(dlg.PageAt(5), system_page_id::kOutput);
    auto* driver = Control<QComboBox>(dlg.PageAt(5), system_page_id::kDriver);
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
    EXPECT_EQ(Control<QComboBox>(dlg.PageAt(5), system_page_id::kDriver)->count(), 0);
    ASSERT_EQ(dlg.ApplySettings(), 1);
    EXPECT_EQ(Saved().driver, -1);
}

// JUKEBOX1's button runs the tool settings over the page's values; the
// numbers are limited once the dialog is closed and saved with the rest.
TEST_F(SettingsPagesTest, ToolSettingsButtonOpensTheDialog) {
    Start();
    ui->AnswerDialog([](QDialog& d) {
        Control<QLineEdit>(&d, tool_settings_id::kMp3Quality)->setText("150");
        Control<QLineEdit>(&d, tool_settings_id::kFrameRate)->setText("75");
        Control<QPushButton>(&d, kIdOk)->click();
        return d.result();
    });
    Control<QAbstractButton>(dlg.PageAt(1), jukebox_page_id::kToolSettings)->click();
    ASSERT_EQ(ui->prompts().size(), 1u);
    EXPECT_EQ(ui->prompts()[0].kind, "dialog");
    ASSERT_EQ(dlg.ApplySettings(), 1);
    EXPECT_EQ(Saved().mp3_volume, 100);
    EXPECT_EQ(Saved().movie_framerate, 60);
}

TEST_F(SettingsPagesTest, ReturnInAnEditPressesNothing) {
    Start();
    dlg.show();
    for (auto [page, id] :
         {std::pair{0, int(main_page_id::kPass)}, {3, int(option_page_id::kHsMin)}}) {
        auto* edit = Control<QLineEdit>(dlg.PageAt(page), id);
        edit->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
        QApplication::sendEvent(edit, &enter);
    }
    // No dialog and no message was scripted: any would have failed the test.
    EXPECT_TRUE(ui->prompts().empty());
    EXPECT_TRUE(dlg.isVisible());
    auto* default_button = Control<QPushButton>(&dlg, kIdOk, true);
    EXPECT_TRUE(default_button->isDefault());
    for (QPushButton* b : dlg.findChildren<QPushButton*>()) {
        if (b->window() != &dlg) continue;  // the buttons of the window's own dialogs
        EXPECT_TRUE(b == default_button || !b->autoDefault()) << b->objectName().toStdString();
    }
}

TEST_F(SettingsPagesTest, PlayerMessagesBelongToTheWindow) {
    Start();
    Control<QLineEdit>(dlg.MainTab(), main_page_id::kPass)->setText("wrong");
    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_EQ(dlg.ApplySettings(), 0);
    ui->AnswerMessage(MsgAnswer::Ok);
    Control<QAbstractButton>(dlg.MainTab(), main_page_id::kMyPage)->click();  // the ranking page
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
        {0, main_page_id::kScreenRate, true, false},
        {0, main_page_id::kQv4Ir, true, false},
        {0, main_page_id::kQv4Id, true, false},
        {0, main_page_id::kQv4Pass, true, false},
        {0, main_page_id::kMail, true, false},
        {0, main_page_id::kResetDatabase, true, false},
        {0, main_page_id::kDeletePlayer, false, true},
        {3, option_page_id::kThread, true, false},
        {3, option_page_id::kDisableFolderThread, true, false},
        {3, option_page_id::kGomiScore, false, true},
        {3, option_page_id::kControl, false, false},
        {5, system_page_id::kDirectDraw, true, false},
        {5, system_page_id::kSoftwareRendering, false, false},
        {2, custom_folder_page_id::kRandomClose, true, false},
        {2, custom_folder_page_id::kCourse, false, false},
    };
    for (const auto& c : cases) {
        QWidget* w = Control(dlg.PageAt(c.page), c.id);
        ASSERT_TRUE(w) << c.page << "/" << c.id;
        EXPECT_EQ(w->isHidden(), c.hidden) << c.page << "/" << c.id;
        EXPECT_EQ(!w->isEnabled(), c.disabled) << c.page << "/" << c.id;
    }
    auto* password = Control<QLineEdit>(dlg.PageAt(0), main_page_id::kQv4Pass);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
}

TEST_F(SettingsPagesTest, DropDownHeightsAndIcon) {
    Start();
    EXPECT_EQ(Control<QComboBox>(dlg.PageAt(0), main_page_id::kPlayers)
                  ->property("dropDownHeight")
                  .toInt(),
              120);
    EXPECT_EQ(Control<QComboBox>(dlg.PageAt(5), system_page_id::kOutput)
                  ->property("dropDownHeight")
                  .toInt(),
              200);
    EXPECT_EQ(Control<QComboBox>(dlg.PageAt(5), system_page_id::kDriver)
                  ->property("dropDownHeight")
                  .toInt(),
              200);
    const QIcon icon = dlg.windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(16, 16).width(), 16);
    EXPECT_EQ(icon.pixmap(32, 32).width(), 32);
}

}  // namespace
}  // namespace qv5
