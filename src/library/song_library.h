// The song library: song.db with the player's scores and tag.db attached,
// as one object. It owns its connection and every statement on song.db and
// the databases attached to it; the window, the command line and the
// install are handed one and call its operations and queries.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/chart_record.h"
#include "library/library_report.h"
#include "platform/database.h"
#include "platform/win_path.h"

namespace qv5 {

class ChartHashes;
struct SongTitleRow;
class Progress;

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
// The player's score table, which the library joins by hash; the player
// database (player/) is made with it.
extern const char* const kCreateScoreTable;

// How an operation's commit meets a change elsewhere (config.xml): the step
// runs `commit`, possibly under a lock of its own and after checks of its
// own, and returns true when it committed. When it returns false without
// committing, everything is rolled back and `why` becomes the report's
// error. Without a step the operation simply commits.
using CommitStep = std::function<bool(const std::function<bool()>& commit, std::string& why)>;
// The song folders of a rescan, asked for once the library's write lock is
// held, so that a list changed meanwhile is read whole. False with `why`
// ends the rescan.
using RootSource = std::function<bool(std::vector<std::string>& roots, std::string& why)>;

// A row of a course table as a course list gives it (its texts UTF-8, as the
// list holds them).
struct CourseRow {
    int type = 0;  // 0 expert, 1 nonstop, 2 grade
    std::string title_utf8;
    std::int64_t line = 0;
    std::string hash_utf8;
};

class SongLibrary {
  public:
    SongLibrary() = default;
    SongLibrary(const SongLibrary&) = delete;
    SongLibrary& operator=(const SongLibrary&) = delete;

    // Opens song.db of the game folder (making its tables and the game
    // folder's database folder) and attaches `score_db`, the player's
    // database (an existing file; its score table is made when missing), as
    // scoredb and tag.db as tagdb. Without a player database (`score_db`
    // empty or no file) lookups and tags still work on an empty score table
    // that lives as long as the connection. False when song.db cannot be
    // opened (LastError() says why). An open library is closed first.
    bool Open(const std::string& score_db);
    // song.db alone, read-only, nothing made or attached: for readers that
    // must not create a library where there is none.
    bool OpenForReading();
    void Close();
    bool IsOpen() const { return db_.IsOpen(); }
    // SQLite's text of the last failure (UTF-8).
    std::string LastError() const { return db_.LastError(); }
    // How long a statement waits while another program (the game body)
    // holds the library; before Open, for the opening's own statements too.
    void SetBusyTimeout(int milliseconds) { db_.SetBusyTimeout(milliseconds); }

    // ---- The changes. Each operation is one transaction (a savepoint
    // inside a caller's): a failure or a stop stores nothing and `report`
    // says why (SQLite's own text where SQLite failed). Between items it asks
    // `progress` (may be null) whether to stop, and a wait for another
    // program's lock is told there. On success `report` holds the rows below
    // the path worked on.

    // A new song folder (a directory with its trailing "\", or a
    // custom-folder file): its rows, then the difficulty pass over them. A
    // folder that does not exist adds nothing and is no failure.
    bool AddSongFolder(const WinPath& root, Progress* progress, LibraryReport& report,
                       const CommitStep& step = {});

    // Takes a song folder out of the library. Its rows go, except those
    // another song folder in `others` (the ones that stay registered) still
    // covers, whichever is inside which: a song folder inside it keeps its
    // own rows, and when it lies inside another, that one's rows for it come
    // back as a fresh registration of that one would give them. The charts
    // that stay keep their favourite marks and added dates. `report` counts
    // what stays below `root`.
    bool ExcludeSongFolder(const WinPath& root, const std::vector<std::string>& others,
                           Progress* progress, LibraryReport& report, const CommitStep& step = {});

    // Brings the rows below `path` (a song folder, a folder or a file inside
    // one) in step with the disk: changed charts read again, vanished entries
    // removed, new ones added, at a song folder's own level too. A folder or
    // chart the library does not list yet is added from the nearest listed
    // folder above it; below no listed folder nothing is added.
    bool RefreshSongFolder(const WinPath& path, Progress* progress, LibraryReport& report);

    // The library built anew from the song folders `roots` gives, with the
    // difficulty pass; those that do not exist are listed in
    // `report.missing`. Unchanged charts keep their favourite marks and added
    // dates. A reader (the game body) sees the old library until the new one
    // is complete.
    bool RescanSongFolders(const RootSource& roots, Progress* progress, LibraryReport& report);
    bool RescanSongFolders(const std::vector<std::string>& roots, Progress* progress,
                           LibraryReport& report);

