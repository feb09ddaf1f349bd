// The conversion commands of the folder tree's root and folder menus, and
// the conversions that follow an installation. They ask, check the program,
// and run the pass under the progress window, which can stop it between files.
#pragma once

#include <string>

#include "platform/win_path.h"
#include "window/tree/folder_tree_ids.h"

class QWidget;

namespace qv5 {

struct ToolSettings;

bool IsConversionCommand(int command_id);

// One of the ten menu commands on `folder_path` (an item path, with or
// without "\"), with the programs and options of `tools`. False when
// `command_id` is none of them. Confirmation boxes are owned by `owner`.
bool RunConversionCommand(QWidget* owner, int command_id, const WinPath& folder_path,
                          const ToolSettings& tools);

// After songs were installed into `folder_path`: wav to ogg when
// `autowavtoogg` is set, then bmp to png when `autobmptopng` is set, without
// asking (a missing encoder is still reported).
void ConvertInstalledFolder(QWidget* owner, const WinPath& folder_path, const ToolSettings& tools);

}  // namespace qv5
