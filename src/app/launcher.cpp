// Starting the game body. Until the launcher exists, the buttons only apply
// the settings, so that nothing typed is lost.
#include "app/main_window.h"
#include "app/main_window_steps.h"

namespace qv5 {

void OnPlay(CQV5config_2Dlg& dlg) {
    dlg.ApplySettings();
}
void OnPlayOptions(CQV5config_2Dlg& dlg) {
    dlg.ApplySettings();
}
void OnMakeMovie(CQV5config_2Dlg&) {}

}  // namespace qv5
