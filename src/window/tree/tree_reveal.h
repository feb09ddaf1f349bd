// Finding a path's item in the folder tree, for windows that name paths.
#pragma once

#include <string>

#include "platform/win_path.h"

class QTreeWidgetItem;

namespace qv5 {

class FolderTree;

// Selects and shows the item of the internal `path` (a trailing "\" allowed),
// listing the levels on the way as a double click would; when the path is
// gone, the nearest item above it. Null when no root item holds the path.
QTreeWidgetItem* RevealInTree(FolderTree& tree, const WinPath& path);

}  // namespace qv5
