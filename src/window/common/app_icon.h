// The window icon, drawn rather than stored: one image per size the window
// system asks for (title bar and task bar).
#pragma once

#include <QIcon>

namespace qv5 {

QIcon AppIcon();

}  // namespace qv5
