// Keeping the library in step with the disk: refresh, move and removal of
// everything below a path prefix (matched literally and case-sensitively).
//
// As in scanner.h: steps of the song library's operations, and a failed or
// stopped step stores nothing (see `report`).
#pragma once

#include <string>

#include "library/library_report.h"
#include "platform/win_path.h"

namespace qv5 {

class Database;
class Progress;

// Re-reads changed charts, drops vanished entries, rescans folders, re-runs
// the difficulty pass, all in one transaction; `progress` (may be null) hears
// of charts read. False when it failed or was stopped.
bool RefreshFolder(Database& db, const WinPath& prefix, Progress* progress, LibraryReport& report);
// After a move or rename on disk: rewrites paths and keys below old_prefix,
// asking `progress` (may be null) between rows whether to stop. False when it
// failed (nothing changed).
bool MovePaths(Database& db, const WinPath& old_prefix, const WinPath& new_prefix,
               Progress* progress, LibraryReport& report);
// After a delete on disk: removes song and folder rows below prefix. False
// when it failed (nothing removed).
bool RemovePaths(Database& db, const WinPath& prefix, LibraryReport& report);

}  // namespace qv5
