#include "library/rescan.h"

#include "library/chart_marks.h"
#include "library/difficulty.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/transaction.h"

namespace qv5 {

bool RescanLibrary(Database& db, const std::vector<std::string>& roots, Progress* progress,
                   LibraryReport& report) {
    BusyReporting busy(db, progress);
    Transaction tx(db);
    ChartMarks marks;
    if (!tx.ok() || !marks.Read(db, WinPath("")) || !ResetSongLibrary(db))
        return ReportError(report, db.LastError());
    for (const std::string& root : roots) {
        if (!RegisterRootFolder(db, WinPath(root), progress, report)) return false;
    }
    if (!marks.Restore(db)) return ReportError(report, db.LastError());
    if (!AssignFolderDifficulties(db, WinPath(""), progress, report)) return false;
    if (!tx.Commit()) return ReportError(report, db.LastError());
    return true;
}

}  // namespace qv5
