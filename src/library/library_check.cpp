#include "library/library_check.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <unordered_map>
#include <utility>

#include "library/chart_header.h"
#include "library/chart_names.h"
#include "library/chart_pipeline.h"
#include "library/check_readers.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "library/subfolder_rule.h"
#include "platform/database.h"
#include "platform/file_identity.h"
#include "platform/files.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

int ReportRank(CheckKind kind) {
    for (int rank = 0; rank < kCheckKinds; ++rank)
        if (kReportOrder[rank] == kind) return rank;
    return kCheckKinds;
}

}  // namespace

namespace {

// Charts handed to the readers and not yet back: enough to keep every
// reader busy, few enough that memory does not follow the library's size.
constexpr size_t kReadAhead = 256;
// While it waits for the readers the check still reports this often, so a
// progress window stays painted and its Stop button answers.
constexpr std::chrono::milliseconds kWaitSlice{50};

// The paths of library rows, held as 64-bit hashes with a mark each: what
// the walk met is marked, and only the few unmarked rows are asked of the
// disk at the end. Memory stays at 16 bytes a row whatever the paths.
class RowSet {
  public:
    void Add(std::string_view path) {
        if ((count_ + 1) * 2 > slots_.size()) Grow();
        const std::uint64_t h = Hash(path);
        size_t i = Find(h);
        if (slots_[i] == 0) {
            slots_[i] = h;
            ++count_;
        }
    }
    // Marks the path; false when no row has it.
    bool Mark(std::string_view path) {
        if (slots_.empty()) return false;
        const size_t i = Find(Hash(path));
        if (slots_[i] == 0) return false;
        marked_[i] = true;
        return true;
    }
    bool Marked(std::string_view path) const {
        if (slots_.empty()) return false;
        const size_t i = Find(Hash(path));
        return slots_[i] != 0 && marked_[i];
    }

  private:
    static std::uint64_t Hash(std::string_view path) {
        const std::uint64_t h = std::hash<std::string_view>{}(path);
        return h == 0 ? 1 : h;
    }
    size_t Find(std::uint64_t h) const {
        const size_t mask = slots_.size() - 1;
        size_t i = h & mask;
        while (slots_[i] != 0 && slots_[i] != h) i = (i + 1) & mask;
        return i;
    }
    void Grow() {
        std::vector<std::uint64_t> old = std::move(slots_);
        slots_.assign(old.empty() ? 64 : old.size() * 2, 0);
        marked_.assign(slots_.size(), false);
        for (std::uint64_t h : old)
            if (h != 0) slots_[Find(h)] = h;
    }
    std::vector<std::uint64_t> slots_;
    std::vector<bool> marked_;
    size_t count_ = 0;
};


bool HexDigest(const std::string& hex, unsigned char out[16]) {
    if (hex.size() != 32) return false;
    for (size_t i = 0; i < 16; ++i) {
        auto v = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
        out[i] = static_cast<unsigned char>(v(hex[2 * i]) * 16 + v(hex[2 * i + 1]));
    }
    return true;
}

class Check {
  public:
    Check(Database& db, const CheckOptions& options, Progress* progress, CheckResult& result)
        : db_(db), options_(options), progress_(progress), result_(result) {}

    void Run() {
        if (!LoadRows()) return;
        const bool read = options_.Wants(CheckKind::Duplicates) ||
                          options_.Wants(CheckKind::Missing) ||
                          options_.Wants(CheckKind::Unreadable);
        if (read)
            readers_ = std::make_unique<CheckReaders>(ChartReadWorkers(),
                                                      options_.Wants(CheckKind::Missing));
        for (const std::string& root : options_.roots) {
            if (Stopped()) break;
            WalkRoot(root);
        }
        while (readers_ && readers_->in_flight() > 0 && !Stopped()) Collect(kWaitSlice);
        if (readers_) Collect(std::chrono::milliseconds(0));  // what a stop leaves read
        readers_.reset();
        if (options_.Wants(CheckKind::Duplicates)) FindDuplicates();
        // Rows below folders the walk never reached are not known to be gone.
        if (!result_.stopped && options_.Wants(CheckKind::OutOfDate)) FindVanishedRows();
        Sort();
    }

