#include "library/chart_placement.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "library/chart_header.h"
#include "library/chart_names.h"
#include "library/chart_parse.h"
#include "library/chart_references.h"
#include "library/subfolder_rule.h"
#include "platform/file_identity.h"
#include "platform/files.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/tr.h"

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
// only cost time). The best kChecked of them are then checked exactly, name
// by name, as the library check looks a chart's files up (ReferencePresent).
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
// Measured on bench/chart_placement_bench's tree (5,000 folders of 300 files
// with 1.wav ... 9.wav and bgm.wav in each, a few names shared by 1% to 10%
// of them, the rest their own): a song's own chart weighs about 250 in its
// folder with a lead of 0.98; a chart of the ten common names weighs 0.002;
// a chart of a song the library lacks, of the shared names and its own,
// weighs at most 1.3 in any folder and does not fit.
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

// The last name of a reference: "wav\kick.wav" is looked up as "kick".
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

std::vector<DirEntry> Entries(const std::vector<std::string>& names) {
    std::vector<DirEntry> entries(names.size());
    for (size_t i = 0; i < names.size(); ++i) entries[i].name = names[i];
    return entries;
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

// A chart's title and used names.
struct ChartUse {
    std::string title;
    std::vector<std::string> names;  // distinct as Wine tells names apart
};

ChartUse ReadUse(std::string_view bytes) {
    if (const void* eof = std::memchr(bytes.data(), '\x1A', bytes.size()))
        bytes = bytes.substr(0, size_t(static_cast<const char*>(eof) - bytes.data()));
    ChartRecord record;
    ChartParseState state;
    state.may_hold_nul = std::memchr(bytes.data(), '\0', bytes.size()) != nullptr;
    ChartReferences refs;
    ForEachChartPiece(bytes.data(), bytes.data() + bytes.size(), true, [&](std::string_view raw) {
        const std::string_view line = ParseChartLine(record, state, raw);
        refs.Line(raw, line);
    });
    ChartUse use;
    use.title = std::move(record.title);
    std::vector<std::string> folded;
    for (std::string_view name : refs.UsedNames()) {
        std::string key = FoldNameCase(name);
        if (std::find(folded.begin(), folded.end(), key) != folded.end()) continue;
        folded.push_back(std::move(key));
        use.names.emplace_back(name);
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

bool HoldsTitle(const SongFolderIndex::Folder& folder, const std::string& base) {
    if (base.empty()) return false;
    for (const std::string& chart : folder.charts) {
        ChartRecord record;
        if (ReadChartHeader(record, WinPath(folder.dir).Join(chart).text()) &&
            SongTitleBase(record.title) == base)
            return true;
    }
    return false;
}

}  // namespace

std::string PlacementShare(const Placement& p) {
    return Arg(Tr("ChartPlacement", "%2 個中 %1 個の音が見つかりました"),
               {std::to_string(p.found), std::to_string(p.used)});
}

std::uint64_t SongFolderIndex::StemHash(std::string_view file_name) {
    thread_local std::string stem;
    stem.assign(file_name);
    FoldNameCaseInPlace(stem);
    // The extension's dot: the last one, which a trail byte never is.
    const size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.resize(dot);
    const std::uint64_t h = std::hash<std::string_view>{}(stem);
    return h == 0 ? 1 : h;
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

void SongFolderIndex::FoldersWithStem(std::uint64_t hash, std::vector<std::uint32_t>& out) const {
    const size_t before = out.size();
    if (const Slot* s = Find(hash))
        out.insert(out.end(), postings_.begin() + s->first,
                   postings_.begin() + s->first + s->count);
    const auto lo = std::lower_bound(added_.begin(), added_.end(), std::make_pair(hash, 0u));
    for (auto it = lo; it != added_.end() && it->first == hash; ++it)
        if (std::find(out.begin() + long(before), out.end(), it->second) == out.end())
            out.push_back(it->second);
}

std::uint32_t SongFolderIndex::StemFolders(std::uint64_t hash) const {
    const Slot* s = Find(hash);
    std::uint32_t n = s ? s->count : 0;
    const auto lo = std::lower_bound(added_.begin(), added_.end(), std::make_pair(hash, 0u));
    for (auto it = lo; it != added_.end() && it->first == hash; ++it) {
        const bool walked =
            s && std::find(postings_.begin() + s->first, postings_.begin() + s->first + s->count,
                           it->second) != postings_.begin() + s->first + s->count;
        if (!walked) ++n;
    }
    return n;
}

std::optional<Placement> PlaceChartBytes(const SongFolderIndex& index, std::string_view bytes) {
    const size_t n = index.FolderCount();
    if (n == 0) return std::nullopt;
    const ChartUse use = ReadUse(bytes);
    const long used = long(use.names.size());
    if (used < kLeastUsed) return std::nullopt;

    const double scale = std::log(double(n) + 1);
    std::vector<std::uint64_t> stems(use.names.size());
    std::vector<double> weights(use.names.size());
    double total = 0;
    for (size_t i = 0; i < use.names.size(); ++i) {
        stems[i] = SongFolderIndex::StemHash(LastComponent(use.names[i]));
        const std::uint32_t df = index.StemFolders(stems[i]);
        weights[i] = df == 0 ? 1.0 : std::log((double(n) + 1) / df) / scale;
        total += weights[i];
    }

    // The index's score of each folder holding a stem; a stem used by two
    // names (kick.wav and kick.bmp) scores once.
    thread_local std::vector<double> score;
    thread_local std::vector<std::uint32_t> touched, holders;
    score.assign(n, 0);
    touched.clear();
    auto tally = [&](double least) {
        std::vector<std::uint64_t> seen;
        for (size_t i = 0; i < stems.size(); ++i) {
            if (weights[i] < least) continue;
            if (std::find(seen.begin(), seen.end(), stems[i]) != seen.end()) continue;
            seen.push_back(stems[i]);
            holders.clear();
            index.FoldersWithStem(stems[i], holders);
            for (std::uint32_t f : holders) {
                if (score[f] == 0) touched.push_back(f);
                score[f] += weights[i];
            }
        }
    };
    tally(kScoringWeight);
    if (touched.empty()) tally(0);  // common names only: some folder is named all the same
    if (touched.empty()) return std::nullopt;
    auto better = [&](std::uint32_t a, std::uint32_t b) {
        if (score[a] != score[b]) return score[a] > score[b];
        if (index.folder(a).time != index.folder(b).time)
            return index.folder(a).time > index.folder(b).time;
        return index.folder(a).dir < index.folder(b).dir;
    };
    const size_t considered = std::min(touched.size(), kChecked + 1);
    std::partial_sort(touched.begin(), touched.begin() + long(considered), touched.end(), better);

    std::vector<Candidate> checked;
    for (size_t k = 0; k < considered && k < kChecked; ++k) {
        Candidate c;
        c.id = touched[k];
        c.score = score[c.id];
        const SongFolderIndex::Folder& folder = index.folder(c.id);
        const FolderNames names(Entries(folder.names));
        for (size_t i = 0; i < use.names.size(); ++i)
            if (ReferencePresent(folder.dir, names, use.names[i])) {
                ++c.found;
                c.weight += weights[i];
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
    const long best_found =
        (*std::max_element(fitting.begin(), fitting.end(), [](auto* a, auto* b) {
            return a->found < b->found;
        }))->found;
    if (std::count_if(fitting.begin(), fitting.end(),
                      [&](auto* c) { return c->found == best_found; }) > 1) {
        const std::string base = SongTitleBase(use.title);
        for (Candidate* c : fitting)
            if (c->found == best_found) c->same_title = HoldsTitle(index.folder(c->id), base);
    }
    std::sort(fitting.begin(), fitting.end(), [&](const Candidate* a, const Candidate* b) {
        if (a->found != b->found) return a->found > b->found;
        if (a->same_title != b->same_title) return a->same_title;
        const SongFolderIndex::Folder &fa = index.folder(a->id), &fb = index.folder(b->id);
        return fa.time != fb.time ? fa.time > fb.time : fa.dir < fb.dir;
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
    if (considered > kChecked && total > 0 && score[touched[kChecked]] / total > next_share) {
        next_share = score[touched[kChecked]] / total;
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

std::optional<Placement> PlaceChart(const SongFolderIndex& index, const WinPath& chart) {
    FileBuffer buffer;
    if (buffer.Read(chart.text(), kWholeReadBytes)) return PlaceChartBytes(index, buffer.view());
    if (!buffer.too_large()) return std::nullopt;
    const auto size = FileSize(chart.text());
    std::string bytes;
    if (!size || *size > kLargestChartBytes || !ReadWholeFile(chart.text(), bytes))
        return std::nullopt;
    return PlaceChartBytes(index, bytes);
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
