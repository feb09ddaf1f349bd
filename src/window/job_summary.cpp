#include "window/job_summary.h"

#include <QLabel>
#include <QWidget>
#include <cstdio>

#include "platform/text.h"
#include "platform/ui_service.h"

namespace qv5 {
namespace {

bool English() {
    return UiLanguage() == 1;
}

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

std::string LibrarySummary(LibraryJob job, long charts, long folders, double seconds) {
    const std::string c = GroupedNumber(charts), f = GroupedNumber(folders), s = Seconds(seconds);
    if (English()) {
        const char* done = job == LibraryJob::Register ? "registered"
                           : job == LibraryJob::Rescan ? "rescanned"
                                                       : "refreshed";
        return c + " charts in " + f + " folders " + done + " in " + s + " s";
    }
    const char8_t* done = job == LibraryJob::Register ? u8"秒で登録しました"
                          : job == LibraryJob::Rescan ? u8"秒で再検索しました"
                                                      : u8"秒で更新しました";
    return f + Sj(u8"フォルダの") + c + Sj(u8"譜面を") + s + Sj(done);
}

std::string InstallSummary(long files, long charts, double seconds) {
    const std::string n = GroupedNumber(files), c = GroupedNumber(charts), s = Seconds(seconds);
    if (English()) return n + " files installed (" + c + " charts) in " + s + " s";
    return n + Sj(u8"ファイル(") + c + Sj(u8"譜面)を") + s + Sj(u8"秒でインストールしました");
}

std::string ConversionSummary(long converted, long kept, double seconds) {
    const std::string n = GroupedNumber(converted), k = GroupedNumber(kept), s = Seconds(seconds);
    if (English()) return n + " files converted, " + k + " kept, in " + s + " s";
    return n + Sj(u8"ファイルを変換、") + k + Sj(u8"ファイルはそのまま(") + s + Sj(u8"秒)");
}

std::string ChartsUnit() {
    return English() ? "charts" : Sj(u8"譜面");
}

std::string FilesUnit() {
    return English() ? "files" : Sj(u8"ファイル");
}

void ShowJobSummary(QWidget* owner, const std::string& cp932_text) {
    if (!owner) return;
    if (auto* line = owner->window()->findChild<QLabel*>(QStringLiteral("jobSummary")))
        line->setText(ToQString(cp932_text));
}

}  // namespace qv5
