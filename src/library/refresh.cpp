#include "library/refresh.h"

#include <vector>

#include "library/chart_header.h"
#include "library/difficulty.h"
#include "library/encodings.h"
#include "library/scanner.h"
#include "library/scanner_internal.h"
#include "library/song_library.h"

namespace qv5 {
namespace {

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

void DeleteByPath(Database& db, const char* table, const std::string& path) {
    Statement s = db.Prepare(std::string("DELETE FROM ") + table + " WHERE path = ?1");
    s.Bind(1, path);
    s.Run();
}

}  // namespace

int RefreshFolder(const std::string& prefix, Progress* progress) {
    Database& db = SongLibrary();
    db.Exec("BEGIN");
    const std::int32_t now = LibraryTimeNow();

    // Songs: decide first, change afterwards, so the selection never sees
    // its own changes. Only vanished and changed charts are remembered.
    std::vector<std::string> vanished;
    std::vector<std::pair<std::string, std::int32_t>> changed;
    {
        Statement rows = SelectBelow(db, "path,adddate", "song", prefix);
        while (rows.Step()) {
            std::string path = rows.Text(0);
            const std::int32_t adddate = rows.Int(1);
            auto t = WriteTime(path);
            if (!t) {
                vanished.push_back(std::move(path));
                continue;
            }
            const std::int32_t date = LibraryTime(*t);
            if (adddate < date) changed.emplace_back(std::move(path), date);
        }
    }
    for (const std::string& path : vanished) DeleteByPath(db, "song", path);
    Scanner scanner(db, progress);  // one set of prepared statements for the whole refresh
    {
        for (const auto& [path, date] : changed) {
            DeleteByPath(db, "song", path);
            ChartRecord r;
            ReadChartHeader(r, path);
            scanner.InsertChart(path, r, date, now);
        }
    }

    // Folders.
    struct FolderRow {
        std::string path, parent;
    };
    std::vector<FolderRow> folders;
    {
        Statement rows = SelectBelow(db, "path,parent", "folder", prefix);
        while (rows.Step()) folders.push_back({rows.Text(0), rows.Text(1)});
    }
    Statement update =
        db.Prepare("UPDATE folder SET date = ?1 , adddate = ?2 , title = ?3 WHERE path = ?4");
    for (const FolderRow& f : folders) {
        const auto time = WriteTime(f.path);  // existence and time in one look
        if (!time) {
            DeleteByPath(db, "folder", f.path);
            continue;
        }
        update.Bind(1, std::int64_t{LibraryTime(*time)});
        update.Bind(2, std::int64_t{now});
        update.Bind(3, LastPathName(f.path));  // the name as the file system spells it
        update.Bind(4, f.path);
        update.Run();
        if (f.parent == kRootKey) {
            db.Exec("COMMIT");
            RegisterRootFolder(f.path, progress);
            db.Exec("BEGIN");
        } else {
            scanner.Scan(f.path, f.path);
        }
    }
    AssignFolderDifficulties(prefix);
    db.Exec("COMMIT");
    return 1;
}

void MovePaths(const std::string& old_prefix, const std::string& new_prefix) {
    Database& db = SongLibrary();
    const std::int32_t now = LibraryTimeNow();
    auto renamed = [&](const std::string& p) { return new_prefix + p.substr(old_prefix.size()); };

    std::vector<std::string> songs;
    {
        Statement rows = SelectBelow(db, "path", "song", old_prefix);
        while (rows.Step()) songs.push_back(rows.Text(0));
    }
    Statement song = db.Prepare(
        "UPDATE song SET path=?1 , parent=?2 , folder=?3 , adddate=?4 ,date=?5 WHERE path=?6");
    for (const std::string& p : songs) {
        const std::string n = renamed(p);
        const std::string dir = ParentPath(n);
        song.Bind(1, n);
        song.Bind(2, PathKey(ParentPath(dir)));
        song.Bind(3, PathKey(dir));
        song.Bind(4, std::int64_t{now});
        song.Bind(5, std::int64_t{TimeOf(n)});
        song.Bind(6, p);
        song.Run();
    }

    std::vector<std::pair<std::string, std::string>> folders;
    {
        Statement rows = SelectBelow(db, "path,parent", "folder", old_prefix);
        while (rows.Step()) folders.emplace_back(rows.Text(0), rows.Text(1));
    }
    Statement folder =
        db.Prepare("UPDATE folder SET path=?1 , parent=?2 , date=?3 , adddate=?4 WHERE path=?5");
    for (const auto& [p, parent] : folders) {
        const std::string n = renamed(p);
        folder.Bind(1, n);
        folder.Bind(2, parent == kRootKey ? parent : PathKey(ParentPath(n)));
        folder.Bind(3, std::int64_t{TimeOf(n)});
        folder.Bind(4, std::int64_t{now});
        folder.Bind(5, p);
        folder.Run();
    }
}

int RemovePaths(const std::string& prefix) {
    Database& db = SongLibrary();
    for (const char* table : {"song", "folder"}) {
        Statement s =
            db.Prepare(std::string("DELETE FROM ") + table + " WHERE " + PrefixCondition(1));
        if (!s) continue;
        BindPrefix(s, 1, prefix);
        s.Run();
    }
    return 1;
}

}  // namespace qv5
