// Steps of the main window that belong to other subsystems.
#pragma once

#include <QList>
#include <QUrl>
#include <string>

namespace qv5 {

class MainWindow;

// Player checks of ApplySettings (ID, password, verification); true to go on.
bool CheckPlayer(MainWindow& dlg);
// Shows the welcome message and the new-player dialog until a player exists;
// false when the person closed the dialog twice in a row to leave.
bool RunFirstRunLoop(MainWindow& dlg);

void OpenLibraryAtStart(const std::string& player_id);
void ReopenLibrary(const std::string& player_id);

// Button row.
void OnPlay(MainWindow& dlg);
void OnMakeMovie(MainWindow& dlg);

void OnDropFiles(MainWindow& dlg, const QList<QUrl>& urls);

}  // namespace qv5
