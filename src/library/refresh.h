// Keeping the library in step with the disk: refresh, move and removal of
// everything below a path prefix (matched literally and case-sensitively).
//
// As in scanner.h, each operation has a form on a given connection and a
// thin entry point on the program's song library, and a failed or stopped
// operation stores nothing (see `report`, which may be null).
#pragma once

#include <string>

#include "library/library_report.h"

namespace qv5 {

class Database;
class Progress;

// Re-reads changed charts, drops vanished entries, rescans folders, re-runs
// the difficulty pass, all in one transaction; `progress` (may be null) hears
// of charts read. 1 when stored, 0 when it failed or was stopped.
int RefreshFolder(Database& db, const std::string& prefix, Progress* progress,
                  LibraryReport* report);
int RefreshFolder(const std::string& prefix, Progress* progress = nullptr,
                  LibraryReport* report = nullptr);
// After a move or rename on disk: rewrites paths and keys below old_prefix.
// False when it failed (nothing changed).
bool MovePaths(Database& db, const std::string& old_prefix, const std::string& new_prefix,
               LibraryReport* report);
// As above, asking `progress` (may be null) between rows whether to stop.
bool MovePaths(Database& db, const std::string& old_prefix, const std::string& new_prefix,
               Progress* progress, LibraryReport* report);
bool MovePaths(const std::string& old_prefix, const std::string& new_prefix,
               LibraryReport* report = nullptr);
// After a delete on disk: removes song and folder rows below prefix. 1, or 0
// when it failed (nothing removed).
int RemovePaths(Database& db, const std::string& prefix, LibraryReport* report);
int RemovePaths(const std::string& prefix, LibraryReport* report = nullptr);

}  // namespace qv5
