// What a long job of the window did, said on the window's status line once
// its own closing message (if any) has been shown: "1,842 charts in 103
// folders registered in 0.4 s". Texts are CP932, in the language of UiLanguage.
#pragma once

#include <string>

class QWidget;

namespace qv5 {

enum class LibraryJob { Register, Rescan, Refresh };

std::string LibrarySummary(LibraryJob job, long charts, long folders, double seconds);
std::string InstallSummary(long files, long charts, double seconds);
std::string ConversionSummary(long converted, long kept, double seconds);
// The unit the progress window's count names for each kind of job.
std::string ChartsUnit();
std::string FilesUnit();

// 1842 -> "1,842".
std::string GroupedNumber(long n);
// "1,842譜面" / "1,842 charts", "1 chart"; "3フォルダ" / "3 folders".
std::string ChartCount(long n);
std::string FolderCount(long n);

// Sets the status line of the window `owner` belongs to (the label named
// "jobSummary"); nothing when it has none.
void ShowJobSummary(QWidget* owner, const std::string& cp932_text);

}  // namespace qv5
