// Where an additional chart (a single chart file someone made for a song the
// player already has) belongs: the registered song folder that holds what the
// chart uses, as the game body would find it there. The install's --auto
// places charts by this rule; nothing here shows UI or changes a file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/win_path.h"

namespace qv5 {

class Progress;
struct ChartUse;  // what a chart uses, as the placement reads it

// The song folder a chart belongs to, and how well it fits.
struct Placement {
    std::string folder;        // internal, with its trailing "\"
    long found = 0, used = 0;  // the chart's used names, and those the folder holds
    bool certain = false;      // the chart's rare names make this folder the one
    // The weight of the found names and the winner's lead over the next
    // folder, in the weighing's units (below); for reports and measurements.
    double weight = 0, lead = 0;
};

// The last name of a reference or an archive's entry (after the last "\\" or
// "/" that is not a CP932 trail byte): "wav\\kick.wav" is looked up as
// "kick.wav".
std::string_view LastComponent(std::string_view name);

// "214 of 220 sounds found", in the language in use.
std::string PlacementShare(const Placement& placement);

// The file names of the song folders (folders that hold a chart), held for
// the run: looked up by stem (the last name without its extension, case
// folded), so that a chart's "kick.wav" finds a folder's "KICK.ogg".
class SongFolderIndex {
  public:
    // One walk of the song folders `roots` (config.xml's list; custom-folder
    // files have no files of their own and are passed over) by the rule the
    // scanner enters sub-folders by. A sub-folder without charts ("wav\")
    // lends its names to the song folder above it. False when `progress`
    // asked to stop (the index then holds what was walked).
    bool Build(const std::vector<std::string>& roots, Progress* progress);
    // Takes in files this program put into `folder` (a folder inside a song
    // folder) since the walk: `names` are entry names of that folder.
    void Add(const WinPath& folder, const std::vector<std::string>& names);
    size_t FolderCount() const { return folders_.size(); }

    struct Folder {
        std::string dir;                  // with its trailing "\"
        std::int64_t time = 0;            // the folder's last write, Unix seconds
        std::vector<std::string> names;   // its own entries, as listed
        std::vector<std::string> charts;  // the names of its charts
    };
    const Folder& folder(std::uint32_t id) const { return folders_[id]; }
    // The folders holding a file of the stem `hash` (StemHash), in no order:
    // those of the walk, then those Add took in since. Valid until Add.
    struct StemHolders {
        const std::uint32_t* walked = nullptr;
        std::uint32_t walked_count = 0;
        std::vector<std::uint32_t> added;
        // How many folders hold the stem: its document frequency.
        std::uint32_t count() const { return walked_count + std::uint32_t(added.size()); }
    };
    StemHolders Holders(std::uint64_t hash) const;
    static std::uint64_t StemHash(std::string_view file_name);
    static std::uint64_t FoldedStemHash(std::string_view folded_name);
    // Brings the stem's slot towards the cache before it is asked for.
    void Prefetch(std::uint64_t hash) const;

  private:
    struct Slot {
        std::uint64_t hash = 0;  // 0 for an empty slot
        std::uint32_t first = 0, count = 0;
    };
    const Slot* Find(std::uint64_t hash) const;
    std::uint32_t FolderId(const std::string& dir);
    void Seal();

    std::vector<Folder> folders_;
    std::unordered_map<std::string, std::uint32_t> ids_;  // by folder text
    // The walk's (stem, folder) pairs, sorted and made into one open-addressed
    // table of stems pointing into `postings_`: a chart's few hundred stems
    // then cost a probe or two each, not a search through millions of pairs.
    std::vector<Slot> slots_;
    std::vector<std::uint32_t> postings_;
    // What Add took in after the walk, kept apart (sorted), as it is small.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> added_;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> walked_;  // until sealed
};

// Places charts one after another, keeping what they share: the charts of
// one archive use much the same names and go to the same few folders, whose
// names and weights are then looked up once. The index must not change
// while a placer lives.
class ChartPlacer {
  public:
    explicit ChartPlacer(const SongFolderIndex& index);
    ~ChartPlacer();
    ChartPlacer(const ChartPlacer&) = delete;
    ChartPlacer& operator=(const ChartPlacer&) = delete;

    // The song folder of the chart file `chart`; nullopt when it cannot be
    // read or no folder holds at least 80% of at least 5 names it uses. A
    // Placement that is not certain names the best folder all the same.
    std::optional<Placement> PlaceFile(const WinPath& chart);
    // The same over the chart's bytes, read already.
    std::optional<Placement> Place(std::string_view bytes);
    // The charts of one archive, as its extraction holds them in memory:
    // their names are read on the chart readers' threads, side by side.
    std::vector<std::optional<Placement>> PlaceAll(const std::vector<std::string_view>& charts);

  private:
    struct Caches;
    std::optional<Placement> Weigh(const ChartUse& use);
    // `key` is the use's key (UseKey): one weighing for each.
    std::optional<Placement> PlaceNames(const std::vector<std::string_view>& names,
                                        std::string title, std::uint64_t key);
    const SongFolderIndex& index_;
    std::unique_ptr<Caches> caches_;
};

// One chart, or the charts of one archive, with a placer of their own.
std::optional<Placement> PlaceChart(const SongFolderIndex& index, const WinPath& chart);
std::optional<Placement> PlaceChartBytes(const SongFolderIndex& index, std::string_view bytes);
// The charts of one archive, as its extraction holds them in memory.
std::vector<std::optional<Placement>> PlaceCharts(const SongFolderIndex& index,
                                                  const std::vector<std::string_view>& charts);

// The names a chart uses (#WAV and #BMP names its channel lines place, and
// those always counted), as the placement reads them; views into `bytes`.
std::vector<std::string_view> ChartUsedNames(std::string_view bytes);

// A title without its bracketed suffix ("Song [ANOTHER]", "Song (HYPER)" and
// their full-width kinds give "Song"), case folded: the charts of one song.
std::string SongTitleBase(std::string_view title);

}  // namespace qv5
