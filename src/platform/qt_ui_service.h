#pragma once

#include <QString>
#include <memory>
#include <string>

#include "platform/ui_service.h"

namespace qv5 {

// The UI service of the running program: Qt message boxes and pickers.
std::unique_ptr<UiService> MakeQtUiService();

// A Windows-style file filter ("desc|pattern|...||", CP932) as a Qt name filter.
QString QtNameFilter(const std::string& filter);

}  // namespace qv5
