// Steps of the main window that belong to other subsystems.
#pragma once

#include <QList>
#include <QUrl>
#include <string>

namespace qv5 {

class CQV5config_2Dlg;

// Player checks of ApplySettings (ID, password, verification); true to go on.
bool CheckPlayer(CQV5config_2Dlg& dlg);
// Shows the welcome message and the new-player dialog until a player exists.
void RunFirstRunLoop(CQV5config_2Dlg& dlg);

void OpenLibraryAtStart(const std::string& player_id);
void ReopenLibrary(const std::string& player_id);

// Button row.
void OnPlay(CQV5config_2Dlg& dlg);
void OnPlayOptions(CQV5config_2Dlg& dlg);
void OnMakeMovie(CQV5config_2Dlg& dlg);

void OnDropFiles(CQV5config_2Dlg& dlg, const QList<QUrl>& urls);

}  // namespace qv5
