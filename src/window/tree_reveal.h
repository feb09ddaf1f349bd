// Finding a library path in the folder tree, which lists its levels lazily.
#pragma once

#include <string>

class QTreeWidgetItem;

namespace qv5 {

class FolderTree;

// Selects and shows the item of `path` (a chart or folder path as the library
// holds it), listing each level on the way that was never listed. Null (and
// nothing selected) when no root holds the path or an entry on the way is gone.
QTreeWidgetItem* RevealPath(FolderTree& tree, const std::string& path);

}  // namespace qv5
