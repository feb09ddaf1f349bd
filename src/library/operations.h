// The changes to the song library, one function each. The window and the
// command line call these and show the report; neither writes rows itself.
//
// Each operation is one transaction on `db` (a savepoint inside a caller's):
// a failure or a stop stores nothing and `report` says why (SQLite's own
// text where SQLite failed). Between items it asks `progress` (may be null)
// whether to stop, and a wait for another program's lock is told there.
// On success `report` holds the rows below the path worked on. A delete on
// disk is followed by RemovePaths (refresh.h), one transaction too.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "library/library_report.h"

namespace qv5 {

class Database;
class Progress;

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

// A new song folder (a directory with its trailing "\", or a custom-folder
// file): its rows, then the difficulty pass over them. A folder that does
// not exist adds nothing and is no failure.
bool AddSongFolder(Database& db, const std::string& root, Progress* progress, LibraryReport& report,
                   const CommitStep& step = {});

// Takes a song folder out of the library. Its rows go, except those another
// song folder in `others` (the ones that stay registered) still covers,
// whichever is inside which: a song folder inside it keeps its own rows, and
// when it lies inside another, that one's rows for it come back as a fresh
// registration of that one would give them. The charts that stay keep their
// favourite marks and added dates (those of the charts that go are not kept
// anywhere). `report` counts what stays below `root`.
bool ExcludeSongFolder(Database& db, const std::string& root,
                       const std::vector<std::string>& others, Progress* progress,
                       LibraryReport& report, const CommitStep& step = {});

// Brings the rows below `path` (a song folder, a folder or a file inside
// one) in step with the disk: changed charts read again, vanished entries
// removed, new ones added, at a song folder's own level too. A folder or
// chart the library does not list yet is added from the nearest listed
// folder above it; below no listed folder nothing is added.
bool RefreshSongFolder(Database& db, const std::string& path, Progress* progress,
                       LibraryReport& report);

// The library built anew from the song folders `roots` gives, with the
// difficulty pass; those that do not exist are listed in `report.missing`.
// Unchanged charts keep their favourite marks and added dates. A reader (the
// game body) sees the old library until the new one is complete.
bool RescanSongFolders(Database& db, const RootSource& roots, Progress* progress,
                       LibraryReport& report);
bool RescanSongFolders(Database& db, const std::vector<std::string>& roots, Progress* progress,
                       LibraryReport& report);

// After a move or rename on disk: the rows below `from` (a folder with its
// trailing "\", or a file) now lie below `to`, with keys and dates of their
// new place. `report` counts the rows below `to`.
bool MoveSongPaths(Database& db, const std::string& from, const std::string& to, Progress* progress,
                   LibraryReport& report);

// What an install extracted into `dest` (a folder inside a song folder) as
// the folder `new_folder`: the folders the library did not list yet and the
// new folder's rows, an update to a folder it knew included. `report`
// counts the rows below `new_folder`.
bool RegisterInstalled(Database& db, const std::string& dest, const std::string& new_folder,
                       Progress* progress, LibraryReport& report);

// After an install took its files back from the disk: the rows of those of
// `paths` (files, and folders with their trailing "\") that are no longer
// there. Another install's registration may have listed them meanwhile, its
// scan passing through the folder they were extracted into; this runs once
// that registration has ended, as it waits for the library's write lock.
bool ForgetTakenBack(Database& db, const std::vector<std::string>& paths, Progress* progress,
                     LibraryReport& report);

// The nearest folder at or above `path` (a folder, with its trailing "\")
// that the library lists; `path` itself when none is.
std::string NearestListedFolder(Database& db, const std::string& path);

}  // namespace qv5
