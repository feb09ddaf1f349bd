// Files dropped on the main window: accepted, dispatched by kind later.
#include "app/main_window_steps.h"

namespace qv5 {

void OnDropFiles(CQV5config_2Dlg&, const QList<QUrl>&) {}

}  // namespace qv5
