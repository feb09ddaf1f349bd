#include "window/common/progress_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "platform/text.h"

namespace qv5 {
namespace {

QString Label(const ProgressWindow& w, const char* name) {
    return w.dialog()->findChild<QLabel*>(QString::fromLatin1(name))->text();
}

TEST(ProgressWindow, ShowsCountItemAndStatusAndIsModal) {
    QDialog main_window;
    main_window.show();
    ProgressWindow w(&main_window, "Registering");
    EXPECT_TRUE(w.dialog()->isVisible());
    EXPECT_TRUE(w.dialog()->isModal());
    EXPECT_EQ(w.dialog()->windowTitle(), QStringLiteral("Registering"));
    EXPECT_EQ(Label(w, "elapsed"), QStringLiteral("0:00"));

    // A status line is shown at once, with the item reported just before it.
    w.Update(3, 10, "songs\\" + Sj(u8"曲") + "\\a.bms");
    w.SetStatus("waiting");
    EXPECT_EQ(Label(w, "count"), QStringLiteral("3 / 10"));
    EXPECT_EQ(Label(w, "current"), QString::fromUtf8(u8"songs\\曲\\a.bms"));
    EXPECT_EQ(Label(w, "status"), QStringLiteral("waiting"));

    w.Update(7, -1, "x");
    w.SetStatus("");
    EXPECT_EQ(Label(w, "count"), QStringLiteral("7"));
}

TEST(ProgressWindow, StopButtonCloseAndEscapeAskTheWorkToStop) {
    for (int how = 0; how < 3; ++how) {
        ProgressWindow w(nullptr, "Work");
        EXPECT_FALSE(w.StopRequested());
        if (how == 0) w.dialog()->findChild<QPushButton*>(QStringLiteral("stop"))->click();
        if (how == 1) w.dialog()->close();
        if (how == 2) w.dialog()->reject();
        EXPECT_TRUE(w.StopRequested()) << how;
        // The note stays until the work has actually stopped.
        EXPECT_TRUE(w.dialog()->isVisible()) << how;
    }
}

TEST(ProgressWindow, UpdatesLetQueuedEventsRunSoStopCanBePressedMidWork) {
    ProgressWindow w(nullptr, "Work");
    // A press arriving while the work loops, delivered by the event loop that
    // Update keeps turning.
    QTimer::singleShot(0, w.dialog(), [&] {
        w.dialog()->findChild<QPushButton*>(QStringLiteral("stop"))->click();
    });
    long i = 0;
    while (!w.StopRequested() && i < 100000000) {
        w.Update(i, -1, "item");
        ++i;
    }
    EXPECT_TRUE(w.StopRequested());
}

}  // namespace
}  // namespace qv5

namespace qv5 {
namespace {

// The count names what it counts; a long item loses its middle, keeps its ends.
TEST(ProgressWindow, CountNamesItsUnitAndTheItemIsElidedInTheMiddle) {
    ProgressWindow w(nullptr, "Work");
    w.SetUnit("charts");
    const std::string folder(300, 'f');
    w.Update(12, -1, "songs\\" + folder + "\\last.bms");
    w.SetStatus("");  // shown at once
    EXPECT_EQ(Label(w, "count"), QStringLiteral("12 charts"));
    const QString shown = Label(w, "current");
    EXPECT_TRUE(shown.startsWith(QStringLiteral("songs\\"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("last.bms"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    w.Update(3, 10, "x");
    w.SetStatus("");
    EXPECT_EQ(Label(w, "count"), QStringLiteral("3 / 10 charts"));
}

}  // namespace
}  // namespace qv5
