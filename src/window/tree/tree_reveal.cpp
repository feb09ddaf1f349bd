#include "window/tree/tree_reveal.h"

#include <vector>

#include "platform/text.h"
#include "platform/win_path.h"
#include "window/tree/folder_tree.h"

namespace qv5 {
namespace {

// The names after `prefix`; a trail byte 0x5C is no separator.
std::vector<std::string> NamesAfter(const std::string& path, size_t prefix) {
    std::vector<std::string> names;
    std::string name;
    for (size_t i = prefix; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(c) && i + 1 < path.size()) {
            name += path[i];
            name += path[++i];
        } else if (c == '\\') {
            if (!name.empty()) names.push_back(name);
            name.clear();
        } else {
            name += path[i];
        }
    }
    if (!name.empty()) names.push_back(name);
    return names;
}

}  // namespace

QTreeWidgetItem* RevealInTree(FolderTree& tree, const WinPath& path_path) {
    const std::string& path = path_path.text();
    const std::string full = WinPath(path).AsFolder().text();
    QTreeWidgetItem* item = nullptr;
    size_t matched = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const std::string root =
            WinPath(FolderTree::ItemText(tree.topLevelItem(i))).AsFolder().text();
        if (root.size() > matched && full.compare(0, root.size(), root) == 0) {
            item = tree.topLevelItem(i);
            matched = root.size();
        }
    }
    if (!item) return nullptr;
    for (const std::string& name : NamesAfter(path, matched)) {
        if (item->childCount() == 0) tree.Repopulate(item);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (FolderTree::ItemText(item->child(i)) == name) next = item->child(i);
        if (!next) break;
        item->setExpanded(true);
        item = next;
    }
    tree.SetCurrent(item);
    tree.scrollToItem(item);
    return item;
}

}  // namespace qv5
