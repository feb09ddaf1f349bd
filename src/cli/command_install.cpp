// The install command: archives into a folder of the song library, as a drop
// on the window does, without the window; with --auto, single charts into
// the song folders they belong to.
#include <cassert>
#include <cstdio>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/stop_on_interrupt.h"
#include "config/config_file.h"
#include "install/archive_placement.h"
#include "install/chart_copy.h"
#include "install/install.h"
#include "library/chart_names.h"
#include "library/chart_placement.h"
#include "library/encodings.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/win_path.h"
#include "player/player_db.h"

namespace qv5 {
namespace {

int Fail(const std::string& utf8) {
    std::fprintf(stderr, "QV5: %s\n", utf8.c_str());
    return 1;
}

void Print(const Notice& n) {
    std::fprintf(stderr, "QV5: %s\n", Cp932ToUtf8(n.text).c_str());
}

// The song library of the game folder, and `into` (when given) as the folder
// an archive's songs go into: inside a registered song folder, and a song
// folder's parent rather than the song folder itself, as a drop on it.
struct InstallPlace {
    SongLibrary library;
    std::optional<std::string> folder;  // with its trailing "\"
    std::optional<std::string> root;    // the song folder holding it
};

bool OpenPlace(InstallPlace& place, const std::optional<std::string>& into,
               const std::string& start_dir, ConfigRecord& config) {
    std::string error;
    if (into) {
        place.folder = CommandLinePath(*into, start_dir, error);
        if (!place.folder) return Fail(error), false;
        if (!IsDirectory(*place.folder)) return Fail("not a folder: " + *into), false;
        *place.folder = WinPath(*place.folder).AsFolder().text();
    }
    LoadConfig(config);
    if (!IsDirectory("QV5files\\Database"))
        return Fail("no QV5files/Database folder in " + ShownPath(ProgramDirectory())), false;
    if (!place.library.Open(ExistingPlayerDb(config.id)))
        return Fail("cannot open the song library"), false;
    if (!place.folder) return true;
    place.root = place.library.SongFolderHolding(WinPath(*place.folder));
    if (!place.root)
        return Fail("not inside a registered song folder: " + ShownPath(*place.folder) +
                    " (register its song folder with add-root first)"),
               false;
    return true;
}

// As a drop on it: a song folder (one that holds charts) gets the new songs
// beside it, in its parent; a root has no parent and keeps them.
std::string ArchiveFolder(const InstallPlace& place) {
    const std::string& folder = *place.folder;
    if (folder == *place.root || !HoldsChartFiles(WinPath(folder))) return folder;
    const std::string parent = ParentPath(folder);
    std::fprintf(stderr, "QV5: %s holds charts; installing beside it, into %s\n",
                 ShownPath(folder).c_str(), ShownPath(parent).c_str());
    return parent;
}

bool InstallOne(SongLibrary& library, const std::string& host, const std::string& start_dir,
                const std::string& folder) {
    std::string error;
    auto archive = CommandLinePath(host, start_dir, error);
    auto kind = archive ? ArchiveKindOfPath(WinPath(*archive)) : std::nullopt;
    if (!archive || !kind) {
        Fail(archive ? "not a zip or rar archive: " + host : error);
        return false;
    }
    InstallResult r;
    {
        // The progress line is taken off the terminal before anything
        // is printed below it.
        TerminalProgress progress("entries");
        StopOnInterrupt stop(progress);
        r = InstallArchive(library, *kind, WinPath(*archive), WinPath(folder), &progress);
    }
    for (const Notice& n : InstallNotices(r)) Print(n);
    if (!r.installed()) return false;
    std::printf("install: %s -> %s (%s, %s in the folder)\n", host.c_str(),
                ShownPath(r.new_folder).c_str(), Counted(r.extract.files, "file").c_str(),
                Counted(library.CountRowsBelow("song", WinPath(r.new_folder)), "chart").c_str());
    return true;
}

int Install(const std::vector<std::string>& archives, const std::string& into,
            const std::string& start_dir) {
    InstallPlace place;
    ConfigRecord config;
    if (!OpenPlace(place, into, start_dir, config)) return 1;
    const std::string folder = ArchiveFolder(place);
    int failed = 0;
    for (const std::string& host : archives)
        if (!InstallOne(place.library, host, start_dir, folder)) ++failed;
    return failed == 0 ? 0 : 1;
}

std::string Said(const std::string& cp932) {
    return Cp932ToUtf8(cp932);
}

// An internal path as the message shows it: the host path, in the CP932 of
// the message texts (it came from CP932, so it converts back exactly).
std::string Host(const std::string& internal) {
    return Utf8ToCp932Lossy(ShownPath(internal));
}

void SayFailure(const std::string& cp932) {
    std::fprintf(stderr, "QV5: %s\n", Said(cp932).c_str());
}

// One chart file by the placement rule: into its song folder when that is
// certain, else into `place.folder` when given; listed (false) otherwise.
bool PlaceOne(InstallPlace& place, SongFolderIndex& index, const std::string& host,
              const std::string& chart) {
    const std::string shown = Utf8ToCp932(host).value_or(chart);  // as the person typed it
    const auto placement = PlaceChart(index, WinPath(chart));
    std::string target;
    std::string why;
    if (placement && placement->certain) {
        target = placement->folder;
        why = PlacementShare(*placement);
    } else {
        const std::string unsure =
            placement
                ? Arg(Tr("InstallCommand", "曲フォルダが決まりません。最も近いのは %1 で、%2"),
                      {Host(placement->folder), PlacementShare(*placement)})
                : Tr("InstallCommand", "使うファイルを持つ曲フォルダがありません");
        if (!place.folder) {
            SayFailure(Arg(Tr("InstallCommand", "%1 は入れませんでした: %2"), {shown, unsure}));
            return false;
        }
        target = *place.folder;
        why = unsure;
    }
    const ChartCopy copy = CopyChartInto(WinPath(chart), WinPath(target));
    if (copy.outcome == ChartCopy::Outcome::Failed) {
        SayFailure(Arg(Tr("InstallCommand", "%1 を %2 にコピーできません"), {shown, Host(target)}));
        return false;
    }
    std::printf(
        "%s\n",
        Said(Arg(Tr("InstallCommand", "%1 -> %2（%3）"), {shown, Host(target), why})).c_str());
    if (copy.outcome == ChartCopy::Outcome::AlreadyThere) {
        std::printf("%s\n",
                    Said(Arg(Tr("InstallCommand",
                                "%1: 同じ譜面が %2 としてすでにあるので、コピーしませんでした"),
                             {shown, copy.name}))
                        .c_str());
        return true;
    }
    if (copy.renamed())
        std::printf(
            "%s\n",
            Said(Arg(Tr("InstallCommand", "%1: 同じ名前の別の譜面があるので、%2 として入れました"),
                     {shown, copy.name}))
                .c_str());
    index.Add(WinPath(target), {copy.name});
    LibraryReport report;
    bool registered;
    {
        TerminalProgress progress("charts");
        StopOnInterrupt stop(progress);
        registered =
            place.library.RegisterInstalled(WinPath(target), WinPath(target), &progress, report);
    }
    if (!registered) {
        SayFailure(Arg(Tr("InstallCommand", "%1 を曲データベースに登録できません: %2"),
                       {Host(WinPath(target).Join(copy.name).text()), report.error}));
        return false;
    }
    return true;
}

// An archive with --auto: its charts each into their song folder when they
// come without most of what they use (the others into FOLDER, as an install
// makes a folder there, or listed without it); an archive that brings its
// sounds is a new song, installed into FOLDER as without --auto.
bool PlaceArchive(InstallPlace& place, SongFolderIndex& index, const std::string& host,
                  const std::string& start_dir, const std::string& archive) {
    const auto kind = ArchiveKindOfPath(WinPath(archive));
    if (!kind) return Fail("not a zip, rar or chart file: " + host), false;
    // One that brings its sounds is a new song: no staging first.
    if (!MayHoldAdditionalCharts(*kind, WinPath(archive))) {
        if (!place.folder) return Fail("an archive needs --into FOLDER: " + host), false;
        return InstallOne(place.library, host, start_dir, ArchiveFolder(place));
    }
    StagedArchive staged;
    std::string error;
    bool staged_ok;
    {
        TerminalProgress progress("entries");
        StopOnInterrupt stop(progress);
        staged_ok = StageArchive(*kind, WinPath(archive), index, &progress, staged, error);
    }
    if (!staged_ok) {
        SayFailure(Arg(Tr("InstallCommand", "%1 は入れませんでした: %2"), {host, error}));
        return false;
    }
    if (!staged.Additional()) {
        DropStaging(staged);
        if (!place.folder) return Fail("an archive needs --into FOLDER: " + host), false;
        return InstallOne(place.library, host, start_dir, ArchiveFolder(place));
    }
    std::vector<ChartPut> puts;
    bool placed;
    {
        TerminalProgress progress("charts");
        StopOnInterrupt stop(progress);
        const std::optional<WinPath> rest =
            place.folder ? std::optional<WinPath>(WinPath(ArchiveFolder(place))) : std::nullopt;
        placed = PlaceStagedCharts(place.library, index, staged, rest, ArchiveBaseName(archive),
                                   &progress, puts, error);
    }
    bool all = placed;
    if (placed) {
        for (size_t i = 0; i < puts.size(); ++i) {
            const ChartPut& p = puts[i];
            const std::string name = p.chart.LastName();
            const StagedChart& c = staged.charts[i];
            if (p.into.empty()) {
                SayFailure(
                    Arg(Tr("InstallCommand", "%1 は入れませんでした: %2"),
                        {name, c.placement ? PlacementShare(*c.placement)
                                           : Tr("InstallCommand",
                                                "使うファイルを持つ曲フォルダがありません")}));
                all = false;
                continue;
            }
            std::printf("%s\n",
                        Said(Arg(Tr("InstallCommand", "%1 -> %2（%3）"),
                                 {name, Host(p.into),
                                  p.placed ? PlacementShare(*c.placement)
                                           : Tr("InstallCommand", "曲フォルダが決まりません")}))
                            .c_str());
            if (p.renamed)
                std::printf("%s\n",
                            Said(Arg(Tr("InstallCommand",
                                        "%1: 同じ名前の別の譜面があるので、%2 として入れました"),
                                     {name, p.name}))
                                .c_str());
        }
    } else {
        SayFailure(Arg(Tr("InstallCommand", "%1 は入れませんでした: %2"), {host, error}));
    }
    DropStaging(staged);
    return all;
}

// With --auto: chart files and archives by the placement rule.
int InstallAuto(const std::vector<std::string>& args, const std::optional<std::string>& into,
                const std::string& start_dir) {
    InstallPlace place;
    ConfigRecord config;
    if (!OpenPlace(place, into, start_dir, config)) return 1;
    std::optional<SongFolderIndex> index;
    int failed = 0;
    for (const std::string& host : args) {
        std::string error;
        const auto path = CommandLinePath(host, start_dir, error);
        if (!path) {
            Fail(error);
            ++failed;
            continue;
        }
        if (!index) {
            index.emplace();
            TerminalProgress progress("folders");
            StopOnInterrupt stop(progress);
            const std::vector<std::string> roots(config.path.begin(),
                                                 config.path.begin() + config.path_count);
            if (!index->Build(roots, &progress)) return Fail("stopped"), 1;
        }
        if (!IsChartName(*path)) {
            if (!PlaceArchive(place, *index, host, start_dir, *path)) ++failed;
            continue;
        }
        if (!PlaceOne(place, *index, host, *path)) ++failed;
    }
    return failed == 0 ? 0 : 1;
}
}  // namespace

// ARCHIVE... --into FOLDER, or ARCHIVE_OR_CHART... --auto [--into FOLDER].
int RunInstall(const CommandCall& call) {
    const std::optional<std::string> into = call.Value("--into");
    if (call.Has("--auto")) return InstallAuto(call.args, into, call.start_dir);
    assert(into);  // the parser asks for it without --auto
    return Install(call.args, *into, call.start_dir);
}

}  // namespace qv5
