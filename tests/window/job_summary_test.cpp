#include "window/common/job_summary.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QWidget>

#include "platform/text.h"
#include "platform/ui_service.h"
#include "support/both_languages.h"

namespace qv5 {
namespace {

// Every summary in both languages.
TEST(JobSummary, TextsInBothLanguages) {
    test::ExpectInBothLanguages([](const test::AddText& add) {
        add(LibrarySummary(LibraryJob::Register, 1842, 103, 0.42),
            "1,842 charts in 103 folders registered in 0.4 s",
            "103フォルダの1,842譜面を0.4秒で登録しました");
        add(LibrarySummary(LibraryJob::Rescan, 5, 1, 12.0),
            "5 charts in 1 folder rescanned in 12.0 s", "1フォルダの5譜面を12.0秒で再検索しました");
        add(LibrarySummary(LibraryJob::Refresh, 1234567, 0, 0),
            "1,234,567 charts in 0 folders refreshed in 0.0 s",
            "0フォルダの1,234,567譜面を0.0秒で更新しました");
        add(InstallSummary(12, 3, 1.25), "12 files installed (3 charts) in 1.2 s",
            "12ファイル(3譜面)を1.2秒でインストールしました");
        add(ConversionSummary(5, 0, 2.0), "5 files converted, 0 files kept, in 2.0 s",
            "5ファイルを変換、0ファイルはそのまま(2.0秒)");
        add(InstallSummary(1, 1, 0.5), "1 file installed (1 chart) in 0.5 s",
            "1ファイル(1譜面)を0.5秒でインストールしました");
        add(ChartsUnit(), "charts", "譜面");
        add(FilesUnit(), "files", "ファイル");
    });
}

TEST(JobSummary, GoesToTheStatusLineOfTheOwnersWindow) {
    QWidget window;
    auto* line = new QLabel(&window);
    line->setObjectName("jobSummary");
    auto* page = new QWidget(&window);
    ShowJobSummary(page, Sj(u8"終了"));
    EXPECT_EQ(line->text(), QString::fromUtf8(u8"終了"));
    ShowJobSummary(nullptr, "ignored");
    EXPECT_EQ(line->text(), QString::fromUtf8(u8"終了"));
}

}  // namespace
}  // namespace qv5
