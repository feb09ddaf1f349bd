// Turns directories on disk into folder and song rows.
//
// Every operation has two forms: one on a connection it is given, and a thin
// entry point of the same name on the program's song library. A failed
// operation stores nothing: its transaction (or, inside the caller's
// transaction, its savepoint) is rolled back and `report` (may be null) says
// why. Between items each one asks `progress` (may be null) whether to stop.
#pragma once

#include <string>

#include "library/library_report.h"

namespace qv5 {

class Database;
class Progress;

// Registers a root (a directory, given with its trailing "\", or a
// custom-folder file) in one transaction and scans below it when its row is
// new. 1 when stored, -1 when the path does not exist (nothing written), 0
// when it failed or was stopped (nothing written; see `report`).
int RegisterRootFolder(Database& db, const std::string& path, Progress* progress,
                       LibraryReport* report);
int RegisterRootFolder(const std::string& path, Progress* progress = nullptr,
                       LibraryReport* report = nullptr);
// Scans a registered directory inside the caller's transaction; returns the
// number of chart and custom-folder files for which an insert was tried, or
// -1 when a write failed or the progress asked to stop (the caller must then
// roll back).
int ScanFolder(Database& db, const std::string& path, const std::string& parent_path,
               Progress* progress, LibraryReport* report);
int ScanFolder(const std::string& path, const std::string& parent_path,
               Progress* progress = nullptr, LibraryReport* report = nullptr);
// In a transaction of its own: ScanFolder on the folder containing `path`.
// False when it failed (nothing stored).
bool ScanParentFolder(Database& db, const std::string& path, Progress* progress,
                      LibraryReport* report);
bool ScanParentFolder(const std::string& path, Progress* progress = nullptr,
                      LibraryReport* report = nullptr);

// Whether the entry `name` of the folder `path` (with its trailing "\")
// has a host path short enough to be used; the scan leaves out the others.
bool FitsHostPath(const std::string& path, const std::string& name);

}  // namespace qv5
