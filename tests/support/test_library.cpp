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
    return RegisterRootFolder(TestDb(), path, progress, r) && r.missing.size() == missing;
}

bool TestRefresh(const std::string& prefix, Progress* progress, LibraryReport* report) {
    LibraryReport own;
    return RefreshFolder(TestDb(), prefix, progress, report ? *report : own);
}

std::optional<int> TestScanFolder(const std::string& path, const std::string& parent_path) {
    LibraryReport report;
    return ScanFolder(TestDb(), path, parent_path, nullptr, report);
}

bool TestScanParent(const std::string& path) {
    LibraryReport report;
    return ScanParentFolder(TestDb(), path, nullptr, report);
}

bool TestMovePaths(const std::string& from, const std::string& to) {
    LibraryReport report;
    return MovePaths(TestDb(), from, to, nullptr, report);
}

bool TestRemovePaths(const std::string& prefix) {
    LibraryReport report;
    return RemovePaths(TestDb(), prefix, report);
}

bool TestAssignDifficulties(const std::string& prefix, LibraryReport* report) {
    LibraryReport own;
    return AssignFolderDifficulties(TestDb(), prefix, nullptr, report ? *report : own);
}

}  // namespace qv5
