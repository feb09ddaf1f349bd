#include "window/song_list/song_list_levels.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "library/song_library.h"
#include "library/song_list.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/win_path.h"
#include "tables/table_match.h"
#include "tables/table_store.h"

namespace qv5 {

std::string KeptTablesStamp() {
    std::vector<DirEntry> entries;
    if (!ListFolder(kTablesFolder, entries, ListDetail::NamesAndKinds)) return {};
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    std::string stamp;
    for (const DirEntry& e : entries) {
        // A write in progress is no table yet; its rename makes one.
        if (!e.directory || e.name.starts_with(".")) continue;
        const auto version =
            VersionOf(WinPath(kTablesFolder).Join(e.name).Join("state.json").text());
        stamp += e.name + '\n';
        if (version)
            stamp += std::to_string(version->stamp) + ' ' + std::to_string(version->size) + '\n';
    }
    return stamp;
}

LevelTables ReadLevelTables() {
    LevelTables out;
    const ChartHashes none;  // only the grouping is wanted here, not what is held
    for (const KeptTable& kept : LoadKeptTables().tables) {
        const auto table = static_cast<std::uint32_t>(out.tables.size());
        ListedTable& listed = out.tables.emplace_back();
        listed.name = kept.header.name;
        listed.symbol = kept.header.symbol;
        out.first.push_back(static_cast<std::uint32_t>(out.levels.size()));
        for (const LevelGroup& group : GroupByLevel(kept.header, kept.data, none)) {
            listed.levels.push_back(group.level);
            LevelTables::Level& level = out.levels.emplace_back();
            level.table = table;
            level.text = kept.header.symbol + group.level;
            level.md5s.reserve(group.entries.size());
            for (const TableEntry* entry : group.entries)
                if (entry->key == EntryKey::Md5) level.md5s.push_back(entry->md5_key);
        }
    }
    out.first.push_back(static_cast<std::uint32_t>(out.levels.size()));
    return out;
}

void ChartLevels::SetTables(LevelTables tables) {
    read_ = std::move(tables);
    offsets_.clear();
    ids_.clear();
}

bool ChartLevels::Match(SongLibrary& library, const SongTable& rows) {
    offsets_.assign(rows.size() + 1, 0);
    ids_.clear();
    const auto& levels = read_.levels;
    if (levels.empty() || rows.size() == 0) return true;
    ChartHashes charts;
    std::string error;
    if (!library.ReadChartHashes(charts, error)) return false;
    std::unordered_map<std::string_view, std::uint32_t> by_path;
    by_path.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        by_path.emplace(rows.Text(i, SongText::Path), static_cast<std::uint32_t>(i));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> listed;  // row, level
    std::string utf8;
    for (size_t id = 0; id < levels.size(); ++id) {
        const std::vector<Md5Key>& md5s = levels[id].md5s;
        for (size_t k = 0; k < md5s.size(); ++k) {
            // Tables of thousands of entries: the misses of a large library's
            // hash table overlap when they are asked for a few ahead.
            if (k + 8 < md5s.size()) charts.Prefetch(md5s[k + 8]);
            for (const std::string& path : charts.PathsOf(md5s[k])) {
                // The rows hold their paths as UTF-8, hashes as stored (CP932);
                // most are ASCII, the same in both.
                const bool ascii =
                    std::all_of(path.begin(), path.end(), [](char c) { return (c & 0x80) == 0; });
                if (!ascii) utf8 = Cp932ToUtf8(path);
                const auto row = by_path.find(ascii ? std::string_view(path) : utf8);
                if (row != by_path.end())
                    listed.emplace_back(row->second, static_cast<std::uint32_t>(id));
            }
        }
    }
    // A table may list one chart twice at a level.
    std::sort(listed.begin(), listed.end());
    listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
    ids_.reserve(listed.size());
    for (const auto& [row, id] : listed) {
        ++offsets_[row + 1];
        ids_.push_back(id);
    }
    for (size_t i = 1; i < offsets_.size(); ++i) offsets_[i] += offsets_[i - 1];
    return true;
}

std::string ChartLevels::Text(std::uint32_t row) const {
    std::string text;
    if (size_t(row) + 1 >= offsets_.size()) return text;
    for (std::uint32_t i = offsets_[row]; i < offsets_[row + 1]; ++i) {
        if (!text.empty()) text += ' ';
        text += read_.levels[ids_[i]].text;
    }
    return text;
}

bool ChartLevels::Listed(std::uint32_t row, int table, int level) const {
    if (table < 0 || size_t(table) >= read_.tables.size() || size_t(row) + 1 >= offsets_.size())
        return false;
    const std::uint32_t low = read_.first[size_t(table)], high = read_.first[size_t(table) + 1];
    if (level >= 0 && low + std::uint32_t(level) >= high) return false;
    for (std::uint32_t i = offsets_[row]; i < offsets_[row + 1]; ++i) {
        const std::uint32_t id = ids_[i];
        if (level < 0 ? id >= low && id < high : id == low + std::uint32_t(level)) return true;
    }
    return false;
}

void ChartLevels::Sort(std::vector<std::uint32_t>& order, bool descending) const {
    if (offsets_.size() < 2) return;
    const auto rows = offsets_.size() - 1;
    auto span = [&](std::uint32_t row) {
        return row < rows
                   ? std::pair(ids_.begin() + offsets_[row], ids_.begin() + offsets_[row + 1])
                   : std::pair(ids_.end(), ids_.end());
    };
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const auto [a_begin, a_end] = span(a);
        const auto [b_begin, b_end] = span(b);
        if (a_begin == a_end || b_begin == b_end) return a_begin != a_end && b_begin == b_end;
        return descending ? std::lexicographical_compare(b_begin, b_end, a_begin, a_end)
                          : std::lexicographical_compare(a_begin, a_end, b_begin, b_end);
    });
}

size_t ChartLevels::MemoryBytes() const {
    size_t bytes =
        (offsets_.capacity() + ids_.capacity() + read_.first.capacity()) * sizeof(std::uint32_t);
    for (const LevelTables::Level& level : read_.levels)
        bytes += sizeof level + level.text.capacity() + level.md5s.capacity() * sizeof(Md5Key);
    return bytes;
}

}  // namespace qv5
