// Files dropped on the main window: accepted, dispatched by kind later.
#include "app/main_window_steps.h"

namespace qv5 {

void OnDropFiles(MainWindow&, const QList<QUrl>&) {}

}  // namespace qv5
