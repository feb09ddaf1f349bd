// `songs [WORDS...] [options]`: the song list window's rows, for scripts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library/song_list.h"
#include "tables/level_folder_files.h"

namespace qv5 {

struct SongsOptions {
    SongFilter filter;
    // As the window opens: the newest charts first.
    SongColumn sort = SongColumn::Added;
    bool descending = true;
    bool tsv = false;
    // --table NAME[:LEVEL]: only the charts of a table's level folders.
    std::optional<std::string> table;
};

struct CommandCall;

// The options of a call of "songs"; nullopt, with the option in `wrong`,
// for a wrong value.
std::optional<SongsOptions> ParseSongsOptions(const CommandCall& call, std::string& wrong);
// One line of output for a row: the path first (as this system names it),
// then the window's cells; with --tsv all of them, tab-separated, the path
// as the game names it first and the host path last.
std::string SongsLine(const SongTable& table, size_t row, bool tsv);

// The md5s of the table (and level) that `choice` ("NAME" or "NAME:LEVEL",
// UTF-8) names among `levels`: NAME the table's name, LEVEL the level as the
// game shows it (the symbol and the level, "★12"). The whole of `choice` is
// tried as a name first, as a table's name may hold a ":". Nullopt, with
// `error`, when no table or level has that name.
std::optional<std::vector<std::string>> TableLevelMd5s(const std::vector<LevelFolderLevel>& levels,
                                                       const std::string& choice,
                                                       std::string& error);

}  // namespace qv5
