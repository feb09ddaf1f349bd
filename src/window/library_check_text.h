// The texts of the library check's findings, in the language of the
// window (UiLanguage): for the report window, the saved report and the
// `check` command's plain output.
#pragma once

#include <QString>

#include "library/library_check.h"

namespace qv5 {

// A caption or text of the check (its Japanese source, marked with
// QT_TRANSLATE_NOOP("LibraryCheck", ...)) in the current language.
QString CheckText(const char* japanese);

// "重複した譜面" / "Duplicate charts" and so on.
QString KindTitle(CheckKind kind);
// One line for the finding: its path and what is wrong.
QString FindingText(const CheckFinding& finding);
// The path the person can look for: the host path of a name, else the
// library's path.
QString FindingPath(const CheckFinding& finding);
// "ライブラリの検査: 1,842譜面、103フォルダ" and, when stopped, the line saying so.
QString CheckSummary(const CheckResult& result);
// "cat01\song00050\: 10譜面、300個のファイルがありません".
QString MissingGroupText(const MissingGroup& group);
// The whole report as text: the summary, then each kind (in kReportOrder)
// with its count and its findings one a line; the missing files by folder.
QString ReportText(const CheckResult& result);

}  // namespace qv5
