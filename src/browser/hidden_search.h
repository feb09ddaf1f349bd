// Hidden charts: files of one folder that hold notes under a name without a
// chart extension, which the game therefore does not list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv5 {

class Progress;

struct HiddenSearchResult {
    // Entry names, in the folder's listing order.
    std::vector<std::string> names;
    // Stopped through the progress before every candidate was read.
    bool stopped = false;
};

// Reads every file of `folder` (with or without its trailing "\") whose name
// does not end in a chart extension, sub-folders not entered. A folder that
// cannot be listed gives nothing.
HiddenSearchResult FindHiddenCharts(const std::string& folder, Progress& progress);

// The note count the header reader gives the file, read only as far as the
// reader itself reads: to the end or the first Ctrl-Z. With `until_first`,
// reading also stops after the line of the first note, which decides
// a hidden chart. 0 when the file cannot be read; -1 when `progress` (may be
// null) asked to stop first.
std::int32_t HeaderNoteCount(const std::string& path, bool until_first, Progress* progress);

}  // namespace qv5
