// What the program is: its version, the libraries it runs on and its licence,
// for --version and Help -> About.
#pragma once

#include <string>

class QWidget;

namespace qv5 {

// Lines of ASCII text: the program's version, then Qt, SQLite, libarchive
// and libcurl as loaded at run time.
std::string VersionText();
// VersionText and the licence in a message box, in the language in use.
void ShowAbout(QWidget* owner);

}  // namespace qv5