  private:
    void Add(CheckFinding f) {
        if (options_.Wants(KindOf(f.reason))) result_.findings.push_back(std::move(f));
    }
    void Add(CheckReason reason, std::string path) {
        CheckFinding f{reason, std::move(path), {}, {}, 0, {}, {}};
        Add(std::move(f));
    }

    bool Stopped() {
        if (progress_ && progress_->StopRequested()) result_.stopped = true;
        return result_.stopped;
    }

    void Report() {
        if (progress_) progress_->Update(result_.charts, -1, current_);
    }

    bool LoadRows() {
        Statement songs = db_.Prepare("SELECT path, hash FROM song");
        Statement folders = db_.Prepare("SELECT path FROM folder");
        if (!songs || !folders) {
            result_.error = db_.LastError();
            return false;
        }
        while (songs.Step()) {
            const std::string path = songs.Text(0);
            song_rows_.Add(path);
            if (songs.IsNull(1) || songs.Text(1).empty()) Add(CheckReason::EmptyHash, path);
        }
        while (folders.Step()) folder_rows_.Add(folders.Text(0));
        if (songs.Failed() || folders.Failed()) {
            result_.error = db_.LastError();
            result_.findings.clear();
            return false;
        }
        return true;
    }

    void WalkRoot(const std::string& root) {
        if (IsCustomFolderName(WinPath(root).LastName())) {
            if (!PathExists(root)) return Add(CheckReason::SongFolderMissing, root);
            folder_rows_.Mark(root);
            return;
        }
        const std::string dir = WinPath(root).AsFolder().text();
        if (!IsDirectory(dir)) return Add(CheckReason::SongFolderMissing, root);
        folder_rows_.Mark(root);
        folder_rows_.Mark(dir);
        if (const auto facts = LookUpEntry(dir)) {
            if (!rule_.MarkEntered(facts->id)) return;
        }
        tree_ = dir;
        rule_.Start(dir);
        Walk(dir);
    }

    // Depth-first, in listing order, into the sub-folders the scanner
    // enters, by the scanner's own rule (SubfolderRule).
    void Walk(const std::string& dir) {
        if (Stopped()) return;
        current_ = dir;
        ++result_.folders;
        Report();
        std::vector<DirEntry> entries;
        std::vector<UnheldName> unheld;
        if (!ListFolder(dir, entries, ListDetail::NamesAndKinds, nullptr, &unheld)) return;
        for (UnheldName& u : unheld) {
            CheckFinding f{CheckReason::NoShiftJisForm, dir, std::move(u.host_path),
                           std::move(u.character), 0, {}, {}};
            Add(std::move(f));
        }
        std::shared_ptr<const CheckFolder> folder;
        std::uint32_t dir_index = 0;
        for (const DirEntry& e : entries) {
            if (Stopped()) return;
            if (!FitsHostPath(dir, e.name)) {
                CheckFinding f{CheckReason::TooLong, dir, Cp932ToUtf8(HostPathForMessage(dir + e.name)),
                               {}, 0, {}, {}};
                Add(std::move(f));
                continue;
            }
            if (e.directory) {
                const std::string sub = WinPath(dir).Join(e.name).AsFolder().text();
                const auto facts = LookUpEntry(sub);
                if (!rule_.Enters(sub, facts)) continue;
                folder_rows_.Mark(sub);
                rule_.Descend(facts);
                Walk(sub);
                rule_.Ascend(facts);
                current_ = dir;
            } else if (IsChartName(e.name)) {
                const std::string path = dir + e.name;
                if (!song_rows_.Mark(path)) Add(CheckReason::ChartNotInLibrary, path);
                if (!readers_) continue;
                if (!folder) {
                    auto made = std::make_shared<CheckFolder>(CheckFolder{dir, FolderNames(entries)});
                    folder = std::move(made);
                    dir_index = static_cast<std::uint32_t>(dirs_.size());
                    dirs_.push_back(dir);
                }
                Chart chart;
                chart.dir = dir_index;
                chart.name_at = static_cast<std::uint32_t>(names_.size());
                chart.name_size = static_cast<std::uint32_t>(e.name.size());
                names_ += e.name;
                charts_.push_back(chart);
                readers_->Submit({path, folder, static_cast<std::uint32_t>(charts_.size() - 1)});
                Collect(readers_->in_flight() >= kReadAhead ? kWaitSlice
                                                            : std::chrono::milliseconds(0));
            } else if (IsCustomFolderName(e.name)) {
                folder_rows_.Mark(dir + e.name);
            }
        }
    }

