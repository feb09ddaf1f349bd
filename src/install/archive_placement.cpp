#include "install/archive_placement.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "install/archive_reader.h"
#include "install/chart_copy.h"
#include "library/chart_names.h"
#include "library/chart_references.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

constexpr const char* kStagingRoot = "QV5files\\Temp";

std::string Stem(std::string_view name) {
    const size_t dot = name.rfind('.');
    return FoldNameCase(dot == std::string_view::npos ? name : name.substr(0, dot));
}

// Every chart file below `dir`, with the entries of its folder.
void FindCharts(const WinPath& dir, std::vector<WinPath>& charts, int depth = 0) {
    std::vector<DirEntry> entries;
    if (depth > 16 || !ListFolder(dir.text(), entries, ListDetail::NamesAndKinds)) return;
    for (const DirEntry& e : entries) {
        if (e.directory)
            FindCharts(dir.Join(e.name).AsFolder(), charts, depth + 1);
        else if (IsChartName(e.name))
            charts.push_back(dir.Join(e.name));
    }
}

std::vector<DirEntry> Entries(const WinPath& dir) {
    std::vector<DirEntry> entries;
    ListFolder(dir.AsFolder().text(), entries, ListDetail::NamesAndKinds);
    return entries;
}

// The files of the chart's staging folder it uses that `target` lacks, by
// the lookup the game makes (case ignored, another extension of the kind
// standing in).
std::vector<std::string> FilesToBring(const StagedChart& c, std::string_view bytes,
                                      const WinPath& target) {
    const WinPath from = c.chart.Parent().AsFolder();
    const std::vector<DirEntry> here = Entries(from), there = Entries(target);
    const FolderNames here_names(here), there_names(there);
    std::vector<std::string> bring;
    std::set<std::string> taken;
    for (std::string_view used : ChartUsedNames(bytes)) {
        if (!ReferencePresent(from.text(), here_names, used) ||
            ReferencePresent(target.AsFolder().text(), there_names, used))
            continue;
        // The entry standing for the name: the name itself, else one of its stem.
        const DirEntry* pick = nullptr;
        for (const DirEntry& e : here)
            if (!e.directory && SameNameIgnoringCase(e.name, std::string(used))) pick = &e;
        for (const DirEntry& e : here)
            if (!pick && !e.directory && !IsChartName(e.name) && Stem(e.name) == Stem(used))
                pick = &e;
        if (pick && taken.insert(FoldNameCase(pick->name)).second) bring.push_back(pick->name);
    }
    return bring;
}

}  // namespace

bool StagedArchive::Additional() const {
    long used = 0, beside = 0;
    for (const StagedChart& c : charts) {
        used += c.used;
        beside += c.beside;
    }
    return used > 0 && beside * 2 < used;
}

void DropStaging(StagedArchive& staged) {
    if (staged.staging.empty()) return;
    UndoExtraction(staged.extract);
    DeletePath(staged.staging.AsFile().text());
    staged.staging = WinPath();
}

bool MayHoldAdditionalCharts(ArchiveKind kind, const WinPath& archive) {
    // Charts are small; a chart entry larger than this, or charts past the
    // sum, are left unread (the staging reads them).
    constexpr std::int64_t kChartBytes = 8 << 20, kAllChartBytes = 64 << 20;
    const auto host = ToHostPath(archive.text());
    ArchiveReader reader;
    if (!host || !reader.Open(kind, *host)) return true;
    std::unordered_set<std::uint64_t> stems;  // of every file's name
    std::vector<std::string> charts;
    std::int64_t read = 0;
    for (;;) {
        const ArchiveReader::Step step = reader.Next();
        if (step == ArchiveReader::Step::Failed) return true;
        if (step == ArchiveReader::Step::End) break;
        if (reader.type() != EntryType::File || !reader.name()) continue;
        const std::string& name = *reader.name();
        stems.insert(SongFolderIndex::StemHash(LastComponent(name)));
        const std::int64_t size = reader.declared_size();
        if (!IsChartName(name) || size > kChartBytes || read + size > kAllChartBytes) continue;
        std::string bytes;
        const void* data;
        size_t got;
        std::int64_t offset;
        int r;
        while ((r = reader.ReadBlock(&data, &got, &offset)) > 0 &&
               bytes.size() + got <= size_t(kChartBytes))
            bytes.append(static_cast<const char*>(data), got);
        if (r < 0) return true;
        read += std::int64_t(bytes.size());
        charts.push_back(std::move(bytes));
    }
    long used = 0, present = 0;
    for (const std::string& chart : charts)
        for (std::string_view name : ChartUsedNames(chart)) {
            ++used;
            present += stems.count(SongFolderIndex::StemHash(LastComponent(name))) > 0;
        }
    return used > 0 && present * 2 < used;
}

