// The language of the command line's messages: English when config.xml's
// language is 1, the Japanese texts otherwise; QV5_LANG=ja|en overrides it
// (for scripts). --help is English whatever the language.
#pragma once

#include <cstddef>
#include <string>

namespace qv5 {

struct CatalogueEntry {
    const char* context;
    const char* japanese;
    const char* english;
    const char* english_plural;  // the same as english for a text without a count
};

// The English catalogue as a table, made from translations/qv5_en.ts at
// build time (scripts/ts-to-table.py): the quick program runs without Qt.
extern const CatalogueEntry kEnglishTable[];
extern const size_t kEnglishTableSize;

// 1 English, 0 Japanese. Reads config.xml of the game folder in use, so call
// it after SetProgramDirectory.
int CommandLineLanguage();

// Uses the table above as the catalogue when language is 1 (the quick
// program); the full program installs the compiled catalogue instead.
void UseQuickLanguage(int language);

}  // namespace qv5
