#pragma once

#include <QString>

class QDialog;
#include <memory>
#include <optional>
#include <string>

#include "platform/ui_service.h"

namespace qv5 {

// The UI service of the running program: Qt message boxes and pickers.
std::unique_ptr<UiService> MakeQtUiService();

// A Windows-style file filter ("desc|pattern|...||", CP932) as a Qt name
// filter for the host: each caption as written, followed by the host's
// patterns in parentheses ("*.*" becomes "*"; "*.exe" adds "*").
QString QtNameFilter(const std::string& filter);

// A path chosen in a dialog as an internal path; a name without a Shift-JIS
// form is said (path and character) and gives nullopt, as a cancel does.
std::optional<std::string> ChosenPath(QWidget* owner, const QString& host);
// What ChosenPath says, in the language in use.
std::string UnrepresentablePathMessage(const std::string& host_path);

// Runs a dialog of the service modally; after GrabNextDialogTo, the next one
// is only shown, saved as a PNG picture and closed as cancelled (--screenshot).
int RunModal(QDialog& dialog);
void GrabNextDialogTo(const std::string& host_png);
// Shows the dialog and saves its picture, with its title above it.
bool SaveDialogPicture(QDialog& dialog, const std::string& host_png);
bool DialogGrabbed();

}  // namespace qv5
