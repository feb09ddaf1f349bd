// A table against the song library: which entries are held (song.db has a
// chart whose hash is the entry's md5) and where, grouped by level; and what
// changed between two copies of a table.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "library/library_hashes.h"
#include "tables/table.h"

namespace qv5 {

// Levels in the table's order: those of its level_order first, in that
// order, then the others in natural order (numbers as numbers, "2" before
// "10", "9.5" before "10", numbers before texts). Less than zero when `a`
// comes first among the levels outside the order.
int CompareLevels(const std::string& a, const std::string& b);

struct LevelGroup {
    std::string level;
    std::vector<const TableEntry*> entries;  // in the table's order
    long held = 0;
};

// The entries of `data` by level. The pointers are into `data`.
std::vector<LevelGroup> GroupByLevel(const TableHeader& header, const TableData& data,
                                     const ChartHashes& charts);

// Whether song.db has a chart of the entry's md5; never for an entry
// without a valid one.
bool IsHeld(const TableEntry& entry, const ChartHashes& charts);
// Where the entry is held (the paths of its charts); empty when it is not.
std::vector<std::string> HeldPaths(const TableEntry& entry, const ChartHashes& charts);

// Where the player stands with an entry: not held (or never to be held:
// no valid md5), else the lamp of the chart's score.
enum class EntryLamp { NotHeld, NotPlayed, Failed, Easy, Clear, Hard, FullCombo, Count };
inline constexpr int kEntryLamps = int(EntryLamp::Count);

EntryLamp LampOf(const TableEntry& entry, const ChartHashes& charts);
// The score's EX rate in percent; -1 when not held or not played.
int RateOf(const TableEntry& entry, const ChartHashes& charts);

// The entries of a level by lamp, indexed by EntryLamp.
struct LampCounts {
    long count[kEntryLamps] = {};
    long Total() const;
};
LampCounts CountLamps(const LevelGroup& group, const ChartHashes& charts);

// The song folders of the library by song: the folder holding the charts
// of a title (its bracketed suffix taken off, as the header reader takes
// it) and artist, for a missing entry whose song the player has, so that
// only the additional chart is needed. A song whose charts lie in several
// folders has none here: which one the chart belongs to is not known.
class SongFoldersByTitle {
  public:
    void Build(const std::vector<SongTitleRow>& rows);
    // The folder (CP932, folder form) of the entry's song; empty when none.
    std::string FolderOf(const TableEntry& entry) const;
    bool built() const { return built_; }

  private:
    std::unordered_map<std::string, std::string> folders_;  // key: see SongKey
    bool built_ = false;
};

struct ChangedEntry {
    std::string md5, title;
    std::string level;  // the new level; the old one for a removed entry
    std::string from;   // the old level of a moved entry
};

// What an update changed, by md5: entries added, removed and moved to
// another level. Entries without a valid md5 cannot be followed and are
// not counted here (they are counted as unmatchable).
struct TableChanges {
    bool first = true;  // the table was new: nothing to compare with
    std::vector<ChangedEntry> added, removed, moved;
};
TableChanges CompareTables(const TableData& before, const TableData& after);

}  // namespace qv5
