#include "browser/folder_name.h"

#include <tuple>
#include <vector>

#include "browser/root_list.h"
#include "library/chart_header.h"
#include "library/chart_names.h"
#include "library/difficulty.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

auto Seconds(const FileTime& t) {
    return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

}  // namespace

std::optional<std::string> SuggestFolderName(const WinPath& folder_path_path) {
    const std::string& folder_path = folder_path_path.text();
    std::vector<DirEntry> entries;
    if (!ListFolder(folder_path, entries)) return std::nullopt;
    const DirEntry* oldest = nullptr;
    for (const DirEntry& e : entries) {
        if (e.directory || e.system || !IsChartName(e.name)) continue;
        // Strictly earlier: the first one listed wins a tie.
        if (!oldest || Seconds(e.write_time) < Seconds(oldest->write_time)) oldest = &e;
    }
    if (!oldest) return std::nullopt;
    ChartRecord record;
    if (!ReadChartHeader(record, WinPath(folder_path).Join(oldest->name).text()))
        return std::nullopt;
    // The subartist is left out on purpose: a folder name carries one artist.
    return MakeExportTitle(record.title, record.subtitle, record.artist, std::string(), false);
}

}  // namespace qv5
