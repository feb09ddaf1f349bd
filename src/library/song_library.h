// The song library: song.db with the player's scores and tag.db attached.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "library/chart_record.h"
#include "platform/database.h"

namespace qv5 {

inline constexpr const char* kDatabaseFolder = "QV5files\\Database";
inline constexpr const char* kSongDbPath = "QV5files\\Database\\song.db";
inline constexpr const char* kTagDbPath = "QV5files\\Database\\tag.db";
// What a write transaction on the library may keep in memory before it
// spills changed pages into song.db, which takes the file's exclusive lock
// and locks the game body out until the commit. A rescan of 100,000 charts
// changes about 32 MiB (at 300 bytes a row); this leaves room for rows of
// twice that and for longer paths. Pages only read keep SQLite's small
// default cache.
inline constexpr int kWriteCacheBytes = 128 << 20;
extern const char* const kCreateFolderTable;
extern const char* const kCreateSongTable;
extern const char* const kCreateTagTable;

// Opens song.db (creating the tables) and attaches the player's database as
// scoredb and tag.db as tagdb. The connection stays open.
void OpenSongLibrary(const std::string& player_id);
void ReopenSongLibrary(const std::string& player_id);
// Drops and recreates folder and song; scores, tags and courses stay. False
// when that failed (the database's LastError() says why); inside a
// transaction, the caller then rolls back.
bool ResetSongLibrary(Database& db);
bool ResetSongLibrary();
void CloseSongLibrary();
// Drops the old `course` table and creates nonstop, expert and grade where
// missing, on any connection to song.db.
void CreateCourseTables(Database& db);
// The open connection.
Database& SongLibrary();

// True when the path, less one trailing separator, names a file or folder.
bool EntryExists(std::string_view path);

// Finds the chart's song row by its hash, with the player's score.
bool LookupChart(const std::string& chart_path, ChartRecord& record);

// The rows whose path starts with `prefix`, literally and case-sensitively:
// "path >= ?N AND path < ?N+1" on the primary key. BindPrefix fills both.
std::string PrefixCondition(int first_param);
void BindPrefix(Statement& s, int first_param, const std::string& prefix);
// Rows of `table` ("song" or "folder") of the open library below `prefix`
// ("" for all); 0 when it cannot be read.
int CountRowsBelow(const char* table, const std::string& prefix);
int CountRowsBelow(Database& db, const char* table, const std::string& prefix);

// The library lists `path`: a row of its own, or it lies below a song folder
// (a root's row). nullopt when the library cannot be read (a damaged file),
// which is an error, not a "no".
std::optional<bool> IsInLibrary(Database& db, const std::string& path);
// The song folder (a root's row, a folder in folder form) that is `folder`
// or holds it; nullopt when none does or the library cannot be read. A
// folder made after its root was registered has no row yet, and installs
// go into it all the same.
std::optional<std::string> SongFolderHolding(Database& db, const std::string& folder);

}  // namespace qv5
