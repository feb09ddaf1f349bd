#include "tables/table_match.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "library/difficulty.h"
#include "platform/text.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The whole text as a number ("12", "9.5", "-1"), for levels given as numbers.
bool AsNumber(const std::string& s, double& out) {
    if (s.empty()) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// Digit runs compared as numbers (without their leading zeros), the rest
// byte for byte.
int NaturalCompare(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei])) ++ei;
            while (ej < b.size() && IsDigit(b[ej])) ++ej;
            size_t si = i, sj = j;
            while (si + 1 < ei && a[si] == '0') ++si;
            while (sj + 1 < ej && b[sj] == '0') ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
            if (const int c = a.compare(si, ei - si, b, sj, ej - sj); c != 0) return c;
            i = ei, j = ej;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
        ++i, ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

}  // namespace

int CompareLevels(const std::string& a, const std::string& b) {
    double x = 0, y = 0;
    const bool na = AsNumber(a, x), nb = AsNumber(b, y);
    if (na && nb && x != y) return x < y ? -1 : 1;
    if (na != nb) return na ? -1 : 1;
    // "02" and "2" are two levels all the same: ordered, not equal.
    const int c = NaturalCompare(a, b);
    return c != 0 ? c : a.compare(b);
}

bool IsHeld(const TableEntry& entry, const ChartHashes& charts) {
    return entry.key == EntryKey::Md5 && charts.Holds(entry.md5_key);
}

std::vector<std::string> HeldPaths(const TableEntry& entry, const ChartHashes& charts) {
    if (entry.key != EntryKey::Md5) return {};
    return charts.PathsOf(entry.md5_key);
}

EntryLamp LampOf(const TableEntry& entry, const ChartHashes& charts) {
    if (!IsHeld(entry, charts)) return EntryLamp::NotHeld;
    const int clear = charts.ScoreOf(entry.md5_key).clear;
    return clear < 1 ? EntryLamp::NotPlayed
                     : EntryLamp(int(EntryLamp::NotPlayed) + std::min(clear, 5));
}

int RateOf(const TableEntry& entry, const ChartHashes& charts) {
    return IsHeld(entry, charts) ? charts.ScoreOf(entry.md5_key).rate : -1;
}

long LampCounts::Total() const {
    long total = 0;
    for (long c : count) total += c;
    return total;
}

LampCounts CountLamps(const LevelGroup& group, const ChartHashes& charts) {
    LampCounts counts;
    for (const TableEntry* e : group.entries) ++counts.count[int(LampOf(*e, charts))];
    return counts;
}

namespace {

// A title and artist (CP932) as one key: ASCII case and blanks at the ends
// do not count.
std::string SongKey(std::string_view title, std::string_view artist) {
    auto trimmed = [](std::string_view t) {
        const size_t begin = t.find_first_not_of(" \t");
        if (begin == std::string_view::npos) return std::string_view();
        return t.substr(begin, t.find_last_not_of(" \t") - begin + 1);
    };
    std::string key;
    key.reserve(title.size() + artist.size() + 1);
    key += trimmed(title);
    key += '\n';
    key += trimmed(artist);
    LowerAsciiInPlace(key);
    return key;
}

}  // namespace

void SongFoldersByTitle::Build(const std::vector<SongTitleRow>& rows) {
    folders_.clear();
    folders_.reserve(rows.size());
    // The library's titles are stored without their bracketed suffix
    // already: the header reader took it off.
    for (const SongTitleRow& r : rows) {
        if (r.title.empty()) continue;
        const WinPath folder = WinPath(r.path).Parent().AsFolder();
        auto [at, added] = folders_.emplace(SongKey(r.title, r.artist), folder.text());
        if (!added && at->second != folder.text()) at->second.clear();  // several: none
    }
    built_ = true;
}

std::string SongFoldersByTitle::FolderOf(const TableEntry& entry) const {
    if (entry.title.empty()) return {};
    // The table's title is the chart's whole #TITLE: its suffix comes off as
    // the header reader takes it off.
    std::string stem, suffix;
    std::int32_t difficulty = 0;
    TitleDifficulty("#TITLE " + Utf8ToCp932Lossy(entry.title), "#TITLE", stem, suffix, difficulty);
    const auto at = folders_.find(SongKey(stem, Utf8ToCp932Lossy(entry.artist)));
    return at == folders_.end() ? std::string() : at->second;
}

std::vector<LevelGroup> GroupByLevel(const TableHeader& header, const TableData& data,
                                     const ChartHashes& charts) {
    std::unordered_map<std::string, size_t> index;
    std::vector<LevelGroup> groups;
    for (const std::string& level : header.level_order)
        if (index.emplace(level, groups.size()).second) groups.push_back(LevelGroup{level, {}, 0});
    const size_t ordered = groups.size();
    // Tables list their entries level by level: the level of the entry
    // before is tried first, then looked up, and inserted only when new
    // (a table has a few dozen levels and thousands of entries).
    size_t current = size_t(-1);
    constexpr size_t kAhead = 16;  // look-ups whose memory is on its way
    const std::vector<TableEntry>& entries = data.entries;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i + kAhead < entries.size() && entries[i + kAhead].key == EntryKey::Md5)
            charts.Prefetch(entries[i + kAhead].md5_key);
        const TableEntry& e = entries[i];
        if (current == size_t(-1) || groups[current].level != e.level) {
            auto it = index.find(e.level);
            if (it == index.end()) {
                it = index.emplace(e.level, groups.size()).first;
                groups.push_back(LevelGroup{e.level, {}, 0});
            }
            current = it->second;
        }
        LevelGroup& g = groups[current];
        g.entries.push_back(&e);
        if (IsHeld(e, charts)) ++g.held;
    }
    std::sort(groups.begin() + long(ordered), groups.end(),
              [](const LevelGroup& a, const LevelGroup& b) {
                  return CompareLevels(a.level, b.level) < 0;
              });
    // A level of the order that no entry uses is no level of the table.
    groups.erase(std::remove_if(groups.begin(), groups.end(),
                                [](const LevelGroup& g) { return g.entries.empty(); }),
                 groups.end());
    return groups;
}

TableChanges CompareTables(const TableData& before, const TableData& after) {
    TableChanges c;
    c.first = false;
    // The first entry of an md5 stands for it, as a table lists a chart once.
    std::unordered_map<std::string_view, const TableEntry*> old_by_md5, new_by_md5;
    for (const TableEntry& e : before.entries)
        if (e.key == EntryKey::Md5) old_by_md5.emplace(e.md5, &e);
    for (const TableEntry& e : after.entries) {
        if (e.key != EntryKey::Md5 || !new_by_md5.emplace(e.md5, &e).second) continue;
        const auto it = old_by_md5.find(e.md5);
        if (it == old_by_md5.end())
            c.added.push_back({e.md5, e.title, e.level, {}});
        else if (it->second->level != e.level)
            c.moved.push_back({e.md5, e.title, e.level, it->second->level});
    }
    for (const TableEntry& e : before.entries)
        if (e.key == EntryKey::Md5 && old_by_md5.at(e.md5) == &e && !new_by_md5.count(e.md5))
            c.removed.push_back({e.md5, e.title, e.level, {}});
    return c;
}

}  // namespace qv5
