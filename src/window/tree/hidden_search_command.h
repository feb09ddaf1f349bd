// The folder menu's hidden chart search, run under the progress window.
#pragma once

#include <functional>
#include <string>

#include "platform/win_path.h"

class QWidget;

namespace qv5 {

// Searches `folder` (the folder item's path) and calls `add_item` with the
// entry name of every hidden chart found, in listing order, for the tree to
// insert under the folder item with the question-mark icon. Then tells the
// outcome in a box captioned "検索終了" (none when the user stopped the
// search and nothing was found). Returns the number found.
int RunHiddenSearch(QWidget* owner, const WinPath& folder,
                    const std::function<void(const std::string& name)>& add_item);

}  // namespace qv5
