#include "library/chart_placement.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <functional>

#include "library/chart_header.h"
#include "library/chart_names.h"
#include "library/chart_parse.h"
#include "library/chart_pipeline.h"
#include "library/chart_references.h"
#include "library/difficulty.h"
#include "library/subfolder_rule.h"
#include "platform/file_identity.h"
#include "platform/files.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/worker_pool.h"

namespace qv5 {

// The weighing. A chart's used names are compared with the folders' names by
// stem. A stem's weight is its inverse document frequency, scaled so that a
// stem only one folder holds weighs 1 and one that every folder holds next
// to nothing, whatever the size of the library:
//
//     w = ln((N + 1) / df) / ln(N + 1)     N folders, df of them hold the stem
//
// (a stem no folder holds weighs 1: it counts against every folder alike).
// "1.wav", "bgm.wav" and their kin, in thousands of folders, weigh about
// 0.0001 at 5,000 folders; "kick_a01.wav" in one folder weighs 1.
//
// Candidates are the folders holding one of the chart's stems, scored by the
// sum of the weights of the stems they hold (stems lighter than
// kScoringWeight are left out of the score: they are in most folders and
// only cost time). The best kChecked of them that may hold 80% of the names
// by the index's count are then checked exactly, name by name, as the library
// check looks a chart's files up (ReferencePresent); a folder left unchecked
// counts for the lead below by its score.
//
// A folder fits when it holds at least 80% of at least 5 used names. The
// folder that fits best wins; it is certain when
//   - the names it holds weigh at least kCertainWeight (three names that no
//     other folder holds, or some more that a few do): a chart of common names
//     fits hundreds of folders and says nothing about which; and
//   - its weighted share (the found names' weight over the used names') leads
//     the next folder's by kCertainLead, unless that folder fits too: then the
//     two hold the same song (an original and a remaster) and either plays the
//     chart; the order rule picked one.
// Measured on bench/chart_placement_bench's tree (5,000 folders of 300 files:
// 1.wav ... 9.wav and bgm.wav in each, a "kick" shared by 1% and a "snare" by
// 10% of them, the rest their own): a song's own additional chart weighs at
// least 288 in its folder with a lead of 1.00 (50 of 50 certain); a chart of
// the ten common names fits every folder and weighs 0.0002; charts of songs
// the library lacks fit no folder; a lacking song's chart whose 15 names are
// the common ten, one kick, one snare and three of its own fits the 50
// folders of that kick (12 of 15) and weighs at most 0.81, with no lead: none
// is certain.

// A chart's title and used names.
struct ChartUse {
    std::string title;
    std::vector<std::string> names;   // distinct as Wine tells names apart
    std::vector<std::string> folded;  // the same, case folded
};

namespace {

constexpr double kScoringWeight = 0.1;
constexpr size_t kChecked = 4;
constexpr double kCertainWeight = 3.0;
constexpr double kCertainLead = 0.25;
constexpr long kLeastUsed = 5;

std::int64_t Stamp(const FileTime& t) {
    return ((((std::int64_t(t.year) * 13 + t.month) * 32 + t.day) * 24 + t.hour) * 60 + t.minute) *
               60 +
           t.second;
}

// One pass over the song folders, as the library check walks them.
class IndexWalk {
  public:
    IndexWalk(Progress* progress,
              std::function<void(SongFolderIndex::Folder&&, std::vector<std::uint64_t>&&)> add)
        : progress_(progress),
          add_(std::move(add)),
          rule_([this]() -> const std::string& { return tree_; }) {}

    bool Root(const std::string& root) {
        if (IsCustomFolderName(WinPath(root).LastName())) return true;
        const std::string dir = WinPath(root).AsFolder().text();
        if (!IsDirectory(dir)) return true;
        if (const auto facts = LookUpEntry(dir))
            if (!rule_.MarkEntered(facts->id)) return true;
        tree_ = dir;
        rule_.Start(dir);
        std::vector<std::uint64_t> lent;
        Walk(dir, lent);
        return !stopped_;
    }

