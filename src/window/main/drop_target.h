// What the drop handler needs of the folder tree and the JUKEBOX1 page. The
// window's tree implements it; the handler itself does the disk and library
// work (installs, copies, registration of installed songs).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv5 {

// One item of the folder tree, as the handler sees it.
struct DropItem {
    std::uintptr_t handle = 0;  // the tree's own identification of the item
    std::string text;           // CP932, the item's text
    std::string path;           // its tree item path (internal; folders may end in "\")
    int icon = 0;               // item icon: 0 and 4 are folder items, 3 a custom folder
};

class DropTarget {
  public:
    virtual ~DropTarget() = default;

    // The JUKEBOX1 page is the tab shown.
    virtual bool JukeboxShown() const = 0;
    // The folder tree's selected item; nullopt when none is selected.
    virtual std::optional<DropItem> SelectedItem() = 0;
    // The item's parent; nullopt for a root item.
    virtual std::optional<DropItem> ParentOf(const DropItem& item) = 0;
    // Makes the item the tree's selected item and its current item.
    virtual void Select(const DropItem& item) = 0;
    // Lists the item's children from disk again (the library is up to date
    // already when this is called).
    virtual void RepopulateItem(const DropItem& item) = 0;
    // The child of `parent` named `name`: the one there, or a new folder item
    // with item icons 4 and 5 (the red new folder).
    virtual DropItem AddFolderItem(const DropItem& parent, const std::string& name) = 0;

    // The already-registered check of the root list: true when `path` (a
    // folder with its trailing "\", or a custom-folder file) may not be added;
    // the refusal's message has been shown.
    virtual bool RootRefused(const std::string& path) = 0;
    // Appends and populates a root item for the folder, registers it in the
    // song library with its difficulties, and marks the page changed.
    virtual void AddRootFolder(const std::string& path) = 0;
    // Appends a root item for the custom-folder file (item icon 3) and marks
    // the page changed; the song library is not touched.
    virtual void AddCustomFolderRoot(const std::string& path) = 0;

    // The automatic actions after an install, on the new folder.
    virtual void ConvertWavToOgg(const std::string& folder) = 0;
    virtual void ConvertBmpToPng(const std::string& folder) = 0;
    virtual void SearchHiddenCharts(const DropItem& item) = 0;
    // Shows the pages' data in their controls again.
    virtual void RefreshControls() = 0;
};

}  // namespace qv5
