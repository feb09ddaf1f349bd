// How a library text is shown. The library keeps a chart's header bytes as
// Shift-JIS (CP932); newer charts are often written in UTF-8, whose bytes read
// as Shift-JIS give mojibake ("譁ｰ" for "新"). Such a text is shown decoded as
// UTF-8; nothing stored changes.
#pragma once

#include <string>
#include <string_view>

namespace qv5 {

// True when the CP932 bytes are better read as UTF-8: they form valid UTF-8
// with at least one multi-byte sequence, and their Shift-JIS reading is the
// less plausible one. A three- or four-byte sequence reads in Shift-JIS as a
// second-level (or unassigned) kanji followed by half-width katakana, which
// Japanese text does not mix, so it decides for UTF-8. A text with two-byte
// sequences only (U+0080..U+07FF) reads in Shift-JIS as pairs of half-width
// katakana, which real titles do hold ("ﾃｽ"): it is taken as UTF-8 only when
// every such sequence is a Latin letter (U+00C0..U+024F, not × or ÷) standing
// next to an ASCII letter, as in "Pokémon" or "CAFÉ".
bool ReadsAsUtf8(std::string_view cp932);

// The CP932 text as UTF-8 for display.
std::string DisplayText(std::string_view cp932);

// The same for a text as the database returns it (UTF-8 of the CP932
// reading): plain ASCII and ordinary Shift-JIS texts come back unchanged.
std::string DisplayTextOfStored(std::string_view stored_utf8);
// The same, appended to `out` (no string of its own for the common text).
void AppendDisplayTextOfStored(std::string_view stored_utf8, std::string& out);

// The library stores texts as UTF-8 of their Shift-JIS reading, so the bytes
// of a UTF-8 chart that have no Shift-JIS meaning were replaced by U+FFFD
// when it was registered. True when `stored_utf8` lost bytes so, and
// `header_cp932` (the same text read from the chart's header) is what it was
// stored from and reads as UTF-8: the header's text is then shown instead.
bool LostBytes(std::string_view stored_utf8);
bool HeaderRestores(std::string_view stored_utf8, std::string_view header_cp932);

}  // namespace qv5
