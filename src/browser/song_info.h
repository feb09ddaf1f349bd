// The six lines of the information panel below the folder tree: title,
// genre, artist, level, the current player's score and the key mode.
#pragma once

#include <array>
#include <string>

#include "library/chart_record.h"
#include "platform/win_path.h"

namespace qv5 {

class SongLibrary;

// CP932 texts, in panel order.
using SongInfo = std::array<std::string, 6>;

SongInfo SongInfoLines(const ChartRecord& record);
// The chart as the library has it with the player's score, or as its header
// reads (no score) when the library has no row, with its tag row laid over
// (LoadChartAsShown); all empty when the file cannot be read.
SongInfo SongInfoLines(SongLibrary& library, const WinPath& chart_path);

}  // namespace qv5