  private:
    // Whether `dir` holds a chart; one that does not hands its stems (and its
    // chartless sub-folders') up in `lent`.
    bool Walk(const std::string& dir, std::vector<std::uint64_t>& lent) {
        if (progress_ && progress_->StopRequested()) stopped_ = true;
        if (stopped_) return false;
        if (progress_) progress_->Update(++walked_, -1, dir);
        std::vector<DirEntry> entries;
        FileTime time;
        if (!ListFolder(dir, entries, ListDetail::NamesAndKinds, &time)) return false;
        SongFolderIndex::Folder folder;
        folder.dir = dir;
        folder.time = Stamp(time);
        std::vector<std::uint64_t> stems;
        stems.reserve(entries.size());
        for (DirEntry& e : entries) {
            if (e.directory) continue;
            if (IsChartName(e.name)) {
                folder.charts.push_back(e.name);
                continue;
            }
            stems.push_back(SongFolderIndex::StemHash(e.name));
            folder.names.push_back(std::move(e.name));
        }
        for (const DirEntry& e : entries) {
            if (!e.directory || stopped_) continue;
            const std::string sub = WinPath(dir).Join(e.name).AsFolder().text();
            const auto facts = LookUpEntry(sub);
            if (!rule_.Enters(sub, facts)) continue;
            rule_.Descend(facts);
            std::vector<std::uint64_t> sub_lent;
            if (!Walk(sub, sub_lent)) stems.insert(stems.end(), sub_lent.begin(), sub_lent.end());
            rule_.Ascend(facts);
        }
        if (folder.charts.empty()) {
            lent = std::move(stems);
            return false;
        }
        add_(std::move(folder), std::move(stems));
        return true;
    }

    Progress* progress_;
    std::function<void(SongFolderIndex::Folder&&, std::vector<std::uint64_t>&&)> add_;
    std::string tree_;
    SubfolderRule rule_;
    long walked_ = 0;
    bool stopped_ = false;
};

// Only the references and the title: a placement needs none of the rest of
// the header pass. Every branch of a #RANDOM block counts, as in the check;
// the last #TITLE read is the title. The names are views into `bytes`.
std::vector<std::string_view> ReadNames(std::string_view bytes, std::string& title) {
    if (const void* eof = std::memchr(bytes.data(), '\x1A', bytes.size()))
        bytes = bytes.substr(0, size_t(static_cast<const char*>(eof) - bytes.data()));
    const bool may_hold_nul = std::memchr(bytes.data(), '\0', bytes.size()) != nullptr;
    ChartReferences refs;
    std::string subtitle;
    std::int32_t difficulty = 0;
    ForEachChartPiece(bytes.data(), bytes.data() + bytes.size(), true, [&](std::string_view raw) {
        const std::string_view line = ChartLineText(raw, may_hold_nul);
        refs.Line(raw, line);
        if (line.size() > 6 && (line[1] == 'T' || line[1] == 't'))
            TitleDifficulty(line, "#TITLE", title, subtitle, difficulty);
    });
    return refs.UsedNames();
}

// The names distinct as Wine tells them apart, the first of each in the
// file's order.
ChartUse Distinct(const std::vector<std::string_view>& names, std::string title) {
    ChartUse use;
    use.title = std::move(title);
    std::vector<std::string> folded(names.size());
    std::vector<std::pair<std::uint64_t, size_t>> order(names.size());  // folded name's hash
    for (size_t i = 0; i < names.size(); ++i) {
        folded[i] = FoldNameCase(names[i]);
        order[i] = {std::hash<std::string_view>{}(folded[i]), i};
    }
    std::sort(order.begin(), order.end());
    std::vector<bool> kept(names.size(), false);
    for (size_t i = 0; i < order.size(); ++i) {
        bool again = false;
        for (size_t k = i; k > 0 && order[k - 1].first == order[i].first && !again; --k)
            again = folded[order[k - 1].second] == folded[order[i].second];
        if (!again) kept[order[i].second] = true;
    }
    for (size_t i = 0; i < names.size(); ++i)
        if (kept[i]) {
            use.names.emplace_back(names[i]);
            use.folded.push_back(std::move(folded[i]));
        }
    return use;
}

struct Candidate {
    std::uint32_t id = 0;
    double score = 0;  // from the index
    long found = 0;
    double weight = 0, share = 0;  // exact
    bool fits = false, same_title = false;
};

// The title bases of the charts a folder holds.
std::vector<std::string> TitleBases(const SongFolderIndex::Folder& folder) {
    std::vector<std::string> bases;
    for (const std::string& chart : folder.charts) {
        ChartRecord record;
        if (ReadChartHeader(record, WinPath(folder.dir).Join(chart).text()))
            bases.push_back(SongTitleBase(record.title));
    }
    return bases;
}

// The charts of one song in one archive mostly use the same names in the
// same order: those names and the title's base are weighed once.
std::uint64_t UseKey(const std::vector<std::string_view>& names, const std::string& title) {
    std::uint64_t key = std::hash<std::string>{}(SongTitleBase(title));
    for (std::string_view name : names)
        key = (key ^ std::hash<std::string_view>{}(name)) * 0x100000001B3ull;
    return key;
}

}  // namespace

std::string_view LastComponent(std::string_view name) {
    size_t start = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(c) && i + 1 < name.size())
            ++i;
        else if (c == '\\' || c == '/')
            start = i + 1;
    }
    return name.substr(start);
}

