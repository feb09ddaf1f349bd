// Difficulty inference: title words, bracketed subtitles, file names and the
// folder pass by note count. Also the export title of a chart.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "library/library_report.h"
#include "platform/win_path.h"

namespace qv5 {

class Database;
class Progress;

// The header matching rule: `line` begins with `command` (any case) and is
// longer than it.
bool CarriesCommand(std::string_view line, std::string_view command);

// For "#TITLE" and "#GENRE" lines (trimmed). False when the line does not
// carry the keyword; then nothing changes.
bool TitleDifficulty(std::string_view line, std::string_view keyword, std::string& title,
                     std::string& subtitle, std::int32_t& difficulty);
void FileNameDifficulty(std::string_view path, std::int32_t& difficulty);
// Ranks the charts below `prefix` whose difficulty is unknown, per folder and
// key mode by note count, in one transaction (a savepoint inside the
// caller's), asking `progress` (may be null) between rows whether to stop.
// False when a statement failed or it was stopped: nothing changed then, and
// `report` says why.
bool AssignFolderDifficulties(Database& db, const WinPath& prefix, Progress* progress,
                              LibraryReport& report);

// Replaces characters a file name cannot hold by their full-width forms;
// true when nothing had to be replaced.
bool SafeFileName(std::string& text);
std::string MakeExportTitle(std::string title, std::string subtitle, std::string artist,
                            std::string subartist, bool keep_subtitle);

}  // namespace qv5
