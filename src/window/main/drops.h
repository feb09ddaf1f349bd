// Files dropped on the main window, dispatched by kind.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "window/main/drop_target.h"

namespace qv5 {

enum class DropKind { RootFolder, CourseList, Wallpaper, CustomFolder, Chart, Zip, Rar, Ignored };

// The kind of a dropped path (internal), by the first test that matches.
DropKind ClassifyDrop(const std::string& path);

// The state of one drop.
struct DropState {
    bool root_confirmed = false;
    bool install_confirmed = false;
    enum class Delete { Ask, Always, Never } delete_policy = Delete::Ask;
    int count = 0;  // paths in the drop
};

// Writes the image at `path` as a 640 x 480, 24-bit wallpaper bmp named after
// it into QV5files\WallPaper\Select; false when it cannot be loaded. `saved`
// tells whether the file was written.
bool MakeWallpaper(const std::string& path, bool& saved);

}  // namespace qv5
