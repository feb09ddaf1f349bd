// The folder tree's commands that open, refresh, move and delete.
#include <QElapsedTimer>
#include <algorithm>

#include "browser/root_list.h"
#include "config/tool_settings.h"
#include "library/library_report.h"
#include "library/refresh.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/progress.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "platform/win_path.h"
#include "player/ranking.h"
#include "window/common/job_summary.h"
#include "window/tree/folder_tree.h"
#include "window/tree/hidden_search_command.h"

namespace qv5 {
namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

bool IsOneOf(int id, std::initializer_list<int> ids) {
    for (int i : ids)
        if (i == id) return true;
    return false;
}

}  // namespace

void FolderTree::RunCommand(int id) {
    QTreeWidgetItem* item = current_;
    if (!item) return;
    const std::string path = ItemPath(item);
    if (IsOneOf(id, {kCmdRootCut, kCmdFolderCut})) return Cut(currentItem() ? currentItem() : item);
    if (IsOneOf(id, {kCmdRootPaste, kCmdFolderPaste})) return Paste();
    if (RefuseLong(path)) return;
    if (IsOneOf(id, {kCmdRootOpen, kCmdFolderOpen})) return ShellOpen(Quoted(path));
    if (IsOneOf(id, {kCmdRootRefresh, kCmdFolderRefresh})) {
        Refresh(item);
        return;
    }
    if (IsOneOf(id, {kCmdRootNewFolder, kCmdFolderNewFolder})) return NewFolder();
    if (id == kCmdRootRename) return RenameRoot();
    if (id == kCmdFolderRename) return RenameFolder();
    if (IsOneOf(id, {kCmdChartRename, kCmdFileRename})) return RenameFile();
    if (IsOneOf(id, {kCmdFolderDelete, kCmdChartDelete, kCmdFileDelete})) return Delete();
    if (id == kCmdRootExclude) return ExcludeRoot();
    if (IsOneOf(id, {kCmdChartTextEditor, kCmdFileTextEditor})) {
        if (!OpenInTextEditor(path))
            Tell(Tr("FolderTree", "テキストエディタを起動できませんでした。"));
        return;
    }
    if (id == kCmdChartBmsEditor) return EditInBmsEditor();
    if (id == kCmdChartRanking) {
        OpenChartRankingPage(path);
        return;
    }
    if (id == kCmdChartTags) {
        if (hooks.edit_tags) hooks.edit_tags(path, false);
        if (hooks.show_info) hooks.show_info(path);
        return;
    }
    if (id == kCmdFolderHiddenSearch) return SearchHiddenCharts(item);
    if (IsOneOf(id, {kCmdRootWavToOgg, kCmdRootOggToWav, kCmdRootBmpToPng, kCmdRootPngToBmp,
                     kCmdRootWavAndBmp, kCmdFolderWavToOgg, kCmdFolderOggToWav, kCmdFolderBmpToPng,
                     kCmdFolderPngToBmp, kCmdFolderWavAndBmp})) {
        if (hooks.convert) hooks.convert(id, path);
        return;
    }
    if (IsOneOf(id, {kCmdPlayChart, kCmdAutoplayChart, kCmdMovieAutoplay, kCmdMovieBgaOnly,
                     kCmdMovieReplay, kCmdBgmWav, kCmdBgmMp3})) {
        if (hooks.chart_command) hooks.chart_command(id, path);
        return;
    }
}

bool FolderTree::RefuseLong(const std::string& path) {
    if (!PathTooLong(path)) return false;
    Tell(PathTooLongMessage(path), Tr("FolderTree", "エラー"));
    return true;
}

// The refresh takes in what was put directly into a song folder too.
bool FolderTree::RefreshLibrary(const std::string& prefix, LibraryReport* done) {
    LibraryReport report;
    bool stored;
    {
        std::unique_ptr<Progress> progress =
            progress_factory
                ? progress_factory(window(), Tr("FolderTree", "ライブラリを更新しています"))
                : nullptr;
        if (progress) progress->SetUnit(ChartsUnit());
        stored = Library().RefreshSongFolder(WinPath(prefix), progress.get(), report);
    }
    if (!stored && !report.stopped && !report.error.empty())
        Tell(Tr("FolderTree", "ライブラリを更新できませんでした。\n") + report.error,
             Tr("FolderTree", "エラー"));
    if (done) *done = report;
    return stored;
}

// The children come again from the disk, then the library follows them.
bool FolderTree::Refresh(QTreeWidgetItem* item) {
    const std::string path = WinPath(ItemPath(item)).AsFolder().text();
    if (RefuseLong(path)) return false;
    QElapsedTimer took;
    took.start();
    Repopulate(item);
    LibraryReport report;
    if (!RefreshLibrary(path, &report)) return false;
    ShowJobSummary(window(), LibrarySummary(LibraryJob::Refresh, report.charts, report.folders,
                                            took.elapsed() / 1000.0));
    return true;
}

