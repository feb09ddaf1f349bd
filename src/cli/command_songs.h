// `songs [WORDS...] [options]`: the song list window's rows, for scripts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library/song_list.h"

namespace qv5 {

struct SongsOptions {
    SongFilter filter;
    // As the window opens: the newest charts first.
    SongColumn sort = SongColumn::Added;
    bool descending = true;
    bool tsv = false;
};

// The options after "songs"; nullopt (with `error`) for a wrong one.
std::optional<SongsOptions> ParseSongsOptions(const std::vector<std::string>& args,
                                              std::string& error);
// One line of output for a row: the path first, then the window's cells
// (all of them, tab-separated, with --tsv).
std::string SongsLine(const SongTable& table, size_t row, bool tsv);


}  // namespace qv5
