// The seven 16x16 pictures of the folder tree, drawn by the program.
#pragma once

#include <QIcon>

namespace qv5 {

enum TreeIcon : int {
    kIconFolder = 0,         // closed yellow folder
    kIconFolderOpen = 1,     // open yellow folder
    kIconChart = 2,          // black disc
    kIconDocument = 3,       // blank document
    kIconNewFolder = 4,      // closed red folder
    kIconNewFolderOpen = 5,  // open red folder
    kIconHidden = 6,         // blue question mark
};
inline constexpr int kTreeIconCount = 7;

QPixmap TreeIconPixmap(int index);
// An icon showing `normal`, and `selected` while the item is selected.
QIcon TreeIconPair(int normal, int selected);

}  // namespace qv5
