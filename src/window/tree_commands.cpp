// The folder tree's commands that open, refresh, move and delete.
#include <QElapsedTimer>
#include <algorithm>

#include "window/folder_tree.h"
#include "window/hidden_search_command.h"
#include "browser/root_list.h"
#include "config/tool_settings.h"
#include "library/difficulty.h"
#include "library/library_report.h"
#include "library/refresh.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "window/job_summary.h"
#include "platform/process.h"
#include "platform/progress.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/transaction.h"
#include "platform/ui_service.h"
#include "player/ranking.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string WithSeparator(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
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
    if (IsOneOf(id, {32845, 32840})) return Cut(currentItem() ? currentItem() : item);
    if (IsOneOf(id, {32843, 32841})) return Paste();
    if (RefuseLong(path)) return;
    if (IsOneOf(id, {32830, 32806})) return ShellOpen(Quoted(path));
    if (IsOneOf(id, {32831, 32807})) return Refresh(item);
    if (IsOneOf(id, {32832, 32810})) return NewFolder();
    if (id == 32834) return RenameRoot();
    if (id == 32808) return RenameFolder();
    if (IsOneOf(id, {32826, 32828})) return RenameFile();
    if (IsOneOf(id, {32811, 32827, 32829})) return Delete();
    if (id == 32833) return ExcludeRoot();
    if (IsOneOf(id, {32825, 32836})) {
        if (!OpenInTextEditor(path))
            Tell(Tr("FolderTree", "テキストエディタを起動できませんでした。"));
        return;
    }
    if (id == 32823) return EditInBmsEditor();
    if (id == 32824) {
        OpenChartRankingPage(path);
        return;
    }
    if (id == 32879) {
        if (hooks.edit_tags) hooks.edit_tags(path, false);
        if (hooks.show_info) hooks.show_info(path);
        return;
    }
    if (id == 32812) return SearchHiddenCharts(item);
    if (IsOneOf(id, {32857, 32859, 32872, 32873, 32874, 32814, 32815, 32864, 32865, 32866})) {
        if (hooks.convert) hooks.convert(id, path);
        return;
    }
    if (IsOneOf(id, {32821, 32837, 32856, 32876, 32875, 32855, 32854})) {
        if (hooks.chart_command) hooks.chart_command(id, path);
        return;
    }
}

bool FolderTree::RefuseLong(const std::string& path) {
    if (!PathTooLong(path)) return false;
    Tell(PathTooLongMessage(path), Tr("FolderTree", "エラー"));
    return true;
}

bool FolderTree::RefreshLibrary(const std::string& prefix) {
    LibraryReport report;
    int stored;
    {
        std::unique_ptr<Progress> progress =
            progress_factory
                ? progress_factory(window(), Tr("FolderTree", "ライブラリを更新しています"))
                : nullptr;
        if (progress) progress->SetUnit(ChartsUnit());
        stored = RefreshFolder(prefix, progress.get(), &report);
    }
    if (!stored && !report.stopped && !report.error.empty())
        Tell(Tr("FolderTree", "ライブラリを更新できませんでした。\n") + report.error,
             Tr("FolderTree", "エラー"));
    return stored != 0;
}

// The children come again from the disk, then the library follows them. The
// library's refresh re-registers a root without looking into it, so what was
// put directly into a root folder is scanned for here: a refresh of the root
// adds it like a refresh of any other folder.
void FolderTree::Refresh(QTreeWidgetItem* item) {
    const std::string path = WithSeparator(ItemPath(item));
    if (RefuseLong(path)) return;
    QElapsedTimer took;
    took.start();
    Repopulate(item);
    const bool refreshed = RefreshLibrary(path);
    if (!item->parent() && IsDirectory(path)) ScanRootLevel(path);
    if (refreshed)
        ShowJobSummary(window(),
                       LibrarySummary(LibraryJob::Refresh, CountRowsBelow("song", path),
                                      CountRowsBelow("folder", path), took.elapsed() / 1000.0));
}

// A refresh of one folder of the library after a file in it came or went;
// at a root's own level the root is scanned too, as Refresh does.
void FolderTree::RefreshFolderRows(const std::string& folder) {
    RefreshLibrary(folder);
    const std::vector<std::string> roots = RootTexts();
    if (std::find(roots.begin(), roots.end(), folder) != roots.end() && IsDirectory(folder))
        ScanRootLevel(folder);
}

void FolderTree::ScanRootLevel(const std::string& root) {
    Database& db = SongLibrary();
    LibraryReport report;
    bool stored;
    {
        std::unique_ptr<Progress> progress =
            progress_factory
                ? progress_factory(window(), Tr("FolderTree", "ライブラリを更新しています"))
                : nullptr;
        Transaction tx(db);
        stored = tx.ok() && ScanFolder(db, root, root, progress.get(), &report) >= 0 &&
                 AssignFolderDifficulties(db, root) && tx.Commit();
        if (!stored && report.error.empty()) report.error = db.LastError();
    }
    if (!stored && !report.stopped && !report.error.empty())
        Tell(Tr("FolderTree", "ライブラリを更新できませんでした。\n") + report.error,
             Tr("FolderTree", "エラー"));
}

// Deleting a folder that a root lies in would leave a root whose folder is
// gone, so it is refused. The parent is rebuilt from the disk whatever the
// answer was.
void FolderTree::Delete() {
    QTreeWidgetItem* item = current_;
    const std::string path = ItemPath(item);
    if (IsDirectory(path) && HoldsRoot(RootTexts(), path)) {
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

// The rows go by prefix, which also takes the rows of another root item that
// names the same folder or one inside it (the picker allows both): those are
// registered again in the same transaction, so they keep their songs.
void FolderTree::ExcludeRoot() {
    QTreeWidgetItem* item = current_;
    const std::string prefix = ItemText(item);
    std::vector<std::string> kept;
    for (const std::string& other : OtherRoots(item))
        if (other.compare(0, prefix.size(), prefix) == 0) kept.push_back(other);
    Database& db = SongLibrary();
    LibraryReport report;
    bool removed;
    {
        std::unique_ptr<Progress> progress =
            kept.empty() || !progress_factory
                ? nullptr
                : progress_factory(window(), Tr("FolderTree", "ライブラリを更新しています"));
        Transaction tx(db);
        removed = tx.ok() && RemovePaths(db, prefix, &report);
        for (const std::string& other : kept)
            removed = removed && RegisterRootFolder(db, other, progress.get(), &report) != 0 &&
                      AssignFolderDifficulties(db, other);
        removed = removed && tx.Commit();
        if (!removed && report.error.empty()) report.error = db.LastError();
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
    const std::string destination = WithSeparator(ItemPath(target)) + ItemText(cut);
    if (RefuseLong(source) || RefuseLong(destination)) return;
    const bool folder = IsDirectory(source);
    if (folder && HoldsRoot(OtherRoots(cut), source)) {
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
        MovePaths(WithSeparator(source), WithSeparator(destination), &report);
    else
        MoveFileRows(source, destination);
    if (!report.error.empty()) Tell(report.error, Tr("FolderTree", "エラー"));
}

// A find that the tree lists already (a ".bm_" file, a text file holding
// notes) is marked rather than listed twice.
void FolderTree::SearchHiddenCharts(QTreeWidgetItem* folder) {
    if (!folder) return;
    if (folder->childCount() == 0) Repopulate(folder);
    RunHiddenSearch(window(), ItemPath(folder),
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
    RefreshLibrary(DirectoryOf(chart));
    if (hooks.show_info) hooks.show_info(chart);
}

}  // namespace qv5