std::string PlacementShare(const Placement& p) {
    return Arg(Tr("ChartPlacement", "%2 個中 %1 個の音が見つかりました"),
               {std::to_string(p.found), std::to_string(p.used)});
}

std::uint64_t SongFolderIndex::StemHash(std::string_view file_name) {
    thread_local std::string folded;
    folded.assign(file_name);
    FoldNameCaseInPlace(folded);
    return FoldedStemHash(folded);
}

std::uint64_t SongFolderIndex::FoldedStemHash(std::string_view folded) {
    // The extension's dot: the last one, which a trail byte never is.
    const size_t dot = folded.rfind('.');
    if (dot != std::string_view::npos && dot > 0) folded = folded.substr(0, dot);
    const std::uint64_t h = std::hash<std::string_view>{}(folded);
    return h == 0 ? 1 : h;
}

void SongFolderIndex::Prefetch(std::uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
}

bool SongFolderIndex::Build(const std::vector<std::string>& roots, Progress* progress) {
    IndexWalk walk(progress, [this](Folder&& folder, std::vector<std::uint64_t>&& stems) {
        const std::uint32_t id = static_cast<std::uint32_t>(folders_.size());
        ids_.emplace(folder.dir, id);
        folders_.push_back(std::move(folder));
        for (std::uint64_t h : stems) walked_.emplace_back(h, id);
    });
    bool whole = true;
    for (const std::string& root : roots)
        if (!walk.Root(root)) {
            whole = false;
            break;
        }
    Seal();
    return whole;
}

void SongFolderIndex::Seal() {
    std::vector<std::pair<std::uint64_t, std::uint32_t>> pairs = std::move(walked_);
    walked_.clear();
    for (const Slot& s : slots_)
        if (s.hash != 0)
            for (std::uint32_t i = 0; i < s.count; ++i)
                pairs.emplace_back(s.hash, postings_[s.first + i]);
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    size_t distinct = 0;
    for (size_t i = 0; i < pairs.size(); ++i)
        if (i == 0 || pairs[i].first != pairs[i - 1].first) ++distinct;
    size_t size = 16;
    while (size < 2 * distinct) size *= 2;
    slots_.assign(size, Slot{});
    postings_.resize(pairs.size());
    for (size_t i = 0; i < pairs.size();) {
        size_t j = i;
        while (j < pairs.size() && pairs[j].first == pairs[i].first) {
            postings_[j] = pairs[j].second;
            ++j;
        }
        size_t at = pairs[i].first & (size - 1);
        while (slots_[at].hash != 0) at = (at + 1) & (size - 1);
        slots_[at] = {pairs[i].first, std::uint32_t(i), std::uint32_t(j - i)};
        i = j;
    }
}

