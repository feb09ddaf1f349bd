// Windows command-line rules, shared by the process runner and its tests.
#include <cstdint>
#include <vector>

#include "platform/process.h"
#include "platform/text.h"

namespace qv5 {
namespace {

// Only a space or a tab parts two arguments, as CommandLineToArgvW has it:
// not every white space that IsBlank knows.
bool IsArgumentGap(char c) {
    return c == ' ' || c == '\t';
}

// Copies one character (two bytes for a CP932 lead byte, so that a trail byte
// 0x5C or 0x22 is never taken for a backslash or a quote).
void CopyChar(std::string_view s, size_t& i, std::string& out) {
    out += s[i];
    if (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) out += s[++i];
    ++i;
}

std::u32string Decode(std::string_view utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        int extra = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        ++i;
        for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        if (cp < 0x80 && cp >= 'A' && cp <= 'Z') cp += 'a' - 'A';
        out += cp;
    }
    return out;
}

bool Match(const std::u32string& p, const std::u32string& n) {
    // Classic two-pointer glob with one backtrack point for the last '*'.
    size_t pi = 0, ni = 0, star = std::u32string::npos, mark = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == U'?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == U'*') {
            star = pi++;
            mark = ni;
        } else if (star != std::u32string::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*') ++pi;
    return pi == p.size();
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view s) {
    std::vector<std::string> out;
    const size_t n = s.size();
    if (n == 0) return out;
    std::string cur;
    size_t i = 0;
    // The program name: up to the next quote when quoted, else to the next
    // blank; backslashes mean nothing here.
    if (s[0] == '"') {
        i = 1;
        while (i < n) {
            if (s[i] == '"') {
                ++i;
                break;
            }
            CopyChar(s, i, cur);
        }
    } else {
        while (i < n && !IsArgumentGap(s[i])) CopyChar(s, i, cur);
    }
    out.push_back(cur);
    cur.clear();
    while (i < n && IsArgumentGap(s[i])) ++i;
    bool in_arg = i < n;
    int quotes = 0;  // 1 inside a quoted part
    size_t backslashes = 0;
    while (i < n) {
        const char c = s[i];
        if (IsArgumentGap(c) && quotes == 0) {
            out.push_back(cur);
            cur.clear();
            while (i < n && IsArgumentGap(s[i])) ++i;
            in_arg = i < n;
            backslashes = 0;
        } else if (c == '\\') {
            cur += c;
            ++backslashes;
            ++i;
        } else if (c == '"') {
            if (backslashes % 2 == 0) {
                cur.resize(cur.size() - backslashes / 2);
                ++quotes;
            } else {
                cur.resize(cur.size() - backslashes / 2 - 1);
                cur += '"';
            }
            ++i;
            backslashes = 0;
            // A run of quotes: every third one is a literal quote.
            while (i < n && s[i] == '"') {
                if (++quotes == 3) {
                    cur += '"';
                    quotes = 0;
                }
                ++i;
            }
            if (quotes == 2) quotes = 0;
        } else {
            CopyChar(s, i, cur);
            backslashes = 0;
        }
    }
    if (in_arg) out.push_back(cur);
    return out;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    std::u32string p = Decode(pattern), n = Decode(name);
    if (Match(p, n)) return true;
    // "x.*" also matches "x" with no extension at all, as on Windows.
    if (p.size() >= 2 && p.substr(p.size() - 2) == U".*" && n.find(U'.') == std::u32string::npos)
        return Match(p.substr(0, p.size() - 2), n);
    return false;
}

}  // namespace qv5
