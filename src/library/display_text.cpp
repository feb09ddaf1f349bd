#include "library/display_text.h"

#include "platform/text.h"

namespace qv5 {
namespace {

bool IsAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `i`, 0 when there is none
// (overlong forms, surrogates and code points above U+10FFFF included).
size_t SequenceAt(std::string_view s, size_t i) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char c = b(0);
    size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size() || b(1) < lo || b(1) > hi) return 0;
    for (size_t k = 2; k < n; ++k)
        if (!IsContinuation(b(k))) return 0;
    return n;
}

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

bool ReadsAsUtf8(std::string_view s) {
    bool multi = false, long_sequence = false, latin_words = true;
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const size_t n = SequenceAt(s, i);
        if (n == 0) return false;
        multi = true;
        if (n > 2) {
            long_sequence = true;
        } else {
            const unsigned cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
            const bool letter = cp >= 0xC0 && cp <= 0x24F && cp != 0xD7 && cp != 0xF7;
            const bool in_word =
                (i > 0 && IsAsciiLetter(static_cast<unsigned char>(s[i - 1]))) ||
                (i + 2 < s.size() && IsAsciiLetter(static_cast<unsigned char>(s[i + 2])));
            if (!letter || !in_word) latin_words = false;
        }
        i += n;
    }
    return multi && (long_sequence || latin_words);
}

std::string DisplayText(std::string_view cp932) {
    if (IsAscii(cp932)) return std::string(cp932);
    if (ReadsAsUtf8(cp932)) return std::string(cp932);
    return Cp932ToUtf8(cp932);
}

// False when the Shift-JIS bytes behind `stored` cannot be valid UTF-8,
// judged by its first non-ASCII character alone (no conversion): in UTF-8,
// the first non-ASCII byte must be a lead byte (0xC2..0xF4), and a character
// whose Shift-JIS form begins below 0xC2 (kana, full-width forms, symbols,
// Greek, Cyrillic, half-width katakana up to U+FF81) cannot give one. Kanji
// cannot be told apart without the table, nor can the extension rows.
static bool MayReadAsUtf8(std::string_view stored) {
    size_t i = 0;
    while (i < stored.size() && static_cast<unsigned char>(stored[i]) < 0x80) ++i;
    const size_t n = i < stored.size() ? SequenceAt(stored, i) : 0;
    if (n < 2) return true;  // not UTF-8 itself: let the conversion decide
    const auto b = [&](size_t k) { return static_cast<unsigned>(stored[i + k]) & 0x3Fu; };
    const auto lead = static_cast<unsigned char>(stored[i]);
    unsigned cp = 0;
    if (n == 2) cp = ((lead & 0x1Fu) << 6) | b(1);
    if (n == 3) cp = ((lead & 0x0Fu) << 12) | (b(1) << 6) | b(2);
    if (n == 4) return true;
    return (cp >= 0x3400 && cp <= 0x9FFF) || (cp >= 0xF900 && cp <= 0xFAFF) ||
           (cp >= 0xFF82 && cp <= 0xFF9F) || (cp >= 0xE000 && cp <= 0xF8FF) ||
           (cp >= 0x2160 && cp <= 0x217F) || cp == 0x2116 || cp == 0x2121 || cp == 0x2235 ||
           cp == 0x3231 || cp == 0xFF02 || cp == 0xFF07 || cp == 0xFFE2 || cp == 0xFFE4 ||
           cp == 0xFFFD;
}

void AppendDisplayTextOfStored(std::string_view stored, std::string& out) {
    if (IsAscii(stored) || !MayReadAsUtf8(stored)) {
        out += stored;
        return;
    }
    const std::string cp932 = Utf8ToCp932Lossy(stored);
    out += ReadsAsUtf8(cp932) ? std::string_view(cp932) : stored;
}

std::string DisplayTextOfStored(std::string_view stored) {
    std::string out;
    AppendDisplayTextOfStored(stored, out);
    return out;
}

bool LostBytes(std::string_view stored) {
    return stored.find("\xEF\xBF\xBD") != std::string_view::npos;  // U+FFFD
}

bool HeaderRestores(std::string_view stored, std::string_view header) {
    return ReadsAsUtf8(header) && Cp932ToUtf8(header) == stored;
}

}  // namespace qv5
