#include "tables/table_jobs.h"

#include "browser/root_registration.h"
#include "config/config_file.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "tables/level_folders.h"

namespace qv5 {
namespace {

// Brings song.db up to date with the table's level folder, written or
// removed just before, in one library operation: the registration of the
// level folders' song folder when this run made it (as add-root registers
// one), else the refresh of the table's folder. Once the player has taken
// the song folder out of the list, the files are written and nothing is
// registered; a song folder of the list that holds it is refreshed.
bool RegisterLevelFolder(const WinPath& folder, bool new_root, SongLibrary* given,
                         Progress& progress, TableJobResult& result) {
    if (!given && !IsDirectory("QV5files\\Database"))
        return true;  // no library to bring up to date
    ConfigRecord config;
    if (LoadConfig(config) == ConfigState::Unreadable) {
        result.error =
            Arg(Tr("Tables", "%1 を読めないので、レベルフォルダを曲データベースに登録できません。"),
                {kConfigPath});
        return false;
    }
    const bool covered = IsCoveredByRoot(config, folder);
    if (!covered && !new_root) {
        result.note = Arg(
            Tr("Tables", "%1 は登録された曲フォルダにないので、曲データベースは変えていません。"),
            {folder.text()});
        return true;
    }
    SongLibrary own;
    std::string why;
    if (!given && !OpenLibraryForChanges(own, config, why, &progress)) {
        result.error = Utf8ToCp932Lossy(why);
        return false;
    }
    SongLibrary& library = given ? *given : own;
    LibraryReport report;
    if (covered ? library.RefreshSongFolder(folder, &progress, report)
                : RegisterRoot(library, config, WinPath(kLevelFoldersRoot).text(), &progress,
                               report, why))
        return true;
    result.error = Utf8ToCp932Lossy(covered ? report.error : why);
    return false;
}

// The table's level folder written anew, then song.db brought up to date.
bool PlaceLevelFolder(const ChartHashes& charts, bool new_root, SongLibrary* library,
                      Progress& progress, TableJobResult& result) {
    const KeptTable& kept = result.kept;
    const std::string& update =
        kept.header.last_update.empty() ? kept.updated : kept.header.last_update;
    const WinPath folder = LevelFolderOf(kept);
    return WriteLevelFolder(folder, MakeLevelFolderFiles(kept.header, kept.data, charts, update),
                            result.error) &&
           RegisterLevelFolder(folder, new_root, library, progress, result);
}

}  // namespace

std::string TableChangesText(const TableChanges& c) {
    if (c.first) return Tr("Tables", "新しい表");
    return Arg(Tr("Tables", "%1 件追加、%2 件削除、%3 件移動"),
               {std::to_string(c.added.size()), std::to_string(c.removed.size()),
                std::to_string(c.moved.size())});
}

bool AddTable(const FetchedTable& fetched, const ChartHashes& charts, SongLibrary* library,
              Progress& progress, TableJobResult& result) {
    // The first table makes the level folders' song folder and registers
    // it; once there was one, whether and where it is registered is the
    // player's choice (taken out of the list, or moved away with the tables
    // kept, it is not registered again).
    const bool new_root = LoadKeptTables(false).tables.empty() &&
                          !IsDirectory(WinPath(kLevelFoldersRoot).AsFile().text());
    if (!KeepTable(fetched, TableChanges{}, nullptr, result.kept, result.error)) return false;
    result.kept_now = true;
    return PlaceLevelFolder(charts, new_root, library, progress, result);
}

bool UpdateTable(const KeptTable& old, const FetchedTable& fetched, const ChartHashes& charts,
                 SongLibrary* library, Progress& progress, TableJobResult& result) {
    // What changed is told against the kept data, read now when the
    // caller loaded the table without it.
    KeptTable read;
    const KeptTable* before = &old;
    if (!old.data_read) {
        read = old;
        if (!LoadKeptData(read, result.error)) return false;
        before = &read;
    }
    if (!KeepTable(fetched, CompareTables(before->data, fetched.data), before, result.kept,
                   result.error))
        return false;
    result.kept_now = true;
    return PlaceLevelFolder(charts, false, library, progress, result);
}

bool RemoveTable(const KeptTable& table, SongLibrary* library, Progress& progress,
                 TableJobResult& result) {
    if (!RemoveKeptTable(table, result.error)) return false;
    const WinPath folder = LevelFolderOf(table);
    return RemoveLevelFolder(folder, result.error) &&
           RegisterLevelFolder(folder, false, library, progress, result);
}

}  // namespace qv5
