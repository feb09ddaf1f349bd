#include "platform/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace qv5 {
namespace {

// The thread's converter from `from` to `to`, in its initial state. Opening
// one costs more than converting a title, and a library converts hundreds
// of thousands of them. `kept` is false for one the caller must close: a
// conversion made while the thread's converters are being put away (a
// destructor that runs after them at exit).
iconv_t Converter(const char* to, const char* from, bool& kept) {
    struct Open {
        std::string to, from;
        iconv_t cd;
    };
    thread_local bool put_away = false;  // trivial: still there after the cache
    struct Cache {
        std::vector<Open> open;
        ~Cache() {
            put_away = true;
            for (const Open& o : open) iconv_close(o.cd);
        }
    };
    kept = false;
    if (put_away) return iconv_open(to, from);
    thread_local Cache cache;
    for (const Open& o : cache.open)
        if (o.to == to && o.from == from) {
            iconv(o.cd, nullptr, nullptr, nullptr, nullptr);
            kept = true;
            return o.cd;
        }
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return cd;
    cache.open.push_back({to, from, cd});
    kept = true;
    return cd;
}

// One conversion with iconv; on an invalid or unconvertible sequence either
// substitutes `replacement` for one input byte (lossy) or fails.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   const char* replacement) {
    bool kept = false;
    iconv_t cd = Converter(to, from, kept);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[4096];
    bool ok = true;
    const bool utf8_in = std::string_view(from) == "UTF-8";
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        if (!replacement) {
            ok = false;
            break;
        }
        // EILSEQ or EINVAL (truncated at the end): skip one byte.
        out += replacement;
        // Skip one character: a UTF-8 sequence whole, otherwise one byte.
        do {
            ++src;
            --left;
        } while (utf8_in && left > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    if (!kept) iconv_close(cd);
    if (!ok) return std::nullopt;
    return out;
}

// Plain ASCII reads the same in CP932 and UTF-8: no converter is needed, and
// every path and most text columns are plain ASCII.
bool IsAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

// Archivers outside Windows write these code points for characters that
// Japanese Windows names hold as the CP932 form on the right; iconv maps them
// one way only, so a name with them would never read back the same.
struct Equivalent {
    const char* from;
    const char* to;
};
constexpr Equivalent kEquivalents[] = {
    {"\xE3\x80\x9C", "\xEF\xBD\x9E"},  // WAVE DASH -> FULLWIDTH TILDE (0x8160)
    {"\xE2\x80\x96", "\xE2\x88\xA5"},  // DOUBLE VERTICAL LINE -> PARALLEL TO (0x8161)
    {"\xE2\x88\x92", "\xEF\xBC\x8D"},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS (0x817C)
    {"\xE2\x80\x94", "\xE2\x80\x95"},  // EM DASH -> HORIZONTAL BAR (0x815C)
    {"\xC2\xA2", "\xEF\xBF\xA0"},      // CENT SIGN -> FULLWIDTH (0x8191)
    {"\xC2\xA3", "\xEF\xBF\xA1"},      // POUND SIGN -> FULLWIDTH (0x8192)
    {"\xC2\xAC", "\xEF\xBF\xA2"},      // NOT SIGN -> FULLWIDTH (0x81CA)
    {"\xC2\xA6", "\xEF\xBF\xA4"},      // BROKEN BAR -> FULLWIDTH (0xFA55)
};

}  // namespace

std::optional<std::string> Utf8NameToCp932(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    std::string mapped;
    mapped.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const Equivalent* hit = nullptr;
        for (const Equivalent& e : kEquivalents)
            if (utf8.substr(i, std::strlen(e.from)) == e.from) hit = &e;
        if (hit) {
            mapped += hit->to;
            i += std::strlen(hit->from);
        } else {
            mapped += utf8[i++];
        }
    }
    return Utf8ToCp932(mapped);
}

std::string Cp932ToUtf8(std::string_view cp932) {
    if (IsAscii(cp932)) return std::string(cp932);
    return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD").value_or(std::string());
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    auto out = Convert("CP932", "UTF-8", utf8, nullptr);
    if (!out) return std::nullopt;
    if (Cp932ToUtf8(*out) != utf8) return std::nullopt;
    return out;
}

std::string Utf8ToCp932Lossy(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    return Convert("CP932", "UTF-8", utf8, "?").value_or(std::string());
}

std::string Sj(const char8_t* utf8) {
    return Utf8ToCp932Lossy(reinterpret_cast<const char*>(utf8));
}

