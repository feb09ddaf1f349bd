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
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new BackToJapanese);
    return RUN_ALL_TESTS();
}
