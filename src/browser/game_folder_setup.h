// The game folder's own folders: those below QV5files the program writes
// into, and a new game folder made ready for a first start.
#pragma once

#include <string>

namespace qv5 {

// The folders below QV5files that files are written into (Config, Database,
// Database\Score), in the program directory.
extern const char* const kGameFolders[3];

// Each of kGameFolders made when missing: a game folder made by hand may
// hold QV5files alone. False when one could not be made.
bool MakeGameFolders();

// A new game folder in the host folder `host_dir` (made when missing, below
// an existing one), which becomes the program directory: QV5files with its
// folders, the song folder `songs` (made when missing) registered in song.db
// and config.xml, no player. config.xml takes the desktop's language.
// Refused, changing nothing, when `host_dir` holds QV5files already. False
// with `error` (CP932, for the user) saying why.
bool MakeGameFolder(const std::string& host_dir, std::string& error);

}  // namespace qv5
