// Turns directories on disk into folder and song rows.
//
// The steps of the song library's operations (song_library.h), each on the
// library's connection. A failed step stores nothing: its transaction (or,
// inside the caller's transaction, its savepoint) is rolled back and
// `report` says why. Between items each one asks `progress` (may be null)
// whether to stop.
#pragma once

#include <optional>
#include <string>

#include "library/library_report.h"
#include "platform/win_path.h"

namespace qv5 {

class Database;
class Progress;

// Registers a root (a directory, given with its trailing "\", or a
// custom-folder file) in one transaction and scans below it when its row is
// new. A root that does not exist writes nothing and is listed in
// `report.missing`; that is no failure. False when it failed or was stopped
// (nothing written; see `report`).
bool RegisterRootFolder(Database& db, const WinPath& path, Progress* progress,
                        LibraryReport& report);
// Scans a registered directory inside the caller's transaction; the number
// of chart and custom-folder files for which an insert was tried, or nullopt
// when a write failed or the progress asked to stop (the caller must then
// roll back).
std::optional<int> ScanFolder(Database& db, const WinPath& path, const WinPath& parent_path,
                              Progress* progress, LibraryReport& report);
// In a transaction of its own: ScanFolder on the folder containing `path`.
// False when it failed (nothing stored).
bool ScanParentFolder(Database& db, const WinPath& path, Progress* progress, LibraryReport& report);

// Whether the entry `name` of the folder `path` (with its trailing "\")
// has a host path short enough to be used; the scan leaves out the others.
bool FitsHostPath(const std::string& path, const std::string& name);

}  // namespace qv5