const SongFolderIndex::Slot* SongFolderIndex::Find(std::uint64_t hash) const {
    if (slots_.empty()) return nullptr;
    const size_t mask = slots_.size() - 1;
    for (size_t at = hash & mask; slots_[at].hash != 0; at = (at + 1) & mask)
        if (slots_[at].hash == hash) return &slots_[at];
    return nullptr;
}

std::uint32_t SongFolderIndex::FolderId(const std::string& dir) {
    const auto [it, inserted] = ids_.emplace(dir, std::uint32_t(folders_.size()));
    if (inserted) {
        Folder folder;
        folder.dir = dir;
        if (const auto time = WriteTime(dir)) folder.time = Stamp(*time);
        folders_.push_back(std::move(folder));
    }
    return it->second;
}

void SongFolderIndex::Add(const WinPath& folder_path, const std::vector<std::string>& names) {
    const std::uint32_t id = FolderId(folder_path.AsFolder().text());
    Folder& folder = folders_[id];
    for (const std::string& name : names) {
        std::vector<std::string>& list = IsChartName(name) ? folder.charts : folder.names;
        if (std::find(list.begin(), list.end(), name) != list.end()) continue;
        list.push_back(name);
        if (&list == &folder.charts) continue;
        const auto pair = std::make_pair(StemHash(name), id);
        const auto at = std::lower_bound(added_.begin(), added_.end(), pair);
        if (at == added_.end() || *at != pair) added_.insert(at, pair);
    }
    // Kept apart while small; a long run of installs folds them into the table.
    if (added_.size() > 4096) {
        walked_ = std::move(added_);
        added_.clear();
        Seal();
    }
}

SongFolderIndex::StemHolders SongFolderIndex::Holders(std::uint64_t hash) const {
    StemHolders h;
    const Slot* s = Find(hash);
    if (s) {
        h.walked = postings_.data() + s->first;
        h.walked_count = s->count;
    }
    const auto lo = std::lower_bound(added_.begin(), added_.end(), std::make_pair(hash, 0u));
    for (auto it = lo; it != added_.end() && it->first == hash; ++it)
        if (std::find(h.walked, h.walked + h.walked_count, it->second) == h.walked + h.walked_count)
            h.added.push_back(it->second);
    return h;
}

struct ChartPlacer::Caches {
    struct Stem {
        double weight = 0;
        SongFolderIndex::StemHolders holders;
    };
    std::unordered_map<std::uint64_t, Stem> stems;
    std::unordered_map<std::uint32_t, std::unique_ptr<FolderNames>> names;
    std::unordered_map<std::uint32_t, std::vector<std::string>> titles;  // bases
    std::vector<double> score;
    std::vector<std::uint32_t> held, touched;
    std::unordered_map<std::uint64_t, std::optional<Placement>> placed;  // by names and title
    FileBuffer buffer;
};

ChartPlacer::ChartPlacer(const SongFolderIndex& index)
    : index_(index), caches_(std::make_unique<Caches>()) {}
ChartPlacer::~ChartPlacer() = default;

std::optional<Placement> ChartPlacer::Place(std::string_view bytes) {
    std::string title;
    const std::vector<std::string_view> names = ReadNames(bytes, title);
    const std::uint64_t key = UseKey(names, title);
    return PlaceNames(names, std::move(title), key);
}

