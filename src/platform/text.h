// Text conversions at the program's boundaries. Internal text is CP932 bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class QString;

namespace qv5 {

// CP932 -> UTF-8. Invalid bytes become U+FFFD; never fails.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 -> CP932. Fails (nullopt) when a character has no exact CP932 form, or
// when the round trip would not give the same text back (best-fit mappings).
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// UTF-8 -> CP932 for the name of a file the program creates from a name
// written elsewhere (an archive entry): characters whose usual Japanese form
// differs between JIS mappings and CP932 (WAVE DASH, MINUS SIGN, DOUBLE
// VERTICAL LINE, EM DASH, the cent, pound, not and broken bar signs) take
// their CP932 form; anything else must convert exactly, as in Utf8ToCp932.
// Not for names read from the disk: those must lead back to the same file.
std::optional<std::string> Utf8NameToCp932(std::string_view utf8);

// UTF-8 -> CP932, lossy: characters without a CP932 form become '?'.
std::string Utf8ToCp932Lossy(std::string_view utf8);

// For literals written as u8"..." in the source.
std::string Sj(const char8_t* utf8);

QString ToQString(std::string_view cp932);
std::string FromQString(const QString& s);

// True when byte c starts a two-byte CP932 character.
inline bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
// The longest head of CP932 `text` within `max_bytes` that ends on a
// character boundary (a lead byte is never kept without its trail).
std::string Cp932Head(const std::string& text, size_t max_bytes);

// Name tests on CP932 text. They go character by character: the trail byte of
// a double-byte character is never a letter, a separator or the start of a
// match ("ソ" is 0x83 0x5C, "ア" 0x83 0x41, "ッ" 0x83 0x62).

// Whether a character starts at byte `at` of `text` (the end counts).
bool IsCharStart(std::string_view text, size_t at);
// ASCII letters lowered; double-byte characters stay whole.
std::string LowerAscii(std::string_view text);
void LowerAsciiInPlace(std::string& text);
// ASCII letters in either case; double-byte characters byte for byte.
bool SameIgnoringCase(std::string_view a, std::string_view b);
// File names as Wine compares them, which is how the game finds a file:
// ASCII letters and the double-byte letters that have a case in CP932
// (full-width Latin, Greek, Cyrillic, Roman numerals) lowered; every other
// character byte for byte.
void FoldNameCaseInPlace(std::string& name);
std::string FoldNameCase(std::string_view name);
bool SameNameIgnoringCase(std::string_view a, std::string_view b);
// `tail` ends `text` and starts on a character of it.
bool EndsWith(std::string_view text, std::string_view tail);
// The same with the ASCII letters of `text` in either case; `lower_tail` is
// written in lower case.
bool EndsWithIgnoringCase(std::string_view text, std::string_view lower_tail);

// UTF-8 text for a terminal or a line-per-record output: control
// characters (C0, DEL, C1) written as escapes ("\t", "\n", "\r", "\x1b",
// "\u009b"), so that a tab or line feed in a name cannot split a record and
// an escape sequence in a chart's title cannot reach the terminal. A "\"
// stays as it is: every internal path is full of them.
std::string EscapeControls(std::string_view utf8);

// White space as C's isspace has it: space, tab, line feed, vertical tab,
// form feed, carriage return.
inline bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace qv5