bool IsCharStart(std::string_view text, size_t at) {
    size_t i = 0;
    while (i < at)
        i += IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    return i == at;
}

namespace {
char LowerLetter(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

void LowerAsciiInPlace(std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
            ++i;  // the trail byte is no letter
        else
            text[i] = LowerLetter(text[i]);
    }
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    LowerAsciiInPlace(out);
    return out;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (LowerLetter(a[i]) != LowerLetter(b[i])) {
            return false;
        }
    }
    return true;
}

namespace {

// The lower-case form of the double-byte letter `lead` `trail`, in place.
// Both Roman numeral rows of CP932 fold to the IBM row of small numerals,
// which is what a name read from the disk gives for U+2170..U+2179.
void LowerDoubleByte(unsigned char& lead, unsigned char& trail) {
    switch (lead) {
        case 0x82:  // full-width A..Z
            if (trail >= 0x60 && trail <= 0x79) trail = static_cast<unsigned char>(trail + 0x21);
            break;
        case 0x83:  // Greek capitals
            if (trail >= 0x9F && trail <= 0xB6) trail = static_cast<unsigned char>(trail + 0x20);
            break;
        case 0x84:  // Cyrillic capitals; the small row skips the trail byte 0x7F
            if (trail >= 0x40 && trail <= 0x60) {
                const int k = trail - 0x40;
                trail = static_cast<unsigned char>(k < 15 ? 0x70 + k : 0x71 + k);
            }
            break;
        case 0x87:  // Roman numerals I..X (NEC row)
            if (trail >= 0x54 && trail <= 0x5D) {
                lead = 0xFA;
                trail = static_cast<unsigned char>(trail - 0x54 + 0x40);
            }
            break;
        case 0xEE:  // small Roman numerals (NEC-selected IBM row)
            if (trail >= 0xEF && trail <= 0xF8) {
                lead = 0xFA;
                trail = static_cast<unsigned char>(trail - 0xEF + 0x40);
            }
            break;
        case 0xFA:  // Roman numerals I..X (IBM row)
            if (trail >= 0x4A && trail <= 0x53) trail = static_cast<unsigned char>(trail - 10);
            break;
        default:
            break;
    }
}

}  // namespace

void FoldNameCaseInPlace(std::string& name) {
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            name[i] = LowerLetter(name[i]);
        } else if (IsLeadByte(c) && i + 1 < name.size()) {
            unsigned char lead = c, trail = static_cast<unsigned char>(name[i + 1]);
            LowerDoubleByte(lead, trail);
            name[i] = static_cast<char>(lead);
            name[++i] = static_cast<char>(trail);
        }
    }
}

std::string FoldNameCase(std::string_view name) {
    std::string out(name);
    FoldNameCaseInPlace(out);
    return out;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a == b || FoldNameCase(a) == FoldNameCase(b));
}

std::string EscapeControls(std::string_view utf8) {
    auto control = [](unsigned char c, unsigned char next) {
        return c < 0x20 || c == 0x7F || (c == 0xC2 && next >= 0x80 && next <= 0x9F);
    };
    size_t i = 0;
    while (i < utf8.size() &&
           !control(static_cast<unsigned char>(utf8[i]),
                    i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0))
        ++i;
    if (i == utf8.size()) return std::string(utf8);
    std::string out(utf8.substr(0, i));
    for (; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if (!control(c, next)) {
            out += utf8[i];
            continue;
        }
        char escape[8];
        if (c == '\t' || c == '\n' || c == '\r') {
            out += '\\';
            out += c == '\t' ? 't' : c == '\n' ? 'n' : 'r';
            continue;
        }
        if (c == 0xC2) {
            std::snprintf(escape, sizeof escape, "\\u%04x", next);
            ++i;
        } else {
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
        }
        out += escape;
    }
    return out;
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.ends_with(tail) && IsCharStart(text, text.size() - tail.size());
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view lower_tail) {
    if (text.size() < lower_tail.size()) return false;
    const size_t at = text.size() - lower_tail.size();
    return IsCharStart(text, at) && LowerAscii(text.substr(at)) == lower_tail;
}

std::string Cp932Head(const std::string& text, size_t max_bytes) {
    size_t end = 0;
    while (end < text.size()) {
        const size_t n =
            IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + n > max_bytes) break;
        end += n;
    }
    return text.substr(0, end);
}

}  // namespace qv5
