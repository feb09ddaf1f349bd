// The song folders of config.xml and their rows, as add-root registers one:
// shared by add-root and the table commands, which register the level
// folders' song folder with the first table.
#pragma once

#include <string>

#include "library/song_library.h"

namespace qv5 {

struct ConfigRecord;
class Progress;

// Opens song.db of the game folder with the config's player for changes,
// waiting (told on `progress`, may be null) for another program's lock.
bool OpenLibraryForChanges(SongLibrary& library, const ConfigRecord& config, std::string& error,
                           Progress* progress = nullptr);

// The duplicate rule of the root list; empty when `path` may be added.
std::string RootConflict(const ConfigRecord& config, const std::string& path);

// Whether a song folder of the list is `path` or holds it.
bool IsCoveredByRoot(const ConfigRecord& config, const WinPath& path);

// Registers the song folder `path` (folder form): its rows commit and
// config.xml gains it right after, both under config.xml's lock, so the
// list never names a root whose rows are not stored, and a rescan (which
// reads the list under that lock once it holds the library) sees the root
// with its rows. False with `error` (the report's or config.xml's) when
// nothing was registered or the list was not saved.
bool RegisterRoot(SongLibrary& library, ConfigRecord& config, const std::string& path,
                  Progress* progress, LibraryReport& report, std::string& error);

}  // namespace qv5
