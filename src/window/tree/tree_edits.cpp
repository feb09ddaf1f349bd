// The folder tree's commands that create and rename.
#include "browser/folder_name.h"
#include "browser/root_list.h"
#include "library/chart_names.h"
#include "library/library_report.h"
#include "library/refresh.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "platform/win_path.h"
#include "window/dialogs/name_dialog.h"
#include "window/tree/folder_tree.h"
#include "window/tree/tree_icons.h"

namespace qv5 {
namespace {

std::string Tail(const std::string& name, size_t n) {
    return name.size() <= n ? name : name.substr(name.size() - n);
}

// The library's file operations match a path prefix: "a.bms" would also take
// "a.bms.bme". When a sibling's name begins with the file's name, the folder
// is refreshed instead.
bool PrefixIsExact(const std::string& path) {
    const std::string dir = WinPath(path).Parent().text();
    const std::string name = path.substr(dir.size());
    std::vector<DirEntry> entries;
    if (!ListFolder(dir, entries, ListDetail::NamesAndKinds)) return true;
    for (const DirEntry& e : entries)
        if (e.name.size() > name.size() && e.name.compare(0, name.size(), name) == 0) return false;
    return true;
}

void TellError(QWidget* owner, const std::string& text) {
    ShowMessage(owner, text, Tr("FolderTree", "エラー"));
}

const char* kRenameFailed = QT_TRANSLATE_NOOP("FolderTree", "リネームに失敗しました。");
const char* kNewFolderPrompt =
    QT_TRANSLATE_NOOP("FolderTree", "新しいフォルダ名を入力して下さい。");
const char* kNewFilePrompt = QT_TRANSLATE_NOOP("FolderTree", "新しいファイル名を入力して下さい。");

}  // namespace

void FolderTree::MoveFileRows(const std::string& from, const std::string& to) {
    LibraryReport report;
    if (PrefixIsExact(from) && PrefixIsExact(to)) {
        Library().MoveSongPaths(WinPath(from), WinPath(to), nullptr, report);
        if (!report.error.empty()) TellError(window(), report.error);
        return;
    }
    RefreshLibrary(WinPath(from).Parent().text());
    if (WinPath(to).Parent().text() != WinPath(from).Parent().text())
        RefreshLibrary(WinPath(to).Parent().text());
}

void FolderTree::RemoveFileRows(const WinPath& path_path) {
    const std::string& path = path_path.text();
    if (!PrefixIsExact(path)) {
        RefreshLibrary(WinPath(path).Parent().text());
        return;
    }
    LibraryReport report;
    if (!Library().RemoveSongPaths(WinPath(path), report) && !report.error.empty())
        TellError(window(), report.error);
}

void FolderTree::NewFolder() {
    QTreeWidgetItem* item = current_;
    auto name = names_->Ask(Tr("FolderTree", "フォルダ名を入力して下さい。"),
                            Tr("FolderTree", "新しいフォルダ"));
    if (!name) return;
    const std::string path = WinPath(ItemPath(item)).Join(*name).text();
    if (RefuseLong(path)) return;
    if (!IsPlainName(*name) || !CreateFolder(path)) {
        Tell(Tr("FolderTree", "フォルダの作成に失敗しました。"));
        return;
    }
    InsertChild(item, *name, kIconNewFolder, kIconNewFolderOpen);
    item->setExpanded(true);
    LibraryReport report;
    if (!Library().ScanNewEntry(WinPath(path), nullptr, report) && !report.error.empty())
        TellError(window(), report.error);
}

void FolderTree::RenameFolder() {
    QTreeWidgetItem* item = current_;
    QTreeWidgetItem* parent = item->parent();
    const std::string old_path = ItemPath(item);
    if (HoldsRoot(RootTexts(), WinPath(old_path))) {
        TellError(window(),
                  Tr("FolderTree", "ルートフォルダを含むフォルダの名前は変更できません。"));
        return;
    }
    const std::string suggested = SuggestFolderName(WinPath(old_path)).value_or(ItemText(item));
    auto name = names_->Ask(Tr("FolderTree", kNewFolderPrompt), suggested);
    if (!name) return;
    const std::string new_path = WinPath(ItemPath(parent)).Join(*name).text();
    if (RefuseLong(new_path)) return;
    if (!IsPlainName(*name) || !MovePath(old_path, new_path)) {
        TellError(window(), Tr("FolderTree", kRenameFailed));
        return;
    }
    const int at = parent->indexOfChild(item);
    parent->takeChild(at);
    item->setText(0, ToQString(*name));
    item->setData(0, Qt::UserRole + 2, QByteArray(name->data(), qsizetype(name->size())));
    parent->insertChild(SortedIndex(parent, *name), item);
    setCurrentItem(item);
    LibraryReport report;
    if (!Library().MoveSongPaths(WinPath(old_path).AsFolder(), WinPath(new_path).AsFolder(),
                                 nullptr, report))
        TellError(window(), report.error);
}

// A custom-folder root is a file: it is renamed as one, keeps its extension
// (else it would register nothing) and its text gets no separator. Its row is
// moved by its path as a prefix, so a sibling whose name begins with it would
// have its rows moved along: that rename is refused.
void FolderTree::RenameRoot() {
    QTreeWidgetItem* item = current_;
    const bool custom = IsCustomFolderName(ItemText(item));
    const std::string old_path = WinPath(ItemText(item)).AsFile().text();
    if (HoldsRoot(OtherRoots(item), WinPath(old_path))) {
        TellError(window(),
                  Tr("FolderTree", "ルートフォルダを含むフォルダの名前は変更できません。"));
        return;
    }
    const std::string dir = WinPath(old_path).Parent().text();
    auto name = names_->Ask(Tr("FolderTree", custom ? kNewFilePrompt : kNewFolderPrompt),
                            old_path.substr(dir.size()));
    if (!name) return;
    if (custom && !IsCustomFolderName(*name)) {
        TellError(window(),
                  Tr("FolderTree", "カスタムフォルダの拡張子（.qv5folder）は変更できません。"));
        return;
    }
    const std::string new_path = dir + *name;
    const std::string text = custom ? new_path : WinPath(new_path).AsFolder().text();
    if (RefuseLong(text)) return;
    if (!IsPlainName(*name) || (custom && !PrefixIsExact(old_path)) ||
        !MovePath(old_path, new_path)) {
        TellError(window(), Tr("FolderTree", kRenameFailed));
        return;
    }
    item->setText(0, ToQString(text));
    item->setData(0, Qt::UserRole + 2, QByteArray(text.data(), qsizetype(text.size())));
    LibraryReport report;
    if (!Library().MoveSongPaths(custom ? WinPath(old_path) : WinPath(old_path).AsFolder(),
                                 WinPath(text), nullptr, report))
        TellError(window(), report.error);
}

// The new name decides the icon; whether the old and the new name are charts
// (in any case, as the scanner sees them) decides what the library does.
void FolderTree::RenameFile() {
    QTreeWidgetItem* item = current_;
    QTreeWidgetItem* parent = item->parent();
    const std::string old_name = ItemText(item);
    const std::string old_path = ItemPath(item);
    auto name = names_->Ask(Tr("FolderTree", kNewFilePrompt), old_name);
    if (!name) return;
    if (Tail(*name, 3) != Tail(old_name, 3) &&
        Ui().MessageBox(
            window(), Tr("FolderTree", "拡張子が変更されています。\n本当によろしいでしょうか？"),
            Tr("FolderTree", "確認"), MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return;
    const std::string new_path = WinPath(ItemPath(parent)).Join(*name).text();
    if (RefuseLong(new_path)) return;
    if (!IsPlainName(*name) || !MovePath(old_path, new_path)) {
        TellError(window(), Tr("FolderTree", kRenameFailed));
        return;
    }
    const int at = parent->indexOfChild(item);
    parent->takeChild(at);
    item->setText(0, ToQString(*name));
    item->setData(0, Qt::UserRole + 2, QByteArray(name->data(), qsizetype(name->size())));
    parent->insertChild(SortedIndex(parent, *name), item);
    setCurrentItem(item);

    const std::string lower = LowerAscii(new_path);
    const bool was_chart = IsChartName(old_path), is_chart = IsChartName(new_path);
    if (is_chart)
        SetIcons(item, kIconChart, kIconChart);
    else if (EndsWith(lower, ".txt") || EndsWith(lower, ".htm") || EndsWith(lower, ".html"))
        SetIcons(item, kIconDocument, kIconDocument);
    else if (name->find('.', 1) != std::string::npos)
        SetIcons(item, kIconHidden, kIconHidden);
    if (was_chart && is_chart)
        MoveFileRows(old_path, new_path);
    else if (is_chart)
        RefreshLibrary(WinPath(new_path).Parent().text());
    else if (was_chart)
        RemoveFileRows(WinPath(old_path));
}

}  // namespace qv5
