// Adding, updating and removing a kept table with its level folder for the
// game body, song.db brought up to date in the same run: what the table
// commands and the tables window both do, so that both leave the same files
// and rows.
#pragma once

#include <string>

#include "library/library_hashes.h"
#include "tables/table_fetch.h"
#include "tables/table_store.h"

namespace qv5 {

class Progress;
class SongLibrary;

// How a job ended beyond success: `error` (CP932) when it failed; `note`
// (CP932) when song.db was left alone on purpose (the player took the level
// folders' song folder out of the list); `kept` the table as kept now, set
// as soon as its copy was kept even when the level folder then failed.
struct TableJobResult {
    KeptTable kept;
    bool kept_now = false;
    std::string error, note;
};

// What an update changed, said in a line (CP932): "3 件追加、1 件削除、0 件移動",
// or that the table is new.
std::string TableChangesText(const TableChanges& changes);

// Each job brings song.db up to date through `library` when it is given
// (open for changes, with the player's scores attached: the window's own),
// else through one it opens with config.xml's player when the game folder
// has a library. `charts` gives the held counts of the level files.

// Keeps the fetched table as a new one and writes its level folder. The
// first table also registers kLevelFoldersRoot as a song folder.
bool AddTable(const FetchedTable& fetched, const ChartHashes& charts, SongLibrary* library,
              Progress& progress, TableJobResult& result);

// Keeps the fetched copy of `old` (with what changed) and rewrites its
// level folder.
bool UpdateTable(const KeptTable& old, const FetchedTable& fetched, const ChartHashes& charts,
                 SongLibrary* library, Progress& progress, TableJobResult& result);

// Deletes the kept table and its level folder, and its rows.
bool RemoveTable(const KeptTable& table, SongLibrary* library, Progress& progress,
                 TableJobResult& result);

}  // namespace qv5
