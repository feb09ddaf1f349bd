// The song library of a test, opened in the temporary game folder, and the
// library's steps run on it as the tests call them.
#pragma once

#include <optional>
#include <string>

#include "library/library_report.h"
#include "library/song_library.h"

namespace qv5 {

class Progress;

// One library for the test that runs; OpenTestLibrary opens it for the
// player (an ID without a database: no scores), CloseTestLibrary closes it.
SongLibrary& TestLibrary();
Database& TestDb();
void OpenTestLibrary(const std::string& player_id);
void CloseTestLibrary();

// The scanner's and the refresh's steps on the test's library. True when
// stored; a root that does not exist is no registration here.
bool TestRegisterRoot(const std::string& path, Progress* progress = nullptr,
                      LibraryReport* report = nullptr);
bool TestRefresh(const std::string& prefix, Progress* progress = nullptr,
                 LibraryReport* report = nullptr);
std::optional<int> TestScanFolder(const std::string& path, const std::string& parent_path);
bool TestScanParent(const std::string& path);
bool TestMovePaths(const std::string& from, const std::string& to);
bool TestRemovePaths(const std::string& prefix);
bool TestAssignDifficulties(const std::string& prefix, LibraryReport* report = nullptr);

}  // namespace qv5