    std::string ChartPath(std::uint32_t index) const {
        const Chart& c = charts_[index];
        return dirs_[c.dir] + names_.substr(c.name_at, c.name_size);
    }

    void Collect(std::chrono::milliseconds wait) {
        results_.clear();
        readers_->Take(results_, wait);
        for (CheckReadResult& r : results_) {
            ++result_.charts;
            Chart& chart = charts_[r.index];
            if (!r.opened) {
                Add(r.too_large ? CheckReason::TooLarge : CheckReason::CannotOpen,
                    ChartPath(r.index));
                continue;
            }
            chart.hashed = HexDigest(r.hash, chart.digest);
            if (r.notes == 0) Add(CheckReason::NoNotes, ChartPath(r.index));
            if (r.missing > 0) {
                CheckFinding f{CheckReason::MissingFiles, ChartPath(r.index), {}, {}, r.missing,
                               std::move(r.missing_names), {}};
                Add(std::move(f));
            }
        }
        if (wait.count() > 0 || !results_.empty()) Report();
    }

    void FindDuplicates() {
        std::vector<std::uint32_t> order;
        for (std::uint32_t i = 0; i < charts_.size(); ++i)
            if (charts_[i].hashed) order.push_back(i);
        auto digest_less = [this](std::uint32_t a, std::uint32_t b) {
            const int c = std::memcmp(charts_[a].digest, charts_[b].digest, 16);
            return c != 0 ? c < 0 : a < b;
        };
        std::sort(order.begin(), order.end(), digest_less);
        for (size_t i = 0; i < order.size();) {
            size_t j = i + 1;
            while (j < order.size() &&
                   std::memcmp(charts_[order[i]].digest, charts_[order[j]].digest, 16) == 0)
                ++j;
            if (j - i > 1) {
                CheckFinding f{CheckReason::SameHash, {}, {}, {}, long(j - i), {}, {}};
                static const char* kHex = "0123456789abcdef";
                for (unsigned char b : charts_[order[i]].digest) {
                    f.detail += kHex[b >> 4];
                    f.detail += kHex[b & 15];
                }
                for (size_t k = i; k < j; ++k) {
                    const std::string path = ChartPath(order[k]);
                    f.files.push_back({path, FileSize(path).value_or(-1)});
                }
                std::sort(f.files.begin(), f.files.end(),
                          [](const CheckFile& a, const CheckFile& b) { return a.path < b.path; });
                f.path = f.files.front().path;
                Add(std::move(f));
            }
            i = j;
        }
    }

    void FindVanishedRows() {
        for (const char* table : {"song", "folder"}) {
            Statement rows = db_.Prepare(std::string("SELECT path FROM ") + table);
            RowSet& set = *table == 's' ? song_rows_ : folder_rows_;
            while (rows.Step()) {
                const std::string path = rows.Text(0);
                if (set.Marked(path) || EntryExists(path)) continue;
                Add(*table == 's' ? CheckReason::RowWithoutFile
                                  : CheckReason::FolderRowWithoutFolder,
                    path);
            }
        }
    }

