// The interface language as Qt sees it: the English catalogue compiled into
// the program (translations/qv5_en.ts) and Qt's own texts for the standard
// buttons.
#pragma once

#include "platform/tr.h"

namespace qv5 {

// 1 installs the English catalogue; any other value removes it (Japanese).
// Works without an application object (the command line); with one, Qt's
// own tr() calls follow too. LanguageInUse (platform/tr.h) tells which.
void UseLanguage(int language);

}  // namespace qv5
