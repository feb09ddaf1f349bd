// The folder tree of the JUKEBOX1 page: the registered root folders and, below
// them, the sub-folders and the files that matter to a player, filled from the
// disk one level at a time. Every command acts on the current item, works on
// the disk first and then brings song.db in step.
#pragma once

#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/progress.h"
#include "platform/win_path.h"
#include "window/tree/folder_tree_ids.h"

namespace qv5 {

class NameDialog;
class SongLibrary;
struct LibraryReport;
struct ToolSettings;

// Work that other parts of the program do for the tree; an empty hook does
// nothing.
struct TreeHooks {
    // The game body's chart commands (play, autoplay, exports) by id.
    std::function<void(int command_id, const std::string& chart_path)> chart_command;
    // Conversions of a folder by command id.
    std::function<void(int command_id, const std::string& folder_path)> convert;
    std::function<void(const std::string& path, bool is_folder)> edit_tags;
    // The information panel; called with the selected item's path.
    std::function<void(const std::string& chart_path)> show_info;
};

// Makes the progress shown by long work; the default opens the progress
// window once the work has taken a moment.
using ProgressFactory =
    std::function<std::unique_ptr<Progress>(QWidget* owner, const std::string& title)>;
std::unique_ptr<Progress> OpenProgressWindow(QWidget* owner, const std::string& title);

enum class ItemKind { Root, Folder, Chart, OtherFile };

class FolderTree : public QTreeWidget {
    Q_OBJECT
  public:
    explicit FolderTree(QWidget* parent = nullptr);
    ~FolderTree() override;

    // The song library it reads and changes; set before it is used.
    void SetLibrary(SongLibrary* library) { library_ = library; }
    SongLibrary& Library() const {
        Q_ASSERT(library_);
        return *library_;
    }

    // Items and their paths.
    static std::string ItemText(const QTreeWidgetItem* item);
    // The item's file-system path from the texts up to its root; "_ERROR_"
    // for no item.
    static std::string ItemPath(const QTreeWidgetItem* item);
    static int NormalIcon(const QTreeWidgetItem* item);
    static void SetIcons(QTreeWidgetItem* item, int normal, int selected);
    ItemKind KindOf(const QTreeWidgetItem* item) const;

    // Lists the folder `path` under `parent` (see the icon rules in the .cpp).
    void Populate(const WinPath& path, QTreeWidgetItem* parent);
    // Deletes the item's children and lists them again from the disk, without
    // touching the library.
    void Repopulate(QTreeWidgetItem* item);
    // Brings every listed level in step with the disk: new entries are
    // inserted, vanished ones removed; the rest keep their items, so what is
    // open stays open.
    void FollowDisk();

    // Root items. InsertRoot appends one and lists its first level.
    QTreeWidgetItem* InsertRoot(const WinPath& path);
    std::vector<std::string> RootTexts() const;
    void ClearRoots();
    // Deletes an item and its subtree, forgetting it as the current or cut item.
    void RemoveItem(QTreeWidgetItem* item);

    // A child inserted in sorted position with the given icons.
    QTreeWidgetItem* InsertChild(QTreeWidgetItem* parent, const std::string& name, int normal,
                                 int selected);
    // A folder that has just been installed: red folder, listed, selected.
    QTreeWidgetItem* InsertNewFolderItem(QTreeWidgetItem* parent, const std::string& name);
    // A hidden chart found by the search: listed with the question mark, or,
    // when the folder lists that name already, that item marked. The folder
    // keeps its icon.
    QTreeWidgetItem* AddHiddenChartItem(QTreeWidgetItem* folder, const std::string& name);
    // The hidden chart search of a folder item (listed first when it has
    // never been); the finds are added as above.
    void SearchHiddenCharts(QTreeWidgetItem* folder);

    // The item the commands act on: the last one clicked or right-clicked.
    QTreeWidgetItem* CurrentItem() const { return current_; }
    void SetCurrent(QTreeWidgetItem* item);
    // The folder of the selected item (a file's folder), "" when none.
    std::string SelectedFolderPath() const;

    // The command ids of each context menu, in menu order.
    static const std::vector<int>& MenuCommands(ItemKind kind);
    ItemKind MenuKindFor(QTreeWidgetItem* item) const { return KindOf(item); }
    // Runs a context-menu command on the current item.
    void RunCommand(int command_id);
    // A double click on `item`.
    void OnDoubleClick(QTreeWidgetItem* item);
    // The end of a drag inside the tree: never moves anything.
    void OnDragRelease(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

    TreeHooks hooks;
    ProgressFactory progress_factory = OpenProgressWindow;
    // The tool settings of the page (the BMS editor); may be null.
    const ToolSettings* tools = nullptr;
    QTreeWidgetItem* cut_item = nullptr;

    static bool IsInside(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor);

    // The item's children read again from the disk, then its library rows
    // refreshed, with the summary; false when the library could not follow.
    bool Refresh(QTreeWidgetItem* item);

  protected:
    // No expand buttons: a level opens by a double click.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus();
    // Commands (tree_commands.cpp, tree_edits.cpp).
    void NewFolder();
    void RenameFolder();
    void RenameRoot();
    void RenameFile();
    void Delete();
    void Cut(QTreeWidgetItem* item);
    void Paste();
    bool RefuseRootMove(const QTreeWidgetItem* item);
    void ExcludeRoot();
    void EditInBmsEditor();
    // False when the library could not be brought up to date (said to the
    // user); `done` (may be null) receives the report.
    bool RefreshLibrary(const std::string& prefix, LibraryReport* done = nullptr);
    // The texts of the root items other than `except`.
    std::vector<std::string> OtherRoots(const QTreeWidgetItem* except) const;
    // The library rows of one chart file after it was moved or renamed away.
    void MoveFileRows(const std::string& from, const std::string& to);
    void RemoveFileRows(const WinPath& path);
    static int SortedIndex(const QTreeWidgetItem* parent, const std::string& name);
    bool RefuseLong(const std::string& path);
    void Tell(const std::string& text, const std::string& caption = {});
    void ForgetItem(QTreeWidgetItem* item);

    QTreeWidgetItem* current_ = nullptr;
    std::unique_ptr<NameDialog> names_;
    SongLibrary* library_ = nullptr;
};

}  // namespace qv5
