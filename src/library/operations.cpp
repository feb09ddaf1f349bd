#include "library/chart_header.h"
#include "library/chart_marks.h"
#include "library/difficulty.h"
#include "library/refresh.h"
#include "library/rescan.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/test_pause.h"
#include "platform/transaction.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The folder a path lies in, with its trailing "\", by the text alone; empty
// at the top.
std::string FolderAbove(const std::string& path) {
    return WinPath(path).Parent().text();
}

// Commits through the caller's step, or simply. A step that declines keeps
// its reason; a failed commit keeps SQLite's.
bool Commit(Database& db, Transaction& tx, const CommitStep& step, LibraryReport& report) {
    std::string why;
    if (!step) {
        if (tx.Commit()) return true;
        report.error = db.LastError();
        return false;
    }
    bool committed = false;
    if (step(
            [&] {
                committed = tx.Commit();
                if (!committed) why = db.LastError();
                return committed;
            },
            why) &&
        committed)
        return true;
    report.error = why.empty() ? db.LastError() : why;
    return false;
}

// The rows a successful operation leaves below `prefix`.
bool Counted(Database& db, const std::string& prefix, LibraryReport& report) {
    report.charts = CountRowsBelow(db, "song", WinPath(prefix));
    report.folders = CountRowsBelow(db, "folder", WinPath(prefix));
    return true;
}

// When an operation fails without a text of its own, SQLite's is the reason.
bool Failed(Database& db, LibraryReport& report) {
    if (report.error.empty()) report.error = db.LastError();
    return false;
}

// Whether the library has a row of `path` itself, a folder's or a chart's.
bool HasRow(Database& db, const std::string& path) {
    Statement s = db.Prepare(
        "SELECT 1 FROM folder WHERE path = ?1 UNION ALL SELECT 1 FROM song WHERE path = ?1");
    if (!s) return false;
    s.Bind(1, path);
    return s.Step();
}

// A folder made after its song folder was registered has no row yet, nor
// has what lies in it: scanning from `listed` (a folder the library lists)
// gives it and each unlisted folder between its row and parent, as a fresh
// registration would, and the difficulty pass ranks what came in.
bool ScanFromListed(Database& db, const std::string& listed, Progress* progress,
                    LibraryReport& report) {
    return ScanFolder(db, WinPath(listed), WinPath(listed), progress, report) &&
           AssignFolderDifficulties(db, WinPath(listed), progress, report);
}

}  // namespace

std::string NearestListedFolder(Database& db, const WinPath& path_path) {
    const std::string& path = path_path.text();
    Statement listed = db.Prepare("SELECT 1 FROM folder WHERE path = ?1");
    if (!listed) return path;
    for (std::string dir = path; !dir.empty(); dir = FolderAbove(dir)) {
        listed.Bind(1, dir);
        const bool found = listed.Step();
        listed.Reset();
        if (found) return dir;
    }
    return path;
}

bool SongLibrary::AddSongFolder(const WinPath& root_path, Progress* progress, LibraryReport& report,
                                const CommitStep& step) {
    const std::string& root = root_path.text();
    Database& db = db_;
    BusyReporting busy(db, progress);
    Transaction tx(db);
    if (!tx.ok()) return Failed(db, report);
    if (!RegisterRootFolder(db, root_path, progress, report) ||
        !AssignFolderDifficulties(db, root_path, progress, report))
        return Failed(db, report);
    return Commit(db, tx, step, report) && Counted(db, root, report);
}

// The rows go by prefix, then what another song folder covers comes back:
// a song folder inside this one is registered again (a root of its own), and
// when this one lies inside another, the nearest folder above it that stays
// listed is scanned, which adds this folder again as that one's sub-folder.
bool SongLibrary::ExcludeSongFolder(const WinPath& root_path,
                                    const std::vector<std::string>& others, Progress* progress,
                                    LibraryReport& report, const CommitStep& step) {
    const std::string& root = root_path.text();
    Database& db = db_;
    BusyReporting busy(db, progress);
    Transaction tx(db);
    ChartMarks marks;  // for the rows that come back
    if (!tx.ok() || !marks.Read(db, root_path) || !RemovePaths(db, root_path, report))
        return Failed(db, report);
    std::string outer;  // the song folder nearest above it that stays
    for (const std::string& other : others) {
        if (StartsWith(other, root)) {
            if (!RegisterRootFolder(db, WinPath(other), progress, report) ||
                !AssignFolderDifficulties(db, WinPath(other), progress, report))
                return Failed(db, report);
        } else if (StartsWith(root, other) && other.size() > outer.size()) {
            outer = other;
        }
    }
    if (!outer.empty()) {
        const std::string above = qv5::NearestListedFolder(db, WinPath(FolderAbove(root)));
        if (StartsWith(above, outer) && !ScanFromListed(db, above, progress, report))
            return Failed(db, report);
    }
    if (!marks.Restore(db)) return Failed(db, report);
    return Commit(db, tx, step, report) && Counted(db, root, report);
}

