// Starting the game body. Until the launcher exists, the buttons only apply
// the settings, so that nothing typed is lost.
#include "app/main_window.h"
#include "app/main_window_steps.h"

namespace qv5 {

void OnPlay(MainWindow& dlg) {
    dlg.ApplySettings();
}
void OnPlayOptions(MainWindow& dlg) {
    dlg.ApplySettings();
}
void OnMakeMovie(MainWindow&) {}

}  // namespace qv5
