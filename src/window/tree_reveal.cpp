#include "window/tree_reveal.h"

#include "window/folder_tree.h"

namespace qv5 {
namespace {

std::string WithSeparator(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const std::string& name) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem* child = parent->child(i);
        const std::string text = FolderTree::ItemText(child);
        if (text == name || text == name + '\\') return child;
    }
    return nullptr;
}

}  // namespace

QTreeWidgetItem* RevealPath(FolderTree& tree, const std::string& path) {
    for (int r = 0; r < tree.topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = tree.topLevelItem(r);
        const std::string root = WithSeparator(FolderTree::ItemPath(item));
        if (path.compare(0, root.size(), root) != 0) continue;
        std::string rest = path.substr(root.size());
        while (item && !rest.empty()) {
            const size_t cut = rest.find('\\');
            const std::string name = rest.substr(0, cut);
            rest = cut == std::string::npos ? std::string() : rest.substr(cut + 1);
            if (name.empty()) continue;
            if (item->childCount() == 0) tree.Repopulate(item);
            item->setExpanded(true);
            item = ChildNamed(item, name);
        }
        if (!item) return nullptr;
        tree.SetCurrent(item);
        tree.scrollToItem(item);
        return item;
    }
    return nullptr;
}

}  // namespace qv5
