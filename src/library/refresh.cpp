#include "library/refresh.h"

#include <sqlite3.h>

#include <optional>
#include <utility>
#include <vector>

#include "library/chart_header.h"
#include "library/chart_names.h"
#include "library/difficulty.h"
#include "library/encodings.h"
#include "library/file_lookups.h"
#include "library/scanner.h"
#include "library/scanner_internal.h"
#include "library/song_library.h"
#include "platform/file_identity.h"
#include "platform/progress.h"
#include "platform/transaction.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

constexpr int kDone = SQLITE_DONE;
// Chart rows handed to the workers at once, each batch timed by one of them.
constexpr size_t kSongBatch = 256;

// Library time of a path's last write; -1 when it cannot be looked up.
std::int32_t TimeOf(const std::string& path) {
    auto t = WriteTime(path);
    return t ? LibraryTime(*t) : -1;
}

Statement SelectBelow(Database& db, const std::string& columns, const char* table,
                      const std::string& prefix) {
    Statement s =
        db.Prepare("SELECT " + columns + " FROM " + table + " WHERE " + PrefixCondition(1));
    if (s) BindPrefix(s, 1, prefix);
    return s;
}

// The refresh's own statements, prepared once for all its loop passes.
struct RefreshStatements {
    explicit RefreshStatements(Database& db)
        : delete_song(db.Prepare("DELETE FROM song WHERE path = ?1")),
          delete_folder(db.Prepare("DELETE FROM folder WHERE path = ?1")),
          update_folder(db.Prepare(
              "UPDATE folder SET date = ?1 , adddate = ?2 , title = ?3 WHERE path = ?4")) {}
    bool ok() const { return delete_song && delete_folder && update_folder; }
    Statement delete_song, delete_folder, update_folder;
};

}  // namespace

// One transaction:
//   1. songs below the prefix: decide first, change afterwards, so the
//      selection never sees its own changes; vanished rows are deleted,
//      changed charts deleted and read again;
//   2. folders below the prefix: vanished rows deleted, the others get the
//      directory's time, now and its name, then are scanned for new entries
//      (a song folder's own level too);
//   3. the difficulty pass over the prefix.
// A failed statement, a failed commit or a stop request rolls all back.
bool RefreshFolder(Database& db, const WinPath& prefix_path, Progress* progress,
                   LibraryReport& report) {
    const std::string& prefix = prefix_path.text();
    BusyReporting busy(db, progress);
    Transaction tx(db);
    if (!tx.ok()) return ReportError(report, db.LastError());
    const std::int32_t now = LibraryTimeNow();
    RefreshStatements st(db);
    Scanner scanner(db, progress);
    if (!st.ok() || !scanner.ok())
        return scanner.ok() ? ReportError(report, db.LastError()) : scanner.Finish(report, false);
    auto failed = [&] { return ReportError(report, db.LastError()); };

    // Every row below the prefix, so that the folder scans below ask these
    // sets rather than the database whether an entry is registered.
    PathSet songs, folder_paths;
    scanner.KnowRows(&songs, &folder_paths);
    // A snapshot of the folder rows, taken before any is changed (the song
    // pass changes song rows only): the rows that the scans below add are
    // not in it, so a sub-folder new to the library keeps the title its
    // folderinfo.txt gave it until the next refresh, and is not scanned twice.
    std::vector<FolderRow> folders;
    {
        Statement rows = SelectBelow(db, "path,parent", "folder", prefix);
        while (rows.Step()) folders.push_back({rows.Text(0), rows.Text(1)});
        if (!rows || rows.Failed()) return failed();
    }
    // Charts are timed and folders listed on worker threads from here on,
    // while this thread reads and writes the library.
    const unsigned workers = ChartReadWorkers();
    FileLookups lookups(folders, kRootKey, workers > 1 ? workers - 1 : 1);

    std::vector<std::string> vanished;
    std::vector<std::pair<std::string, std::int32_t>> changed;
    // The difficulty pass changes only rows without a difficulty in 0-5:
    // when no row kept, re-read or added has none, it is skipped.
    bool unknown_difficulty = false;
    {
        std::vector<SongRow> batch;
        Statement select = SelectBelow(db, "path,adddate,difficulty", "song", prefix);
        while (select.Step()) {
            batch.push_back({select.Text(0), select.Int(1), select.Int(2), {}});
            if (batch.size() == kSongBatch) lookups.AddSongs(std::exchange(batch, {}));
        }
        if (!select || select.Failed()) return failed();
        lookups.AddSongs(std::move(batch));
    }
    for (std::vector<SongRow>& batch : lookups.TimedSongs()) {
        for (SongRow& r : batch) {
            if (!r.time) {
                vanished.push_back(std::move(r.path));
                continue;
            }
            const std::int32_t date = LibraryTime(*r.time);
            if (r.adddate < date) {
                changed.emplace_back(r.path, date);
            } else if (r.difficulty < 0 || r.difficulty > 5) {
                unknown_difficulty = true;
            }
            songs.Insert(std::move(r.path));
        }
        std::vector<SongRow>().swap(batch);
    }
    for (const std::string& path : vanished)
        if (st.delete_song.ExecuteRow(path) != kDone) return failed();
    // Changed charts: every old row goes first, so the readers get the
    // whole list at once; the new rows still go in in the list's order, each
    // above every row there is, as when each is deleted just before it.
    for (const auto& [path, date] : changed)
        if (st.delete_song.ExecuteRow(path) != kDone) return failed();
    for (const auto& [path, date] : changed) {
        if (scanner.CheckStop()) return scanner.Finish(report, false);
        scanner.ReadAndInsert(path, date, now);
        if (!scanner.ok()) return scanner.Finish(report, false);
    }
    // The re-read charts are stored as the folder pass goes, before any
    // chart it finds: the same rows in the same order as storing them here.
    scanner.FlushLater();

    folder_paths.Reserve(folders.size());
    for (const FolderRow& f : folders) folder_paths.Insert(f.path);
    for (size_t i = 0; i < folders.size(); ++i) {
        const FolderRow& f = folders[i];
        if (scanner.CheckStop()) return scanner.Finish(report, false);
        const FolderListing& l = lookups.Folder(i);
        const std::optional<FileTime> time = l.listed ? l.time : WriteTime(f.path);
        if (!time) {
            if (st.delete_folder.ExecuteRow(f.path) != kDone) return failed();
            folder_paths.Erase(f.path);
            continue;
        }
        // A custom-folder file's row is what the file says, read again
        // whatever its time (a rewrite within the second of the last read
        // keeps the time): its title is its #TITLE, never its name.
        if (IsCustomFolderName(f.path)) {
            ChartRecord r;
            ReadChartHeader(r, f.path);
            if (st.delete_folder.ExecuteRow(f.path) != kDone) return failed();
            scanner.InsertInfoFolder(f.path, r, f.parent, LibraryTime(*time),
                                     f.parent == kRootKey ? RootCustomFolderKind(r) : 2, now);
            if (!scanner.ok()) return scanner.Finish(report, false);
            continue;
        }
        // The name as the file system spells it.
        if (st.update_folder.ExecuteRow(LibraryTime(*time), now, WinPath(f.path).LastName(),
                                        f.path) != kDone)
            return failed();
        // A song folder's own level is scanned as any other folder's: a
        // chart put directly into it is added.
        scanner.Scan(f.path, f.path, l.listed ? &l.entries : nullptr);
        if (!scanner.ok()) return scanner.Finish(report, false);
    }
    if (!scanner.Flush()) return scanner.Finish(report, false);
    unknown_difficulty = unknown_difficulty || scanner.inserted_unknown_difficulty();
    if (unknown_difficulty && !AssignFolderDifficulties(db, prefix_path, progress, report))
        return false;
    if (!tx.Commit()) return failed();
    return scanner.Finish(report, true);
}

