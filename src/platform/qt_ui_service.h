#pragma once

#include <memory>

#include "platform/ui_service.h"

namespace qv5 {

// The UI service of the running program: Qt message boxes and pickers.
std::unique_ptr<UiService> MakeQtUiService();

}  // namespace qv5