    void Sort() {
        std::stable_sort(result_.findings.begin(), result_.findings.end(),
                         [](const CheckFinding& a, const CheckFinding& b) {
                             const int ka = ReportRank(KindOf(a.reason)),
                                       kb = ReportRank(KindOf(b.reason));
                             if (ka != kb) return ka < kb;
                             if (a.path != b.path) return a.path < b.path;
                             return a.host_path < b.host_path;
                         });
    }

    struct Chart {
        std::uint32_t dir = 0, name_at = 0, name_size = 0;
        bool hashed = false;
        unsigned char digest[16] = {};
    };

    Database& db_;
    const CheckOptions& options_;
    Progress* progress_;
    CheckResult& result_;
    RowSet song_rows_, folder_rows_;
    std::unique_ptr<CheckReaders> readers_;
    std::vector<CheckReadResult> results_;
    std::string tree_, current_;
    SubfolderRule rule_{[this]() -> const std::string& { return tree_; }};
    // Every chart read, compactly: its folder, its name and its digest.
    std::vector<std::string> dirs_;
    std::string names_;
    std::vector<Chart> charts_;
};

}  // namespace

const char* CheckKindWord(CheckKind kind) {
    switch (kind) {
        case CheckKind::Duplicates:
            return "duplicates";
        case CheckKind::Missing:
            return "missing";
        case CheckKind::Unreadable:
            return "unreadable";
        case CheckKind::Names:
            return "names";
        case CheckKind::OutOfDate:
            return "out-of-date";
    }
    return "";
}

CheckKind KindOf(CheckReason reason) {
    switch (reason) {
        case CheckReason::SameHash:
            return CheckKind::Duplicates;
        case CheckReason::MissingFiles:
            return CheckKind::Missing;
        case CheckReason::EmptyHash:
        case CheckReason::NoNotes:
        case CheckReason::CannotOpen:
        case CheckReason::TooLarge:
            return CheckKind::Unreadable;
        case CheckReason::NoShiftJisForm:
        case CheckReason::TooLong:
            return CheckKind::Names;
        default:
            return CheckKind::OutOfDate;
    }
}

const char* CheckReasonWord(CheckReason reason) {
    switch (reason) {
        case CheckReason::SameHash:
            return "same-hash";
        case CheckReason::MissingFiles:
            return "missing-files";
        case CheckReason::EmptyHash:
            return "empty-hash";
        case CheckReason::NoNotes:
            return "no-notes";
        case CheckReason::CannotOpen:
            return "cannot-open";
        case CheckReason::TooLarge:
            return "too-large";
        case CheckReason::NoShiftJisForm:
            return "no-shift-jis-form";
        case CheckReason::TooLong:
            return "too-long";
        case CheckReason::RowWithoutFile:
            return "row-without-file";
        case CheckReason::FolderRowWithoutFolder:
            return "folder-row-without-folder";
        case CheckReason::ChartNotInLibrary:
            return "chart-not-in-library";
        case CheckReason::SongFolderMissing:
            return "song-folder-missing";
    }
    return "";
}

std::vector<MissingGroup> MissingByFolder(const CheckResult& result) {
    std::vector<MissingGroup> groups;
    std::unordered_map<std::string, size_t> at;  // folder -> its group
    for (size_t i = 0; i < result.findings.size(); ++i) {
        const CheckFinding& f = result.findings[i];
        if (f.reason != CheckReason::MissingFiles) continue;
        std::string folder = WinPath(f.path).Parent().text();
        const auto [it, added] = at.emplace(folder, groups.size());
        if (added) groups.push_back({std::move(folder), 0, 0, {}});
        MissingGroup& g = groups[it->second];
        ++g.charts;
        g.files += f.count;
        g.findings.push_back(i);
    }
    return groups;
}

long CheckResult::Count(CheckKind kind) const {
    return std::count_if(findings.begin(), findings.end(),
                         [kind](const CheckFinding& f) { return KindOf(f.reason) == kind; });
}

CheckResult CheckLibrary(SongLibrary& library, const CheckOptions& options, Progress* progress) {
    CheckResult result;
    Check(library.connection(), options, progress, result).Run();
    return result;
}

}  // namespace qv5
