// The texts of the library check's findings in the catalogue's language, for
// the report window, the saved report and the `check` command's output.
// UTF-8, not CP932: the findings name what Shift-JIS cannot hold (host
// names without a Shift-JIS form).
#pragma once

#include <string>

#include "library/library_check.h"

namespace qv5 {

// A caption or text of the check (its Japanese source, marked with
// QT_TRANSLATE_NOOP("LibraryCheck", ...)) in the current language, UTF-8.
std::string CheckText(const char* japanese);

// "重複した譜面" / "Duplicate charts" and so on.
std::string KindTitle(CheckKind kind);
// How a caller shows a library path (CP932) to the person, as UTF-8; null:
// as the library holds it.
using PathShown = std::string (*)(const std::string& cp932);
// One line for the finding: its path and what is wrong.
std::string FindingText(const CheckFinding& finding, PathShown shown = nullptr);
// The path the person can look for: the host path of a name, else the
// library's path.
std::string FindingPath(const CheckFinding& finding, PathShown shown = nullptr);
// "%1（%2バイト）" for one file of a duplicate.
std::string DuplicateFileText(const CheckFile& file, PathShown shown = nullptr);
// "ライブラリの検査: 1,842譜面、103フォルダ" and, when stopped, the line saying so.
std::string CheckSummary(const CheckResult& result);
// "cat01\song00050\: 10譜面、300個のファイルがありません".
std::string MissingGroupText(const MissingGroup& group);
// The whole report as text: the summary, then each kind (in kReportOrder)
// with its count and its findings one a line; the missing files by folder.
std::string ReportText(const CheckResult& result);

}  // namespace qv5
