#include "library/job_text.h"

#include <cstdio>

#include "platform/text.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds < 0 ? 0.0 : seconds);
    return text;
}

}  // namespace

std::string GroupedNumber(long n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, ",");
    return n < 0 ? "-" + digits : digits;
}

namespace {

// The count, its digits grouped (1,842), and its unit; English picks the
// singular or the plural by the count.
int PluralOf(long n) {
    return n == 1 ? 1 : 2;
}

std::string Files(long n) {
    const int plural = PluralOf(n);
    return Arg(Tr("JobSummary", "%1ファイル", nullptr, plural), {GroupedNumber(n)});
}

}  // namespace

std::string ChartCount(long n) {
    return Arg(Tr("JobSummary", "%1譜面", nullptr, PluralOf(n)), {GroupedNumber(n)});
}

std::string FolderCount(long n) {
    return Arg(Tr("JobSummary", "%1フォルダ", nullptr, PluralOf(n)), {GroupedNumber(n)});
}

std::string LibrarySummary(LibraryJob job, long charts, long folders, double seconds) {
    const char* done = job == LibraryJob::Register
                           ? QT_TRANSLATE_NOOP("JobSummary", "%1の%2を%3秒で登録しました")
                       : job == LibraryJob::Rescan
                           ? QT_TRANSLATE_NOOP("JobSummary", "%1の%2を%3秒で再検索しました")
                           : QT_TRANSLATE_NOOP("JobSummary", "%1の%2を%3秒で更新しました");
    return Arg(Tr("JobSummary", done),
               {FolderCount(folders), ChartCount(charts), Seconds(seconds)});
}

std::string InstallSummary(long files, long charts, double seconds) {
    return Arg(Tr("JobSummary", "%1(%2)を%3秒でインストールしました"),
               {Files(files), ChartCount(charts), Seconds(seconds)});
}

std::string ConversionSummary(long converted, long kept, double seconds) {
    return Arg(Tr("JobSummary", "%1を変換、%2はそのまま(%3秒)"),
               {Files(converted), Files(kept), Seconds(seconds)});
}

std::string ChartsUnit() {
    return Tr("JobSummary", "譜面");
}

std::string FilesUnit() {
    return Tr("JobSummary", "ファイル");
}

}  // namespace qv5