std::vector<std::optional<Placement>> ChartPlacer::PlaceAll(
    const std::vector<std::string_view>& charts) {
    struct Read {
        std::string title;
        std::vector<std::string_view> names;
        std::uint64_t key = 0;
    };
    std::vector<Read> read(charts.size());
    auto read_one = [&](size_t i) {
        read[i].names = ReadNames(charts[i], read[i].title);
        read[i].key = UseKey(read[i].names, read[i].title);
    };
    // The charts are read first, then each distinct use weighed once: the
    // charts of a song, wherever they lie in the archive, cost one weighing.
    // Both go on the chart readers' threads, a run of charts to a task (a
    // task a chart would cost more in hand-overs than the reading), each
    // weighing with a placer of its worker's own (the placers' caches are
    // not shared between threads; the index is only read).
    constexpr size_t kRun = 8;
    const unsigned workers = ChartReadWorkers();
    const bool parallel = workers > 1 && charts.size() > kRun;
    std::optional<PoolResults<size_t>> pool;
    if (parallel) {
        pool.emplace(workers, (charts.size() + kRun - 1) / kRun, ResultOrder::Finished);
        for (size_t from = 0; from < charts.size(); from += kRun)
            pool->Submit([&, from](unsigned, const std::atomic<bool>&) {
                for (size_t i = from; i < std::min(from + kRun, charts.size()); ++i) read_one(i);
                return from;
            });
        while (pool->in_flight() > 0) pool->Take(std::chrono::milliseconds(1000));
    } else {
        for (size_t i = 0; i < charts.size(); ++i) read_one(i);
    }
    std::unordered_map<std::uint64_t, size_t> first;  // a use's key, its slot in `weighed`
    std::vector<size_t> distinct;                     // a chart of each use
    for (size_t i = 0; i < charts.size(); ++i)
        if (first.try_emplace(read[i].key, distinct.size()).second) distinct.push_back(i);
    std::vector<std::optional<Placement>> weighed(distinct.size());
    if (parallel && distinct.size() > 1) {
        std::vector<std::unique_ptr<ChartPlacer>> placers(pool->threads());
        for (auto& placer : placers) placer = std::make_unique<ChartPlacer>(index_);
        for (size_t k = 0; k < distinct.size(); ++k)
            pool->Submit([&, k](unsigned worker, const std::atomic<bool>&) {
                assert(worker < placers.size());
                Read& r = read[distinct[k]];
                weighed[k] = placers[worker]->PlaceNames(r.names, r.title, r.key);
                return k;
            });
        while (pool->in_flight() > 0) pool->Take(std::chrono::milliseconds(1000));
    } else {
        for (size_t k = 0; k < distinct.size(); ++k) {
            Read& r = read[distinct[k]];
            weighed[k] = PlaceNames(r.names, r.title, r.key);
        }
    }
    std::vector<std::optional<Placement>> placed;
    placed.reserve(charts.size());
    for (const Read& r : read) placed.push_back(weighed[first.at(r.key)]);
    return placed;
}

std::optional<Placement> ChartPlacer::PlaceNames(const std::vector<std::string_view>& names,
                                                 std::string title, std::uint64_t key) {
    const auto [it, made] = caches_->placed.try_emplace(key);
    if (made) it->second = Weigh(Distinct(names, std::move(title)));
    return it->second;
}

