// The installing branches of a drop: a chart file into a song folder, the
// songs of an archive into a folder of the tree.
#include <QElapsedTimer>
#include <algorithm>

#include "install/archive_placement.h"
#include "install/chart_copy.h"
#include "install/install.h"
#include "library/chart_header.h"
#include "library/chart_names.h"
#include "library/chart_placement.h"
#include "library/job_text.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "platform/win_path.h"
#include "window/common/job_summary.h"
#include "window/common/progress_window.h"
#include "window/main/drops.h"
#include "window/main/main_window.h"
#include "window/pages/jukebox_page.h"
#include "window/tree/folder_tree.h"
#include "window/tree/tree_reveal.h"

namespace qv5 {
namespace {

bool Ask(MainWindow& window, const std::string& text) {
    return Ui().MessageBox(&window, text, Tr("DropInstall", "確認"), MsgButtons::YesNo,
                           MsgIcon::Question) == MsgAnswer::Yes;
}

// The download offer for the archiver libraries, after the message that one
// could not be loaded.
void OfferLibraries(MainWindow& window) {
    if (Ask(window, Tr("ArchiveContents",
                       "解凍に必要なライブラリが存在しません。\nダウンロードしますか？"))) {
        // The installer is the archiver's own; it is offered only where it is.
        if (PathExists("QV5files\\caldix\\caldix.exe"))
            Processes().Run("QV5files/caldix/caldix.exe", Wait::Yes);
    } else {
        ShowMessage(
            &window,
            Tr("ArchiveContents",
               "書庫解凍機能を利用するには、unzip32.dll、unrar32.dll、unrar.dllが必要です。\n"
               "手動で導入する場合は、これらをQV5.exeと同じフォルダに置いてください。"),
            Tr("ArchiveContents", "エラー"));
    }
}

bool IsFolderItem(const DropItem& item) {
    return item.icon == 0 || item.icon == 4;
}

// The item to install into: the selected folder, the folder of a selected
// file; a song folder's parent for archives. Above a root there is nothing,
// so an archive dropped on a root that holds charts goes into the root.
struct Destination {
    DropItem item;
    bool song_folder = false;
};

std::optional<Destination> FindDestination(DropTarget& target, bool for_archive) {
    auto selected = target.SelectedItem();
    if (!selected) return std::nullopt;
    Destination d{*selected, false};
    if (!IsFolderItem(d.item)) {
        auto parent = target.ParentOf(d.item);
        if (!parent) return std::nullopt;
        d.item = *parent;
    }
    d.song_folder = HoldsChartFiles(WinPath(d.item.path));
    if (d.song_folder && for_archive)
        if (auto parent = target.ParentOf(d.item)) d.item = *parent;
    return d;
}

bool HasNameIgnoringCase(const std::string& folder, const std::string& name) {
    std::vector<DirEntry> entries;
    ListFolder(folder, entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries)
        if (SameIgnoringCase(e.name, name)) return true;
    return false;
}

// After an archive installed: the question whether to delete it, asked once
// for all the archives of one drop, and its answer carried out.
void DeleteInstalledArchive(MainWindow& window, DropState& state, const std::string& path) {
    if (state.delete_policy == DropState::Delete::Ask) {
        const bool yes = Ask(
            window, Tr("DropInstall", "インストールに成功しました。\n元ファイルを削除しますか？"));
        state.delete_policy = yes ? DropState::Delete::Always : DropState::Delete::Never;
        if (yes) DeletePath(path);
    } else if (state.delete_policy == DropState::Delete::Always) {
        DeletePath(path);
    }
}

std::string Fill(std::string format, const std::string& a, const std::string& b = {}) {
    size_t at = format.find("%s");
    if (at != std::string::npos) {
        format.replace(at, 2, a);
        at = format.find("%s", at + a.size());
        if (at != std::string::npos) format.replace(at, 2, b);
    }
    return format;
}

}  // namespace

SongFolderIndex* MainWindow::PlacementIndex() {
    // One walk of the song folders for the run, kept up to date with what
    // the drops copy in.
    if (!placement_index_) {
        auto index = std::make_unique<SongFolderIndex>();
        FolderTree* tree = jukebox_->Tree();
        std::unique_ptr<Progress> progress =
            tree->progress_factory
                ? tree->progress_factory(this, Tr("DropInstall", "曲フォルダを調べています"))
                : nullptr;
        if (progress) progress->SetUnit(FilesUnit());
        if (!index->Build(jukebox_->RootTexts(), progress.get())) return nullptr;  // stopped
        placement_index_ = std::move(index);
    }
    return placement_index_.get();
}

bool MainWindow::DropChartIntoItsSongFolder(const std::string& path) {
    MainWindow& window = *this;
    if (!PlacementIndex()) return false;
    const auto placement = PlaceChart(*placement_index_, WinPath(path));
    if (!placement || !placement->certain) return false;
    const WinPath folder(placement->folder);
    if (WinPath(path).Parent().AsFolder() == folder) return false;  // there already
    if (!Ask(window,
             Arg(Tr("DropInstall",
                    "この譜面は「%1」の音声を使っています (%2/%3)。このフォルダへコピーしますか？"),
                 {HostPathForMessage(folder.text()), std::to_string(placement->found),
                  std::to_string(placement->used)})))
        return false;
    const ChartCopy copy = CopyChartInto(WinPath(path), folder);
    if (copy.outcome == ChartCopy::Outcome::Failed) {
        ShowMessage(&window,
                    Tr("DropInstall", "ファイルをコピーできませんでした。\n") +
                        HostPathForMessage(folder.Join(copy.own_name).text()),
                    Tr("DropInstall", "エラー"));
        return true;
    }
    if (copy.outcome == ChartCopy::Outcome::AlreadyThere) {
        ShowMessage(&window, Arg(Tr("DropInstall", "同じ譜面が %1 としてすでにあります。"),
                                 {HostPathForMessage(folder.Join(copy.name).text())}));
        return true;
    }
    placement_index_->Add(folder, {copy.name});
    LibraryReport report;
    if (!song_library_.RefreshSongFolder(folder, nullptr, report) && !report.error.empty())
        ShowMessage(&window, report.error, Tr("DropInstall", "エラー"));
    RevealInTree(*jukebox_->Tree(), folder.Join(copy.name));
    if (copy.renamed())
        ShowMessage(&window,
                    Arg(Tr("DropInstall", "同じ名前の別の譜面があるので、%1 として入れました。"),
                        {copy.name}));
    if (Ask(window, Tr("DropInstall", "インストールに成功しました。元のファイルは削除しますか？")))
        DeletePath(path);
    return true;
}

bool MainWindow::DropAdditionalArchive(DropTarget& target, DropState& state,
                                       const std::string& path, const DropItem& dest) {
    MainWindow& window = *this;
    // An archive that brings its sounds is a new song: installed as ever,
    // without the walk of the song folders or a staging.
    const auto kind = ArchiveKindOfPath(WinPath(path));
    if (!kind || !MayHoldAdditionalCharts(*kind, WinPath(path))) return false;
    SongFolderIndex* index = PlacementIndex();
    if (!index) return false;
    StagedArchive staged;
    std::string error;
    bool stopped = false;
    {
        ProgressWindow progress(&window, Tr("DropInstall", "書庫を調べています"));
        progress.SetUnit(FilesUnit());
        const bool ok = StageArchive(*kind, WinPath(path), *index, &progress, staged, error);
        stopped = progress.StopRequested();
        // What cannot be staged is said by the ordinary install, which
        // knows the archive's faults.
        if (!ok) return stopped;
    }
    if (stopped || !staged.Additional()) {
        DropStaging(staged);
        return stopped;
    }
    const WinPath rest = WinPath(dest.path).AsFolder();
    const std::string rest_folder = rest.Join(ArchiveBaseName(path)).AsFolder().text();
    // By name, as a file manager lists them.
    std::vector<const StagedChart*> charts;
    for (const StagedChart& c : staged.charts) charts.push_back(&c);
    std::sort(charts.begin(), charts.end(), [](const StagedChart* a, const StagedChart* b) {
        return a->chart.LastName() < b->chart.LastName();
    });
    std::string list;
    for (const StagedChart* c : charts) {
        list += "\n";
        if (c->Placed())
            list += Arg(Tr("DropInstall", "%1 → 「%2」 (%3/%4)"),
                        {c->chart.LastName(), HostPathForMessage(c->placement->folder),
                         std::to_string(c->placement->found), std::to_string(c->placement->used)});
        else
            list += Arg(Tr("DropInstall", "%1 → 曲フォルダが決まらないので「%2」"),
                        {c->chart.LastName(), HostPathForMessage(rest_folder)});
    }
    if (!Ask(window, Arg(Tr("DropInstall",
                            "この書庫の譜面は差分です。それぞれを次のフォルダへコピーしますか？%1"),
                         {list}))) {
        DropStaging(staged);
        return true;
    }
    std::vector<ChartPut> puts;
    bool placed;
    QElapsedTimer took;
    took.start();
    {
        ProgressWindow progress(&window, Tr("DropInstall", "インストール中"));
        progress.SetUnit(ChartsUnit());
        placed = PlaceStagedCharts(song_library_, *index, staged, rest, ArchiveBaseName(path),
                                   &progress, puts, error);
    }
    DropStaging(staged);
    if (!placed) {
        ShowMessage(&window, error, Tr("DropInstall", "エラー"));
        return true;
    }
    std::string summary;
    long files = 0;
    for (const ChartPut& p : puts) {
        files += p.files + (p.already_there ? 0 : 1);
        summary +=
            Arg(Tr("DropInstall", "%1 → %2"),
                {p.chart.LastName(), HostPathForMessage(WinPath(p.into).Join(p.name).text())});
        if (p.already_there) summary += Tr("DropInstall", "（同じ譜面がすでにあります）");
        summary += "\n";
    }
    ShowJobSummary(&window, summary + InstallSummary(files, static_cast<long>(puts.size()),
                                                     took.elapsed() / 1000.0));
    if (!puts.empty() && !puts.front().into.empty())
        RevealInTree(*jukebox_->Tree(), WinPath(puts.front().into).Join(puts.front().name));
    DeleteInstalledArchive(window, state, path);
    target.RefreshControls();
    return true;
}

void MainWindow::DropChart(DropTarget& target, const std::string& path) {
    MainWindow& window = *this;
    auto dest = FindDestination(target, false);
    const bool valid = dest && dest->song_folder;
    if (dest) target.Select(dest->item);
    // An additional chart found to belong beside the sounds of a song
    // folder is offered there first; a No goes on as the drop always did.
    if (target.JukeboxShown() && DropChartIntoItsSongFolder(path)) return;
    if (!target.JukeboxShown() || !valid) {
        window.PlayDroppedChart(path);
        return;
    }
    const std::string folder = WinPath(dest->item.path).AsFolder().text();
    if (!Ask(window, Fill(Tr("DropInstall", "差分をインストールします。よろしいですか？\n%s"),
                          dest->item.path)))
        return;
    // A chart that is there already, in any case of its letters, stays and
    // nothing is said; any other failure is.
    const std::string name = WinPath(path).LastName();
    if (HasNameIgnoringCase(folder, name)) return;
    if (!CopyFileNoOverwrite(path, folder + name)) {
        ShowMessage(&window,
                    Tr("DropInstall", "ファイルをコピーできませんでした。\n") + folder + name,
                    Tr("DropInstall", "エラー"));
        return;
    }
    LibraryReport report;
    if (!song_library_.RefreshSongFolder(WinPath(folder), nullptr, report) && !report.error.empty())
        ShowMessage(&window, report.error, Tr("DropInstall", "エラー"));
    target.RepopulateItem(dest->item);
    if (Ask(window, Tr("DropInstall", "インストールに成功しました。元のファイルは削除しますか？")))
        DeletePath(path);
}

bool MainWindow::DropArchive(DropTarget& target, DropState& state, const std::string& path) {
    MainWindow& window = *this;
    auto selected = target.SelectedItem();
    if (!selected) {
        ShowMessage(&window, Tr("DropInstall", "インストール先のフォルダをクリックして下さい。"));
        return false;
    }
    const std::string& text = selected->text;
    if (IsCustomFolderName(text)) {
        ShowMessage(&window,
                    Tr("DropInstall", "カスタムフォルダ内にインストールすることは出来ません。"),
                    Tr("DropInstall", "エラー"));
        return false;
    }
    auto dest = FindDestination(target, true);
    if (!dest) return true;
    if (DropAdditionalArchive(target, state, path, dest->item)) return true;
    const std::string& dest_path = dest->item.path;
    if (!state.install_confirmed) {
        const char* one = QT_TRANSLATE_NOOP(
            "DropInstall",
            "フルパス:%s\nフォルダ名:%s\nこのフォルダにインストールしますがよろしいですか？");
        const char* many = QT_TRANSLATE_NOOP(
            "DropInstall",
            "フルパス:%s\nフォルダ名:%s\nこのフォルダにインストールしますがよろしいですか？\n"
            "(同時にドロップしたファイルも同じフォルダにインストールされます。)");
        if (!Ask(window, Fill(Tr("DropInstall", state.count > 1 ? many : one), dest_path,
                              WinPath(dest_path).LastName())))
            return true;
        state.install_confirmed = true;
    }
    const ArchiveKind kind = ArchiveKindOfPath(WinPath(path)).value_or(ArchiveKind::Zip);
    InstallResult r;
    QElapsedTimer took;
    took.start();
    {
        ProgressWindow progress(&window, Tr("DropInstall", "インストール中"));
        progress.SetUnit(FilesUnit());
        r = InstallArchive(song_library_, kind, WinPath(path), WinPath(dest_path).AsFolder(),
                           &progress);
    }
    const double seconds = took.elapsed() / 1000.0;
    ShowNotices(&window, InstallNotices(r));
    if (r.status == InstallResult::Status::LibraryMissing) OfferLibraries(window);
    if (!r.installed()) return true;
    ShowJobSummary(
        &window,
        InstallSummary(r.extract.files, song_library_.CountRowsBelow("song", WinPath(r.new_folder)),
                       seconds));

    const DropItem item = target.AddFolderItem(dest->item, r.folder_name);
    target.Select(item);
    DeleteInstalledArchive(window, state, path);
    const ToolSettings& tools = window.JukeboxTab()->tools;
    if (tools.autowavtoogg) target.ConvertWavToOgg(r.new_folder);
    if (tools.autobmptopng) target.ConvertBmpToPng(r.new_folder);
    if (tools.autofumensearch) target.SearchHiddenCharts(item);
    target.RefreshControls();
    return true;
}

}  // namespace qv5
