// Where the program finds its game folder (the folder that holds QV5files)
// when none is given, or the given one holds none: the folder chosen once is
// remembered per user, beside the other per-user settings of the desktop
// (QSettings under the XDG config folder), never in config.xml.
#pragma once

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace qv5 {

// True when the host folder holds a QV5files folder.
bool HoldsGameFiles(const std::string& host_dir);
// The per-user settings file (QSettings, INI format) that holds these and
// the window's other remembered choices.
QString SettingsFile();

// The remembered game folder (host path); empty when none was remembered.
std::string RememberedGameFolder();
// False when the per-user settings cannot be written.
bool RememberGameFolder(const std::string& host_dir);

// A command line: `dir` when given or when it holds QV5files, else the
// remembered folder; nullopt after saying on stderr where it looked.
std::optional<std::string> CommandLineGameFolder(const std::string& dir, bool given);

// The window: as the command line, but a folder without QV5files brings up
// the folder chooser (repeated until the choice holds QV5files) and the
// choice is remembered. nullopt after a line on stderr when it is cancelled.
std::optional<std::string> WindowGameFolder(QWidget* owner, const std::string& dir, bool given);

}  // namespace qv5
