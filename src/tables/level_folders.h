// The kept tables as custom folders of the game body: one `.qv5folder` file
// a level in a folder a table below `tables\` of the game folder, each
// selecting the level's charts with `song.hash IN ('<md5>',…)`. The game body
// evaluates the command as an SQL condition over song.db with the player's
// score table joined, so a column is named with its table.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "library/library_hashes.h"
#include "platform/win_path.h"
#include "tables/level_folder_files.h"
#include "tables/table.h"

namespace qv5 {

struct KeptTable;

// The header reader takes a line of 102,400 bytes or more in pieces, which
// would cut a command: a level's command stays at or below this, and a level
// that needs more is written as several files.
inline constexpr size_t kMaxLevelCommandBytes = 100000;

struct LevelFolderFile {
    std::string name;   // CP932, a file name of the folder
    std::string bytes;  // CP932 with CR LF line ends
};

// The files of the table's level folder, in level order: levels without any
// valid md5 get none. `charts` gives the held counts; `last_update` the text
// of #INFORMATION_B.
std::vector<LevelFolderFile> MakeLevelFolderFiles(const TableHeader& header, const TableData& data,
                                                  const ChartHashes& charts,
                                                  const std::string& last_update,
                                                  size_t max_command_bytes = kMaxLevelCommandBytes);

// Where the kept table's level folder is: its store folder's name below
// kLevelFoldersRoot.
WinPath LevelFolderOf(const KeptTable& table);

// Makes `folder` hold exactly `files` among its custom-folder files: each
// written atomically, those of levels that vanished removed. False (with a
// CP932 message) when a file could not be written or removed.
bool WriteLevelFolder(const WinPath& folder, const std::vector<LevelFolderFile>& files,
                      std::string& error);

// Deletes the level folder and its files; no folder is no failure.
bool RemoveLevelFolder(const WinPath& folder, std::string& error);

}  // namespace qv5
