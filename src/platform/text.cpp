#include "platform/text.h"

#include <iconv.h>

#include <cerrno>

namespace qv5 {
namespace {

// One conversion with iconv; on an invalid or unconvertible sequence either
// substitutes `replacement` for one input byte (lossy) or fails.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   const char* replacement) {
    iconv_t cd = iconv_open(to, from);
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
    iconv_close(cd);
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

}  // namespace

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

}  // namespace qv5
