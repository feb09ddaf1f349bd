#include "install/chart_copy.h"

#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace qv5 {
namespace {

// The entry of `entries` that Wine would open for `name`.
const DirEntry* Entry(const std::vector<DirEntry>& entries, const std::string& name) {
    for (const DirEntry& e : entries)
        if (SameNameIgnoringCase(e.name, name)) return &e;
    return nullptr;
}

std::string Numbered(const std::string& name, int n) {
    if (n == 1) return name;
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
    return stem + " (" + std::to_string(n) + ")" + ext;
}

}  // namespace

ChartCopy CopyChartInto(const WinPath& chart, const WinPath& folder_path) {
    ChartCopy result;
    result.own_name = chart.LastName();
    std::string bytes;
    const WinPath folder = folder_path.AsFolder();
    if (!ReadWholeFile(chart.text(), bytes)) return result;
    // A copy that loses a race to another writer's file of the name tries
    // the next name: the listing is taken again.
    for (int n = 1, attempts = 0; attempts < 1000; ++attempts) {
        std::vector<DirEntry> entries;
        if (!ListFolder(folder.text(), entries, ListDetail::NamesAndKinds)) return result;
        for (;; ++n) {
            const std::string name = Numbered(result.own_name, n);
            const DirEntry* e = Entry(entries, name);
            if (!e) break;
            std::string there;
            if (!e->directory && ReadWholeFile(folder.Join(e->name).text(), there) &&
                there == bytes) {
                result.outcome = ChartCopy::Outcome::AlreadyThere;
                result.name = e->name;
                return result;
            }
        }
        result.name = Numbered(result.own_name, n);
        if (CopyFileNoOverwrite(chart.text(), folder.Join(result.name).text())) {
            result.outcome = ChartCopy::Outcome::Copied;
            return result;
        }
        if (!PathExists(folder.Join(result.name).text())) return result;
    }
    return result;
}

}  // namespace qv5