bool StageArchive(ArchiveKind kind, const WinPath& archive, const SongFolderIndex& index,
                  Progress* progress, StagedArchive& staged, std::string& error) {
    staged = StagedArchive();
    if (archive.text().find('"') != std::string::npos) {
        error = Tr("Install",
                   "名前に「\"」を含むため、インストールできません。名前を変えてください。\n") +
                archive.text();
        return false;
    }
    CreateFolders(kStagingRoot);
    for (int n = 0; n < 1000 && staged.staging.empty(); ++n) {
        const WinPath candidate = WinPath(kStagingRoot).Join("placing-" + std::to_string(n));
        if (!PathExists(candidate.text()) && CreateFolder(candidate.text()))
            staged.staging = candidate.AsFolder();
    }
    if (staged.staging.empty()) {
        error = Tr("Install", "作業用のフォルダを作れません。") + " " + kStagingRoot;
        return false;
    }
    const std::string command =
        "-x \"" + archive.text() + "\" \"" + staged.staging.AsFile().text() + "/\" *.*";
    if (ExtractArchive(kind, command, staged.extract, {}, progress) != 1) {
        error = staged.extract.error.empty() ? LoadFailureText(kind, false) : staged.extract.error;
        DropStaging(staged);
        return false;
    }
    std::vector<WinPath> charts;
    FindCharts(staged.staging, charts);
    if (charts.empty()) {
        error = Tr("Install", "書庫に譜面がありません。");
        DropStaging(staged);
        return false;
    }
    std::vector<std::string> bytes(charts.size());
    std::vector<std::string_view> views;
    for (size_t i = 0; i < charts.size(); ++i) {
        ReadWholeFile(charts[i].text(), bytes[i]);
        views.push_back(bytes[i]);
    }
    const auto placements = PlaceCharts(index, views);
    for (size_t i = 0; i < charts.size(); ++i) {
        StagedChart c;
        c.chart = charts[i];
        c.placement = placements[i];
        const WinPath dir = charts[i].Parent().AsFolder();
        const FolderNames beside(Entries(dir));
        for (std::string_view used : ChartUsedNames(bytes[i])) {
            ++c.used;
            c.beside += ReferencePresent(dir.text(), beside, used);
        }
        staged.charts.push_back(std::move(c));
    }
    return true;
}

bool PlaceStagedCharts(SongLibrary& library, SongFolderIndex& index, const StagedArchive& staged,
                       const std::optional<WinPath>& rest, const std::string& archive_base,
                       Progress* progress, std::vector<ChartPut>& puts, std::string& error) {
    puts.clear();
    std::vector<std::string> created;                  // files this run made, to take back
    std::vector<std::pair<WinPath, WinPath>> folders;  // (destination, folder) to register
    bool made_rest = false;
    const auto take_back = [&] {
        for (auto it = created.rbegin(); it != created.rend(); ++it) DeletePath(*it);
        if (made_rest && rest) DeletePath(rest->Join(archive_base).AsFile().text());
    };
    for (const StagedChart& c : staged.charts) {
        ChartPut put;
        put.chart = c.chart;
        put.placed = c.Placed();
        WinPath target, destination;
        if (put.placed) {
            target = destination = WinPath(c.placement->folder).AsFolder();
        } else if (rest) {
            destination = rest->AsFolder();
            target = destination.Join(archive_base).AsFolder();
            if (!IsDirectory(target.AsFile().text())) {
                if (!CreateFolder(target.AsFile().text())) {
                    error = Tr("Install", "フォルダを作れません。") + " " + target.text();
                    take_back();
                    return false;
                }
                made_rest = true;
            }
        } else {
            puts.push_back(put);  // left out: no song folder for it
            continue;
        }
        std::string bytes;
        ReadWholeFile(c.chart.text(), bytes);
        const std::vector<std::string> bring = FilesToBring(c, bytes, target);
        const ChartCopy copy = CopyChartInto(c.chart, target);
        if (copy.outcome == ChartCopy::Outcome::Failed) {
            error = Tr("Install", "ファイルをコピーできません。") + " " +
                    target.Join(copy.name.empty() ? copy.own_name : copy.name).text();
            take_back();
            return false;
        }
        put.into = target.text();
        put.name = copy.name;
        put.renamed = copy.renamed();
        put.already_there = copy.outcome == ChartCopy::Outcome::AlreadyThere;
        std::vector<std::string> names;
        if (!put.already_there) {
            created.push_back(target.Join(copy.name).text());
            names.push_back(copy.name);
        }
        for (const std::string& name : bring) {
            const WinPath to = target.Join(name);
            if (PathExists(to.text())) continue;  // another chart of the archive brought it
            if (!CopyFileNoOverwrite(c.chart.Parent().Join(name).text(), to.text())) {
                error = Tr("Install", "ファイルをコピーできません。") + " " + to.text();
                take_back();
                return false;
            }
            created.push_back(to.text());
            names.push_back(name);
            ++put.files;
        }
        index.Add(target, names);
        if (std::find(folders.begin(), folders.end(), std::pair{destination, target}) ==
            folders.end())
            folders.push_back({destination, target});
        puts.push_back(put);
    }
    for (size_t i = 0; i < folders.size(); ++i) {
        LibraryReport report;
        if (library.RegisterInstalled(folders[i].first, folders[i].second, progress, report))
            continue;
        error = report.error.empty() ? library.LastError() : report.error;
        take_back();
        // The folders registered before this one lose the rows of what went.
        for (size_t k = 0; k < i; ++k) {
            LibraryReport again;
            library.RefreshSongFolder(folders[k].second, nullptr, again);
        }
        return false;
    }
    return true;
}

}  // namespace qv5
