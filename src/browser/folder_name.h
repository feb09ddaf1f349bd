// The name suggested when a song folder is renamed: "[artist] title", taken
// from the folder's oldest chart.
#pragma once

#include <optional>
#include <string>

#include "platform/win_path.h"

namespace qv5 {

// Nothing when the folder holds no readable chart.
std::optional<std::string> SuggestFolderName(const WinPath& folder_path);

}  // namespace qv5