// Song rows first, then folder rows, each selected before any is changed;
// keys and dates come from the entries at their new place. All of it in one
// transaction (a savepoint inside the caller's).
bool MovePaths(Database& db, const WinPath& old_prefix_path, const WinPath& new_prefix_path,
               Progress* progress, LibraryReport& report) {
    const std::string& old_prefix = old_prefix_path.text();
    const std::string& new_prefix = new_prefix_path.text();
    BusyReporting busy(db, progress);
    Transaction tx(db);
    auto failed = [&] { return ReportError(report, db.LastError()); };
    if (!tx.ok()) return failed();
    const std::int32_t now = LibraryTimeNow();
    auto renamed = [&](const std::string& p) { return new_prefix + p.substr(old_prefix.size()); };

    std::vector<std::string> songs;
    {
        Statement rows = SelectBelow(db, "path", "song", old_prefix);
        while (rows.Step()) songs.push_back(rows.Text(0));
        if (!rows || rows.Failed()) return failed();
    }
    Statement song = db.Prepare(
        "UPDATE song SET path=?1 , parent=?2 , folder=?3 , adddate=?4 ,date=?5 WHERE path=?6");
    auto stopped = [&](long done, const std::string& item) {
        if (!progress) return false;
        progress->Update(done, -1, item);
        if (!progress->StopRequested()) return false;
        report.stopped = true;
        report.error = "stopped by the user; nothing was stored";
        return true;
    };
    long done = 0;
    for (const std::string& p : songs) {
        if (stopped(done++, p)) return false;
        const std::string n = renamed(p);
        const std::string dir = ParentPath(n);
        if (song.ExecuteRow(n, PathKey(ParentPath(dir)), PathKey(dir), now, TimeOf(n), p) != kDone)
            return failed();
    }

    std::vector<FolderRow> folders;
    {
        Statement rows = SelectBelow(db, "path,parent", "folder", old_prefix);
        while (rows.Step()) folders.push_back({rows.Text(0), rows.Text(1)});
        if (!rows || rows.Failed()) return failed();
    }
    Statement folder =
        db.Prepare("UPDATE folder SET path=?1 , parent=?2 , date=?3 , adddate=?4 WHERE path=?5");
    for (const FolderRow& f : folders) {
        if (stopped(done, f.path)) return false;
        const std::string n = renamed(f.path);
        const std::string parent = f.parent == kRootKey ? f.parent : PathKey(ParentPath(n));
        if (folder.ExecuteRow(n, parent, TimeOf(n), now, f.path) != kDone) return failed();
    }
    return tx.Commit() || failed();
}

bool RemovePaths(Database& db, const WinPath& prefix_path, LibraryReport& report) {
    const std::string& prefix = prefix_path.text();
    Transaction tx(db);
    if (!tx.ok()) return ReportError(report, db.LastError());
    for (const char* table : {"song", "folder"}) {
        Statement s =
            db.Prepare(std::string("DELETE FROM ") + table + " WHERE " + PrefixCondition(1));
        if (!s) return ReportError(report, db.LastError());
        BindPrefix(s, 1, prefix);
        if (!s.Run()) return ReportError(report, db.LastError());
    }
    if (!tx.Commit()) return ReportError(report, db.LastError());
    return true;
}

}  // namespace qv5
