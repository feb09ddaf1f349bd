// A single chart file copied into a song folder beside charts that may share
// its name: nothing there is ever replaced.
#pragma once

#include <string>

#include "platform/win_path.h"

namespace qv5 {

struct ChartCopy {
    enum class Outcome { Copied, AlreadyThere, Failed };
    Outcome outcome = Outcome::Failed;
    // The chart's name in the folder: its own, or "name (2).bme" when a chart
    // of other bytes holds its own (as the game tells names apart, case
    // ignored); for AlreadyThere the name of the copy that was found.
    std::string name;
    bool renamed() const { return outcome == Outcome::Copied && name != own_name; }
    std::string own_name;
};

// Copies `chart` into the folder `folder`, under its own name or the first
// free "name (N).ext"; a file of those names with the same bytes is the chart
// already there, and nothing is copied.
ChartCopy CopyChartInto(const WinPath& chart, const WinPath& folder);

}  // namespace qv5
