// Interface language: the captions of the window and its pages.
#include "app/language.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <set>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/page.h"
#include "config/config_file.h"
#include "platform/text.h"
#include "support/players.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

constexpr int kJukebox1 = 1;  // its controls are the folder tree's page's own

class LanguageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheConfig() = ConfigRecord{};
        test::MakePlayer("player", "pass");
    }
    void Start(int language) {
        game.WriteFile("QV5files/Config/config.xml",
                       "<config><system><language>" + std::to_string(language) +
                           "</language></system><player><id>player</id><pass>pass</pass>"
                           "</player><jukebox><path>songs\\</path></jukebox></config>");
        dlg.InitDialog();
    }
    QString Shown(const Caption& c) {
        QObject* owner = c.page < 0 ? static_cast<QObject*>(&dlg) : dlg.PageAt(c.page);
        QWidget* w = Control(owner, c.control, c.page < 0);
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        ADD_FAILURE() << "no caption control " << c.page << "/" << c.control;
        return QStringLiteral("<none>");
    }
    void ExpectCaptions(int language) {
        for (const Caption& c : Captions()) {
            if (c.page == kJukebox1) continue;
            const QString expected =
                language == 1 ? QString::fromUtf8(c.english)
                              : QString::fromUtf8(reinterpret_cast<const char*>(c.japanese));
            EXPECT_EQ(Shown(c), expected) << c.page << "/" << c.control;
        }
    }
    test::TempGame game;
    test::ScopedScriptedUi ui;
    MainWindow dlg;
};

TEST_F(LanguageTest, TheTableHoldsSixtyFourDistinctControls) {
    std::set<std::pair<int, int>> seen;
    for (const Caption& c : Captions()) EXPECT_TRUE(seen.insert({c.page, c.control}).second);
    EXPECT_EQ(Captions().size(), 64u);
}

TEST_F(LanguageTest, EnglishThenJapaneseRestoresEveryCaption) {
    Start(0);
    ExpectCaptions(0);
    Control<QAction>(&dlg, 32778)->trigger();
    ExpectCaptions(1);
    EXPECT_EQ(TheConfig().language, 1);
    EXPECT_TRUE(Control<QLabel>(dlg.PageAt(0), 1046)->text().isEmpty());
    Control<QAction>(&dlg, 32777)->trigger();
    ExpectCaptions(0);
    EXPECT_EQ(TheConfig().language, 0);
    EXPECT_FALSE(Control<QLabel>(dlg.PageAt(0), 1046)->text().isEmpty());
}

TEST_F(LanguageTest, StartUpAppliesTheConfiguredLanguage) {
    struct Case {
        int stored, shown, saved;
    } cases[] = {{1, 1, 1}, {2, 0, 2}, {-1, 0, -1}, {0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        TheConfig() = ConfigRecord{};
        game.WriteFile("QV5files/Config/config.xml",
                       "<config><system><language>" + std::to_string(c.stored) +
                           "</language></system><player><id>player</id><pass>pass</pass>"
                           "</player><jukebox><path>songs\\</path></jukebox></config>");
        MainWindow window;
        window.InitDialog();
        QObject* owner = window.PageAt(3);
        EXPECT_EQ(Control<QAbstractButton>(owner, 1020)->text(),
                  c.shown == 1 ? QStringLiteral("User font")
                               : QString::fromUtf8(u8"画像フォントを無効にする"));
        ASSERT_EQ(window.ApplySettings(), 1);
        ConfigRecord back;
        LoadConfig(back);
        EXPECT_EQ(back.language, c.saved);
    }
}

TEST_F(LanguageTest, HiddenAndDisabledControlsGetTheirCaptionsToo) {
    Start(1);
    EXPECT_EQ(Control<QAbstractButton>(dlg.PageAt(0), 1016)->text(), "QV4/EM internet ranking");
    EXPECT_EQ(Control<QAbstractButton>(dlg.PageAt(0), 1027)->text(), "Reset database");
    EXPECT_EQ(Control<QAbstractButton>(dlg.PageAt(3), 1033)->text(), "Regist gave up score to IR");
    EXPECT_FALSE(Control<QAbstractButton>(dlg.PageAt(3), 1033)->isEnabled());
}

}  // namespace
}  // namespace qv5
