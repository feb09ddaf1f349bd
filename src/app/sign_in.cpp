#include "app/main_window.h"
#include "app/main_window_steps.h"

namespace qv5 {

bool CheckPlayer(CQV5config_2Dlg&) { return true; }
void RunFirstRunLoop(CQV5config_2Dlg&) {}

}  // namespace qv5
