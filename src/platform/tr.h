// Texts the player reads, in the chosen language. The Japanese text is the
// source and the key: without a catalogue (Japanese) it is returned as it is,
// so Japanese texts never change; the English catalogue is
// translations/qv5_en.ts, kept up to date from these calls by lupdate.
//
// Write the source as a plain "..." literal (lupdate does not read u8"...";
// the sources are UTF-8, so the bytes are the same).
#pragma once

#include <initializer_list>
#include <string>

namespace qv5 {

// CP932. context groups texts in the catalogue (one per window or part).
// With n >= 0 the text has plural forms and %n stands for n.
std::string Tr(const char* context, const char* japanese, const char* disambiguation = nullptr,
               int n = -1);

// Looks a source up (context, UTF-8 source, n); returns the UTF-8 text, or
// an empty string when the catalogue has none. %n is replaced by Tr.
using Catalogue = std::string (*)(const char* context, const char* source, int n);

// The catalogue in use; nullptr for Japanese. It is the one record of the
// interface language: the window, the command line and the UI service all
// read it through LanguageInUse.
void SetCatalogue(Catalogue catalogue);
Catalogue CurrentCatalogue();

// The language the texts are in: 1 English while a catalogue is in use, else
// 0 (Japanese).
int LanguageInUse();

// The desktop's language, for a start before config.xml says one: 0 when
// the locale of messages (LC_ALL, else LC_MESSAGES, else LANG: the first
// that is set) is Japanese ("ja", "ja_JP.UTF-8"), 1 (English) otherwise.
int DesktopLanguage();

// Replaces every %n in text by n.
std::string FillCount(std::string text, int n);

// Replaces %1...%9 in text by args[0]..., each where it stands (a translation
// may put them in another order).
std::string Arg(const std::string& text, std::initializer_list<std::string> args);

}  // namespace qv5

// Marks a source for lupdate where the text is looked up later (tables).
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif
