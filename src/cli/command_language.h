// The language of the command line's messages: English when config.xml's
// language is 1, the Japanese texts otherwise; QV5_LANG=ja|en overrides it
// (for scripts). --help is English whatever the language.
#pragma once

#include <string>

namespace qv5 {

struct CatalogueEntry {
    const char* context;
    const char* japanese;
    const char* english;
};

// 1 English, 0 Japanese. Reads config.xml of the game folder in use, so call
// it after SetProgramDirectory.
int CommandLineLanguage();

// The English texts of the library commands, which run without Qt in the
// quick program; each must equal the translation in translations/qv5_en.ts.
const CatalogueEntry* LibraryCommandsEnglish(size_t& count);

// Uses the table above as the catalogue when language is 1 (the quick
// program); the full program installs the whole catalogue instead.
void UseLibraryCommandsLanguage(int language);

}  // namespace qv5
