// The JUKEBOX1 page: the folder tree of the registered root folders, adding
// and rescanning them, and the new-song folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/tool_settings.h"
#include "window/pages/page.h"

class QTreeWidgetItem;

namespace qv5 {

class FolderTree;
class SongLibrary;

class JukeboxPage : public Page {
    Q_OBJECT
  public:
    explicit JukeboxPage(QWidget* parent = nullptr);

    // The song library of the page, its tree and its information panel; set
    // before they are used.
    void SetLibrary(SongLibrary* library);

    FolderTree* Tree() const { return tree_; }
    // The texts of the tree's root items, in tree order.
    std::vector<std::string> RootTexts() const;
    // The roots of the configuration: listed from the disk, not scanned.
    void SetRoots(const std::vector<std::string>& roots);
    // The root list config.xml held when the page last read it.
    const std::vector<std::string>& RootsRead() const { return roots_read_; }
    // The tree takes in what another program changed in config.xml's list
    // since the page read it (`now`, the list there at present): a root gone
    // from the file leaves the tree, a new one is appended; `now` becomes the
    // list read. The roots the page added or removed itself meanwhile stay as
    // the page has them.
    void FollowRoots(const std::vector<std::string>& now);
    // After another program changed the library: the tree (and the record's
    // list) follow config.xml's song folders, and the listed levels follow
    // the disk.
    void FollowLibrary(ConfigRecord& record);

    // The buttons and menu entries of the same names (jukebox_page_ids.h).
    void AddRootFromBrowser();
    void FullRescan();
    void ChooseInstallFolder();
    void OpenInstallFolder();
    void OpenToolSettings();

    // For files dropped on the window. `path` is an internal path.
    // True (after telling the user) when the path is a root or lies below one.
    bool DuplicateCheck(const std::string& stored_path);
    // One drop asks its question once, as soon as a folder is confirmed.
    struct DropState {
        bool confirmed = false;
    };
    // A dropped folder: stored relative to the program directory when inside
    // it, checked, confirmed, listed and registered. True when registered.
    bool RegisterDroppedFolder(const std::string& path, DropState& drop);
    // A dropped custom-folder file: a root without question or scan.
    bool AddCustomFolderRoot(const std::string& path);

    // The tool settings dialog's values; they stay with the page between openings.
    ToolSettings tools;
    // Opens the tool settings dialog on `tools`; may be empty.
    std::function<void()> open_tool_settings;

  private:
    // Lists the new root and registers it in one transaction; a failed or
    // stopped registration takes the root item away again.
    bool RegisterNewRoot(const std::string& path);

    FolderTree* tree_;
    std::vector<std::string> roots_read_;
};

}  // namespace qv5