    // After a move or rename on disk: the rows below `from` (a folder with
    // its trailing "\", or a file) now lie below `to`, with keys and dates of
    // their new place. `report` counts the rows below `to`.
    bool MoveSongPaths(const WinPath& from, const WinPath& to, Progress* progress,
                       LibraryReport& report);

    // What an install extracted into `dest` (a folder inside a song folder)
    // as the folder `new_folder`: the folders the library did not list yet
    // and the new folder's rows, an update to a folder it knew included.
    // `report` counts the rows below `new_folder`.
    bool RegisterInstalled(const WinPath& dest, const WinPath& new_folder, Progress* progress,
                           LibraryReport& report);

    // After an install took its files back from the disk: the rows of those
    // of `paths` (files, and folders with their trailing "\") that are no
    // longer there. Another install's registration may have listed them
    // meanwhile, its scan passing through the folder they were extracted
    // into; this runs once that registration has ended, as it waits for the
    // library's write lock.
    bool ForgetTakenBack(const std::vector<std::string>& paths, Progress* progress,
                         LibraryReport& report);

    // After a delete on disk: the song and folder rows below `prefix` go.
    bool RemoveSongPaths(const WinPath& prefix, LibraryReport& report);
    // After an entry was made on disk (a new folder): the folder holding it
    // is scanned, which adds what the library does not list yet.
    bool ScanNewEntry(const WinPath& path, Progress* progress, LibraryReport& report);

    // Drops and recreates folder and song; scores, tags and courses stay.
    bool Reset();

    // The course rows of a course list, in one transaction. A row SQLite
    // refuses is told in `refused` (its text, UTF-8) and the others are
    // stored; false with `error` when the transaction failed (nothing
    // stored).
    bool AddCourses(const std::vector<CourseRow>& rows, std::vector<std::string>& refused,
                    std::string& error);

    // ---- Queries.

    // Every chart's hash with its paths, read in one statement (the tables
    // match against it in memory). False with `error` when song.db cannot
    // be read.
    bool ReadChartHashes(ChartHashes& out, std::string& error);
    // The attached player's scores of the charts `charts` holds (none
    // without a player). False with `error` when they cannot be read.
    bool ReadChartScores(ChartHashes& charts, std::string& error);
    // Every chart's title, artist and path (the tables' look for a song
    // folder of a missing entry).
    bool ReadSongTitles(std::vector<SongTitleRow>& out, std::string& error);

    // Whether a write to song.db can be begun and committed now: false for a
    // read-only file or folder, or a lock another program keeps past the
    // wait, which is told on `progress` (may be null).
    bool CanWrite(Progress* progress = nullptr);

    // Finds the chart's song row by its hash, with the player's score.
    bool LookupChart(const WinPath& chart_path, ChartRecord& record);
    // Rows of `table` ("song" or "folder") below `prefix` ("" for all); 0
    // when it cannot be read.
    int CountRowsBelow(const char* table, const WinPath& prefix);
    // The library lists `path`: a row of its own, or it lies below a song
    // folder (a root's row). nullopt when the library cannot be read (a
    // damaged file), which is an error, not a "no".
    std::optional<bool> IsInLibrary(const WinPath& path);
    // The song folder (a root's row, a folder in folder form) that is
    // `folder` or holds it; nullopt when none does or the library cannot be
    // read. A folder made after its root was registered has no row yet, and
    // installs go into it all the same.
    std::optional<std::string> SongFolderHolding(const WinPath& folder);
    // The nearest folder at or above `path` (a folder, with its trailing
    // "\") that the library lists; `path` itself when none is.
    std::string NearestListedFolder(const WinPath& path);

    // The connection, for the library's own readers and writers in
    // `library/` (the song list, the check, the tags, the scanner).
    Database& connection() { return db_; }

  private:
    Database db_;
};

// ---- What the library's own files share.

// Drops the old `course` table and creates nonstop, expert and grade where
// missing, on any connection to song.db.
void CreateCourseTables(Database& db);
bool ResetSongLibrary(Database& db);

// True when the path, less one trailing separator, names a file or folder.
bool EntryExists(std::string_view path);

// The rows whose path starts with `prefix`, literally and case-sensitively:
// "path >= ?N AND path < ?N+1" on the primary key. BindPrefix fills both.
std::string PrefixCondition(int first_param);
void BindPrefix(Statement& s, int first_param, const std::string& prefix);
int CountRowsBelow(Database& db, const char* table, const WinPath& prefix);
std::string NearestListedFolder(Database& db, const WinPath& path);

}  // namespace qv5
