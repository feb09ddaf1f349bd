#include "support/test_library.h"

#include "library/difficulty.h"
#include "library/refresh.h"
#include "library/scanner.h"
#include "player/player_db.h"

namespace qv5 {

SongLibrary& TestLibrary() {
    static SongLibrary library;
    return library;
}

Database& TestDb() {
    return TestLibrary().connection();
}

void OpenTestLibrary(const std::string& player_id) {
    TestLibrary().Open(ExistingPlayerDb(player_id));
}

void CloseTestLibrary() {
    TestLibrary().Close();
}

bool TestRegisterRoot(const std::string& path, Progress* progress, LibraryReport* report) {
    LibraryReport own;
    LibraryReport& r = report ? *report : own;
    const size_t missing = r.missing.size();
    return RegisterRootFolder(TestDb(), WinPath(path), progress, r) && r.missing.size() == missing;
}

bool TestRefresh(const std::string& prefix, Progress* progress, LibraryReport* report) {
    LibraryReport own;
    return RefreshFolder(TestDb(), WinPath(prefix), progress, report ? *report : own);
}

std::optional<int> TestScanFolder(const std::string& path, const std::string& parent_path) {
    LibraryReport report;
    return ScanFolder(TestDb(), WinPath(path), WinPath(parent_path), nullptr, report);
}

bool TestScanParent(const std::string& path) {
    LibraryReport report;
    return ScanParentFolder(TestDb(), WinPath(path), nullptr, report);
}

bool TestMovePaths(const std::string& from, const std::string& to) {
    LibraryReport report;
    return MovePaths(TestDb(), WinPath(from), WinPath(to), nullptr, report);
}

bool TestRemovePaths(const std::string& prefix) {
    LibraryReport report;
    return RemovePaths(TestDb(), WinPath(prefix), report);
}

bool TestAssignDifficulties(const std::string& prefix, LibraryReport* report) {
    LibraryReport own;
    return AssignFolderDifficulties(TestDb(), WinPath(prefix), nullptr, report ? *report : own);
}

}  // namespace qv5
