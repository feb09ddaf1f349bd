// Hidden charts: files of one folder that hold notes under a name without a
// chart extension, which the game therefore does not list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/chart_parse.h"
#include "library/chart_record.h"
#include "platform/win_path.h"

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
HiddenSearchResult FindHiddenCharts(const WinPath& folder, Progress& progress);

// The note count the header reader gives the file, read only as far as the
// reader itself reads: to the end or the first Ctrl-Z. With `until_first`,
// reading also stops after the line of the first note, which decides
// a hidden chart. 0 when the file cannot be read; -1 when `progress` (may be
// null) asked to stop first.
std::int32_t HeaderNoteCount(const WinPath& path, bool until_first, Progress* progress);

// HeaderNoteCount's count over the file's bytes as they are read, in pieces
// of any size: Feed each in turn while it asks for more, then Finish.
class NoteCountReader {
  public:
    explicit NoteCountReader(bool until_first) : until_first_(until_first) {}
    // False once nothing after this piece can change the outcome (a Ctrl-Z,
    // or the first note when reading until the first).
    bool Feed(std::string_view piece);
    std::int32_t Finish();

  private:
    bool until_first_;
    bool decided_ = false;
    ChartRecord record_;
    ChartParseState state_;
    std::string pending_;
};

}  // namespace qv5