// Deleting a folder that a root lies in would leave a root whose folder is
// gone, so it is refused. The parent is rebuilt from the disk whatever the
// answer was.
void FolderTree::Delete() {
    QTreeWidgetItem* item = current_;
    const std::string path = ItemPath(item);
    if (IsDirectory(path) && HoldsRoot(RootTexts(), WinPath(path))) {
        Tell(Tr("FolderTree",
                "ルートフォルダとして登録されているフォルダ（またはそれを含むフォルダ）は"
                "削除できません。\n先にライブラリから除外して下さい。"),
             Tr("FolderTree", "エラー"));
        return;
    }
    DeleteToTrash(window(), path);
    QTreeWidgetItem* parent = item->parent();
    current_ = parent;
    if (parent) Refresh(parent);
}

// Another root item may name a folder inside this one or one this one lies
// in (the picker allows both): the rows it covers stay.
void FolderTree::ExcludeRoot() {
    QTreeWidgetItem* item = current_;
    LibraryReport report;
    bool removed;
    {
        std::unique_ptr<Progress> progress =
            progress_factory
                ? progress_factory(window(), Tr("FolderTree", "ライブラリを更新しています"))
                : nullptr;
        removed = Library().ExcludeSongFolder(WinPath(ItemText(item)), OtherRoots(item),
                                              progress.get(), report);
    }
    if (!removed) {
        // The root stays: its rows are still in the library.
        if (!report.stopped)
            Tell(Tr("FolderTree", "ライブラリから除外できませんでした。\n") + report.error,
                 Tr("FolderTree", "エラー"));
        return;
    }
    RemoveItem(item);
}

std::vector<std::string> FolderTree::OtherRoots(const QTreeWidgetItem* except) const {
    std::vector<std::string> roots;
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i) != except) roots.push_back(ItemText(topLevelItem(i)));
    return roots;
}

// A registered song folder stays where it is: the root list, config.xml and
// the rows' "ROOT" parent all name it at its place.
bool FolderTree::RefuseRootMove(const QTreeWidgetItem* item) {
    if (item->parent()) return false;
    Tell(Tr("FolderTree", "ルートフォルダは移動できません。"), Tr("FolderTree", "エラー"));
    return true;
}

void FolderTree::Cut(QTreeWidgetItem* item) {
    if (!RefuseRootMove(item)) cut_item = item;
}

void FolderTree::Paste() {
    QTreeWidgetItem* cut = cut_item;
    QTreeWidgetItem* target = current_;
    if (!cut || !target || IsInside(cut, target)) return;
    cut_item = nullptr;
    if (RefuseRootMove(cut)) return;
    const std::string source = ItemPath(cut);
    const std::string destination = WinPath(ItemPath(target)).Join(ItemText(cut)).text();
    if (RefuseLong(source) || RefuseLong(destination)) return;
    const bool folder = IsDirectory(source);
    if (folder && HoldsRoot(OtherRoots(cut), WinPath(source))) {
        Tell(Tr("FolderTree", "ルートフォルダを含むフォルダは移動できません。"),
             Tr("FolderTree", "エラー"));
        return;
    }
    const std::string question =
        Arg(Tr("FolderTree", "ファイルを移動してもよろしいですか？\n移動元:%1\n移動先:%2"),
            {source, destination});
    if (Ui().MessageBox(window(), question, Tr("FolderTree", "確認"), MsgButtons::YesNo,
                        MsgIcon::Question) != MsgAnswer::Yes)
        return;
    if (!MovePath(source, destination)) {
        Tell(Tr("FolderTree", "ファイルの移動に失敗しました。"), Tr("FolderTree", "エラー"));
        return;
    }
    QTreeWidgetItem* copy = cut->clone();
    const std::string name = ItemText(cut);
    ForgetItem(cut);
    delete cut;
    target->insertChild(SortedIndex(target, name), copy);
    Tell(Tr("FolderTree", "ファイルを移動しました。"));
    LibraryReport report;
    if (folder)
        Library().MoveSongPaths(WinPath(source).AsFolder(), WinPath(destination).AsFolder(),
                                nullptr, report);
    else
        MoveFileRows(source, destination);
    if (!report.error.empty()) Tell(report.error, Tr("FolderTree", "エラー"));
}

// A find that the tree lists already (a ".bm_" file, a text file holding
// notes) is marked rather than listed twice.
void FolderTree::SearchHiddenCharts(QTreeWidgetItem* folder) {
    if (!folder) return;
    if (folder->childCount() == 0) Repopulate(folder);
    RunHiddenSearch(window(), WinPath(ItemPath(folder)),
                    [this, folder](const std::string& name) { AddHiddenChartItem(folder, name); });
}

void FolderTree::EditInBmsEditor() {
    const std::string chart = ItemPath(current_);
    const std::string body = tools ? tools->bmse_body : std::string();
    const std::string option = tools ? tools->bmse_option : std::string();
    if (body.empty() || !PathExists(body)) {
        Tell(Tr("FolderTree",
                "利用するbmsエディターが設定されていないか、ファイルが見つかりません。\n"
                "詳細設定ボタンから設定して下さい。"));
        return;
    }
    const std::string parameters = option.empty() ? Quoted(chart) : option + " " + Quoted(chart);
    const ProcessResult result = Processes().Run(Quoted(body) + " " + parameters, Wait::Yes);
    if (!result.started) {
        if (!result.error.empty()) Tell(result.error, Tr("FolderTree", "エラー"));
        return;
    }
    RefreshLibrary(WinPath(chart).Parent().text());
    if (hooks.show_info) hooks.show_info(chart);
}

}  // namespace qv5
