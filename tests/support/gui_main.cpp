// Test entry for tests that need a QApplication (run offscreen).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/translation.h"

namespace {

// A test that chose English leaves the next one in Japanese, the language
// every test starts in.
class BackToJapanese : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override { qv5::UseLanguage(0); }
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // A start without config.xml speaks the desktop's language: every test
    // starts on a Japanese desktop, whatever the locale it was run from (a
    // test of another desktop sets its own). Set once the application has
    // taken its locale, so that the system's texts (strerror) stay as they were.
    if (const char* all = getenv("LC_ALL"); all && *all) {
        setenv("LANG", all, 0);
        unsetenv("LC_ALL");
    }
    setenv("LC_MESSAGES", "ja_JP.UTF-8", 1);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new BackToJapanese);
    return RUN_ALL_TESTS();
}