std::optional<Placement> ChartPlacer::Weigh(const ChartUse& use) {
    const SongFolderIndex& index = index_;
    Caches& cache = *caches_;
    const size_t n = index.FolderCount();
    if (n == 0) return std::nullopt;
    const long used = long(use.names.size());
    if (used < kLeastUsed) return std::nullopt;

    const double scale = std::log(double(n) + 1);
    std::vector<Caches::Stem*> stems(use.names.size());
    std::vector<std::uint64_t> hashes(use.names.size());
    double total = 0;
    // The stems' slots are spread over a table of millions: asked for all
    // at once, their cache misses overlap.
    for (size_t i = 0; i < use.names.size(); ++i) {
        hashes[i] = SongFolderIndex::FoldedStemHash(LastComponent(use.folded[i]));
        index.Prefetch(hashes[i]);
    }
    cache.stems.reserve(cache.stems.size() + use.names.size());
    for (size_t i = 0; i < use.names.size(); ++i) {
        auto [it, made] = cache.stems.try_emplace(hashes[i]);
        if (made) {
            it->second.holders = index.Holders(hashes[i]);
            const std::uint32_t df = it->second.holders.count();
            it->second.weight = df == 0 ? 1.0 : std::log((double(n) + 1) / double(df)) / scale;
        }
        stems[i] = &it->second;
        total += it->second.weight;
    }

    // The index's score of each folder holding a stem (a stem used by two
    // names, kick.wav and kick.bmp, scores once), and how many of the names
    // it may hold at most: a folder that cannot reach 80% is not checked.
    std::vector<double>& score = cache.score;
    std::vector<std::uint32_t>& held = cache.held;
    std::vector<std::uint32_t>& touched = cache.touched;
    for (std::uint32_t f : touched) score[f] = 0, held[f] = 0;
    score.resize(n, 0);
    held.resize(n, 0);
    touched.clear();
    long light = 0;  // names of stems left out of the score
    // Which names share their stem with an earlier one.
    std::vector<bool> again(stems.size(), false);
    {
        std::vector<std::pair<std::uint64_t, size_t>> sorted(stems.size());
        for (size_t i = 0; i < stems.size(); ++i) sorted[i] = {hashes[i], i};
        std::sort(sorted.begin(), sorted.end());
        for (size_t k = 1; k < sorted.size(); ++k)
            if (sorted[k].first == sorted[k - 1].first) again[sorted[k].second] = true;
    }
    auto tally = [&](double least) {
        light = 0;
        for (size_t i = 0; i < stems.size(); ++i) {
            if (stems[i]->weight < least) {
                ++light;
                continue;
            }
            const SongFolderIndex::StemHolders& holders = stems[i]->holders;
            const bool met = again[i];
            auto count = [&](std::uint32_t f) {
                ++held[f];
                if (met) return;
                if (score[f] == 0) touched.push_back(f);
                score[f] += stems[i]->weight;
            };
            std::for_each(holders.walked, holders.walked + holders.walked_count, count);
            std::for_each(holders.added.begin(), holders.added.end(), count);
        }
    };
    tally(kScoringWeight);
    if (touched.empty()) tally(0);  // common names only: some folder is named all the same
    auto newer = [&](std::uint32_t a, std::uint32_t b) {
        const SongFolderIndex::Folder &fa = index.folder(a), &fb = index.folder(b);
        return fa.time != fb.time ? fa.time > fb.time : fa.dir < fb.dir;
    };
    auto better = [&](std::uint32_t a, std::uint32_t b) {
        return score[a] != score[b] ? score[a] > score[b] : newer(a, b);
    };
    std::vector<std::uint32_t> possible;
    for (std::uint32_t f : touched)
        if ((long(held[f]) + light) * 5 >= used * 4) possible.push_back(f);
    if (possible.empty()) return std::nullopt;
    const size_t considered = std::min(possible.size(), kChecked);
    std::partial_sort(possible.begin(), possible.begin() + long(considered), possible.end(),
                      better);

    std::vector<Candidate> checked;
    for (size_t k = 0; k < considered; ++k) {
        Candidate c;
        c.id = possible[k];
        c.score = score[c.id];
        const SongFolderIndex::Folder& folder = index.folder(c.id);
        std::unique_ptr<FolderNames>& names = cache.names[c.id];
        if (!names) names = std::make_unique<FolderNames>(folder.names);
        for (size_t i = 0; i < use.names.size(); ++i) {
            if (ReferencePresent(folder.dir, *names, use.names[i])) {
                ++c.found;
                c.weight += stems[i]->weight;
            }
        }
        c.share = total > 0 ? c.weight / total : 0;
        c.fits = c.found * 5 >= used * 4;
        checked.push_back(c);
    }
    std::vector<Candidate*> fitting;
    for (Candidate& c : checked)
        if (c.fits) fitting.push_back(&c);
    if (fitting.empty()) return std::nullopt;
    // The title decides only between folders the share cannot tell apart.
    long best_found = 0;
    for (const Candidate* c : fitting) best_found = std::max(best_found, c->found);
    if (std::count_if(fitting.begin(), fitting.end(),
                      [&](auto* c) { return c->found == best_found; }) > 1) {
        const std::string base = SongTitleBase(use.title);
        for (Candidate* c : fitting) {
            if (c->found != best_found || base.empty()) continue;
            auto [it, made] = cache.titles.try_emplace(c->id);
            if (made) it->second = TitleBases(index.folder(c->id));
            c->same_title =
                std::find(it->second.begin(), it->second.end(), base) != it->second.end();
        }
    }
    std::sort(fitting.begin(), fitting.end(), [&](const Candidate* a, const Candidate* b) {
        if (a->found != b->found) return a->found > b->found;
        if (a->same_title != b->same_title) return a->same_title;
        return newer(a->id, b->id);
    });
    const Candidate& winner = *fitting.front();

    // The next folder: the best other one checked, or the first left unchecked.
    double next_share = 0;
    bool next_fits = false;
    for (const Candidate& c : checked) {
        if (c.id == winner.id || c.share < next_share) continue;
        next_share = c.share;
        next_fits = c.fits;
    }
    // A folder left unchecked is judged by its score, which is at least the
    // weight it could be found to hold.
    for (std::uint32_t f : touched) {
        if (total <= 0 || score[f] / total <= next_share) continue;
        if (std::any_of(checked.begin(), checked.end(),
                        [&](const Candidate& c) { return c.id == f; }))
            continue;
        next_share = score[f] / total;
        next_fits = false;
    }
    Placement p;
    p.folder = index.folder(winner.id).dir;
    p.found = winner.found;
    p.used = used;
    p.weight = winner.weight;
    p.lead = winner.share - next_share;
    p.certain = winner.weight >= kCertainWeight && (p.lead >= kCertainLead || next_fits);
    return p;
}

