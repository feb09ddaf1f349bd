#include "window/common/wait_note.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>

#include "platform/process.h"
#include "platform/wine_locale.h"
#include "support/fake_wine.h"
#include "support/scoped_env.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

TEST(WaitNote, NamesTheProgramAndKeepsTheWindowAliveUntilItEnds) {
    test::TempGame game;
    test::FakeWine wine;
    game.WriteFile("QV5body.exe", "x");
    // The fake game runs until the window's own event loop lets it go.
    wine.SetAction("while [ ! -f go ]; do sleep 0.01; done");
    QDialog main_window;
    main_window.show();
    InstallWaitNote(&main_window);
    QString seen;
    bool note_modal = false;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        auto* note = main_window.findChild<QDialog*>(QString::fromLatin1(kWaitNoteName));
        if (!note || !note->isVisible()) return;
        seen = note->findChild<QLabel*>()->text();
        note_modal = note->isModal();
        note->close();  // the user cannot dismiss it
        if (note->isVisible()) game.WriteFile("go", "");
    });
    ticker.start(10);
    ProcessResult r = Processes().Run("QV5body.exe -s", Wait::Yes);
    ticker.stop();
    SetWaitHook({});
    SetNoticeHook({});
    EXPECT_TRUE(r.started) << r.error;
    EXPECT_TRUE(game.Exists("go"));
    EXPECT_TRUE(seen.startsWith(QStringLiteral("QV5body.exe"))) << seen.toStdString();
    EXPECT_TRUE(note_modal);
    EXPECT_EQ(main_window.findChild<QDialog*>(QString::fromLatin1(kWaitNoteName)), nullptr);
}

TEST(WaitNote, AMissingWineLocaleIsShownOnceOverTheWindow) {
    test::TempGame game;
    test::FakeWine wine;
    test::ScopedScriptedUi ui;
    test::ScopedEnv locale("QV5_WINE_LOCALE", "xx_XX.UTF-8");
    game.WriteFile("QV5body.exe", "x");
    QDialog main_window;
    InstallWaitNote(&main_window);
    ui->AnswerMessage(MsgAnswer::Ok);
    EXPECT_TRUE(Processes().Run("QV5body.exe -s", Wait::Yes).started);
    EXPECT_TRUE(Processes().Run("QV5body.exe -s", Wait::Yes).started);
    SetWaitHook({});
    SetNoticeHook({});
    EXPECT_EQ(wine.Runs().size(), 2u);
    ASSERT_EQ(ui->prompts().size(), 1u);
    EXPECT_EQ(ui->prompts()[0].text, MissingWineLocaleNotice("xx_XX.UTF-8"));
    EXPECT_EQ(ui->prompts()[0].owner, &main_window);
}

}  // namespace
}  // namespace qv5