// A path the library has no row of (a folder made or renamed on disk since,
// or a chart put into one) lies below no row that the refresh would select:
// its rows come first from the nearest listed folder above, as an install
// into it gets them. Outside every listed folder nothing is scanned.
bool SongLibrary::RefreshSongFolder(const WinPath& path_path, Progress* progress,
                                    LibraryReport& report) {
    const std::string& path = path_path.text();
    Database& db = db_;
    BusyReporting busy(db, progress);
    Transaction tx(db);
    if (!tx.ok()) return Failed(db, report);
    // A path new to the library is read whole by the scan from the folder
    // above it: refreshing it after would read the same files again.
    bool scanned = false;
    if (!HasRow(db, path)) {
        const std::string listed = qv5::NearestListedFolder(db, path_path);
        if (listed != path && !ScanFromListed(db, listed, progress, report))
            return Failed(db, report);
        scanned = listed != path && HasRow(db, path);
    }
    if ((!scanned && !RefreshFolder(db, path_path, progress, report)) || !tx.Commit())
        return Failed(db, report);
    return Counted(db, path, report);
}

bool SongLibrary::RescanSongFolders(const RootSource& roots, Progress* progress,
                                    LibraryReport& report) {
    Database& db = db_;
    BusyReporting busy(db, progress);
    Transaction tx(db);
    if (!tx.ok()) return Failed(db, report);
    std::vector<std::string> list;
    if (!roots(list, report.error)) return Failed(db, report);
    if (!RescanLibrary(db, list, progress, report)) return Failed(db, report);
    if (!tx.Commit()) return Failed(db, report);
    return Counted(db, "", report);
}

bool SongLibrary::RescanSongFolders(const std::vector<std::string>& roots, Progress* progress,
                                    LibraryReport& report) {
    return RescanSongFolders(
        [&](std::vector<std::string>& list, std::string&) {
            list = roots;
            return true;
        },
        progress, report);
}

bool SongLibrary::MoveSongPaths(const WinPath& from, const WinPath& to_path, Progress* progress,
                                LibraryReport& report) {
    const std::string& to = to_path.text();
    Database& db = db_;
    return (MovePaths(db, from, to_path, progress, report) || Failed(db, report)) &&
           Counted(db, to, report);
}

// The scan of the destination (from the nearest listed folder at or above
// it) descends only into folders it inserts; the refresh of the new folder
// registers what an update added to a folder the library knew already.
bool SongLibrary::RegisterInstalled(const WinPath& dest, const WinPath& new_folder_path,
                                    Progress* progress, LibraryReport& report) {
    const std::string& new_folder = new_folder_path.text();
    Database& db = db_;
    BusyReporting busy(db, progress);
    Transaction tx(db);
    if (!tx.ok()) return Failed(db, report);
    if (!ScanFromListed(db, qv5::NearestListedFolder(db, dest), progress, report))
        return Failed(db, report);
    PauseAt("register-scanned");
    if (!RefreshFolder(db, new_folder_path, progress, report) || !tx.Commit())
        return Failed(db, report);
    return Counted(db, new_folder, report);
}

bool SongLibrary::ForgetTakenBack(const std::vector<std::string>& paths, Progress* progress,
                                  LibraryReport& report) {
    Database& db = db_;
    BusyReporting busy(db, progress);
    Transaction tx(db);
    if (!tx.ok()) return Failed(db, report);
    Statement chart = db.Prepare("DELETE FROM song WHERE path = ?1");
    if (!chart) return Failed(db, report);
    for (const std::string& path : paths) {
        if (PathExists(path)) continue;
        if (WinPath(path).IsFolderForm()) {
            if (!RemovePaths(db, WinPath(path), report)) return Failed(db, report);
            continue;
        }
        chart.Bind(1, path);
        const bool removed = chart.Run();
        chart.Reset();
        if (!removed) return Failed(db, report);
    }
    if (!tx.Commit()) return Failed(db, report);
    return true;
}

bool SongLibrary::ScanNewEntry(const WinPath& path, Progress* progress, LibraryReport& report) {
    return ScanParentFolder(db_, path, progress, report) || Failed(db_, report);
}

bool SongLibrary::RemoveSongPaths(const WinPath& prefix, LibraryReport& report) {
    return RemovePaths(db_, prefix, report) || Failed(db_, report);
}

}  // namespace qv5