std::optional<Placement> ChartPlacer::PlaceFile(const WinPath& chart) {
    FileBuffer& buffer = caches_->buffer;
    if (buffer.Read(chart.text(), kWholeReadBytes)) return Place(buffer.view());
    if (!buffer.too_large()) return std::nullopt;
    const auto size = FileSize(chart.text());
    std::string bytes;
    if (!size || *size > kLargestChartBytes || !ReadWholeFile(chart.text(), bytes))
        return std::nullopt;
    return Place(bytes);
}

std::optional<Placement> PlaceChart(const SongFolderIndex& index, const WinPath& chart) {
    return ChartPlacer(index).PlaceFile(chart);
}

std::optional<Placement> PlaceChartBytes(const SongFolderIndex& index, std::string_view bytes) {
    return ChartPlacer(index).Place(bytes);
}

std::vector<std::optional<Placement>> PlaceCharts(const SongFolderIndex& index,
                                                  const std::vector<std::string_view>& charts) {
    return ChartPlacer(index).PlaceAll(charts);
}

std::vector<std::string_view> ChartUsedNames(std::string_view bytes) {
    std::string title;
    return ReadNames(bytes, title);
}

std::string SongTitleBase(std::string_view title) {
    // The characters' starts, so that a trail byte is never taken for a bracket.
    std::vector<size_t> starts;
    for (size_t i = 0; i < title.size(); ++i) {
        starts.push_back(i);
        if (IsLeadByte(static_cast<unsigned char>(title[i])) && i + 1 < title.size()) ++i;
    }
    auto trimmed = [&](size_t end) {
        while (end > 0 && (title[end - 1] == ' ' || title[end - 1] == '\t')) --end;
        return end;
    };
    size_t end = trimmed(title.size());
    struct Pair {
        std::string_view open, close;
    };
    static constexpr Pair kPairs[] = {{"[", "]"},
                                      {"(", ")"},
                                      {"\x81\x6D", "\x81\x6E"},   // ［］
                                      {"\x81\x69", "\x81\x6A"},   // （）
                                      {"\x81\x79", "\x81\x7A"}};  // 【】
    for (const Pair& pair : kPairs) {
        if (end < pair.close.size() ||
            title.substr(0, end).substr(end - pair.close.size()) != pair.close)
            continue;
        const size_t close_at = end - pair.close.size();
        if (!std::binary_search(starts.begin(), starts.end(), close_at)) continue;
        for (auto it = std::lower_bound(starts.begin(), starts.end(), close_at);
             it != starts.begin();) {
            --it;
            if (title.substr(*it, pair.open.size()) == pair.open && *it > 0) {
                end = trimmed(*it);
                break;
            }
        }
        break;
    }
    return FoldNameCase(title.substr(0, end));
}

}  // namespace qv5
