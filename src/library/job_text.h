// The words of a long job's summary and of counts: "1,842 charts in 103
// folders registered in 0.4 s". Texts are CP932, in the catalogue's language.
#pragma once

#include <string>

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

}  // namespace qv5
