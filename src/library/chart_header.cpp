#include "library/chart_header.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "library/chart_parse.h"
#include "library/difficulty.h"
#include "library/object_count.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/text.h"

namespace qv5 {
namespace {

// Leading white space, optional sign, decimal digits; 0 without digits.
std::int32_t ParseInt(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    std::int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > 2147483648LL) v = 2147483648LL;
    }
    if (negative) v = -v;
    if (v > 2147483647LL) v = 2147483647LL;
    return static_cast<std::int32_t>(v);
}

struct DigitTables {
    unsigned char base36[256]{}, hex[256]{};
    constexpr DigitTables() {
        for (int c = '0'; c <= '9'; ++c) base36[c] = hex[c] = static_cast<unsigned char>(c - '0');
        for (int c = 'A'; c <= 'Z'; ++c) base36[c] = static_cast<unsigned char>(c - 'A' + 10);
        for (int c = 'a'; c <= 'z'; ++c) base36[c] = static_cast<unsigned char>(c - 'a' + 10);
        for (int c = 'A'; c <= 'F'; ++c) hex[c] = static_cast<unsigned char>(c - 'A' + 10);
        for (int c = 'a'; c <= 'f'; ++c) hex[c] = static_cast<unsigned char>(c - 'a' + 10);
    }
};
constexpr DigitTables kDigits;

// Any other character adds 0 in its place.
inline int Base36(char c) {
    return kDigits.base36[static_cast<unsigned char>(c)];
}
inline int Hex(char c) {
    return kDigits.hex[static_cast<unsigned char>(c)];
}

// Letters, either case, that begin none of the commands ParseLine knows
// (#IF, #ENDIF, the header commands, #CUSTOMFOLDER, #RANK, #LNOBJ, #BMP,
// #RAND, #BPM).
struct IdleLetters {
    bool idle[256]{};
    constexpr IdleLetters() {
        for (char c : std::string_view("FHJKNOQUVWXYZ")) {
            idle[static_cast<unsigned char>(c)] = true;
            idle[static_cast<unsigned char>(c + 32)] = true;
        }
    }
};
constexpr IdleLetters kIdleLetters;

inline bool IsIdleLetter(char c) {
    return kIdleLetters.idle[static_cast<unsigned char>(c)];
}

bool StartsWith(std::string_view s, std::string_view p) {
    return s.substr(0, p.size()) == p;
}

// substr that gives empty text past the end, like reading past a C string.
std::string_view Sub(std::string_view s, size_t pos, size_t n = std::string_view::npos) {
    return pos >= s.size() ? std::string_view() : s.substr(pos, n);
}

void UpdateTempo(ChartRecord& r, std::int32_t v) {
    if (r.maxbpm == 0) {
        r.maxbpm = r.minbpm = v;
    } else if (v > r.maxbpm) {
        r.maxbpm = v;
    } else if (v < r.minbpm) {
        r.minbpm = v;
    }
}

enum class Field {
    Title,
    Genre,
    Category,
    Subtitle,
    Artist,
    Subartist,
    Level,
    Exlevel,
    Maxtracks,
    Difficulty,
    InfoA,
    InfoB,
    Tag,
    Command,
    Stagefile,
    Banner,
    Backbmp
};

struct Command {
    std::string_view name;
    Field field;
};

constexpr Command kCommands[] = {
    {"#TITLE", Field::Title},
    {"#GENRE", Field::Genre},
    {"#CATEGORY", Field::Category},
    {"#SUBTITLE", Field::Subtitle},
    {"#ARTIST", Field::Artist},
    {"#SUBARTIST", Field::Subartist},
    {"#PLAYLEVEL", Field::Level},
    {"#EXLEVEL", Field::Exlevel},
    {"#MAXTRACKS", Field::Maxtracks},
    {"#DIFFICULTY", Field::Difficulty},
    {"#INFORMATION_A", Field::InfoA},
    {"#INFORMATION_B", Field::InfoB},
    {"#TAG", Field::Tag},
    {"#COMMAND", Field::Command},
    {"#STAGEFILE", Field::Stagefile},
    {"#BANNER", Field::Banner},
    {"#BACKBMP", Field::Backbmp},
};

// Applies the first header command the line carries; false when none does.
bool ApplyHeaderCommand(ChartRecord& r, std::string_view line) {
    if (line.size() < 2) return false;
    // Every command begins "#" and an upper-case letter: most lines (#WAV,
    // #BMP...) are told apart by that letter alone.
    const char letter = (line[1] >= 'a' && line[1] <= 'z') ? char(line[1] - 32) : line[1];
    for (const Command& c : kCommands) {
        if (c.name[1] != letter || !CarriesCommand(line, c.name)) continue;
        const std::string_view value = line.substr(c.name.size() + 1);
        switch (c.field) {
            case Field::Title:
                TitleDifficulty(line, c.name, r.title, r.subtitle, r.difficulty);
                break;
            case Field::Genre: {
                r.genre.assign(value);
                std::string scratch_title, scratch_subtitle;
                TitleDifficulty(line, c.name, scratch_title, scratch_subtitle, r.difficulty);
                break;
            }
            case Field::Category:
                r.genre.assign(value);
                break;
            case Field::Subtitle:
                r.subtitle.assign(value);
                break;
            case Field::Artist:
            case Field::InfoA:
                r.artist.assign(value);
                break;
            case Field::Subartist:
            case Field::InfoB:
                r.subartist.assign(value);
                break;
            case Field::Level:
            case Field::Maxtracks:
                r.level = ParseInt(value);
                break;
            case Field::Exlevel:
                r.exlevel = ParseInt(value);
                break;
            case Field::Difficulty:
                r.difficulty = ParseInt(value);
                break;
            case Field::Tag:
            case Field::Command:
                r.tag.assign(value);
                break;
            case Field::Stagefile:
                r.stagefile.assign(value);
                break;
            case Field::Banner:
                r.banner.assign(value);
                break;
            case Field::Backbmp:
                r.backbmp.assign(value);
                break;
        }
        return true;
    }
    return false;
}

using ParseState = ChartParseState;

// ParseInt of a short field, without its general work when the field is
// all digits (as in nearly every channel line).
std::int32_t FieldInt(std::string_view line, size_t pos, size_t n) {
    if (line.size() >= pos + n) {
        std::int32_t v = 0;
        size_t i = 0;
        for (; i < n && line[pos + i] >= '0' && line[pos + i] <= '9'; ++i)
            v = v * 10 + (line[pos + i] - '0');
        if (i == n) return v;
    }
    return ParseInt(Sub(line, pos, n));
}

void ChannelLine(ChartRecord& r, ParseState& st, std::string_view raw, std::string_view line) {
    if (FieldInt(line, 1, 3) < 1) return;
    int channel = FieldInt(line, 4, 2);
    if (channel >= 51 && channel <= 69) {
        r.longnote = 1;
        channel -= 40;
    }
    if (channel >= 31 && channel <= 49) channel -= 20;
    if (channel == 18 || channel == 19) {
        if (r.mode == 5) r.mode = 7;
        if (r.mode == 10) r.mode = 14;
    } else if (channel >= 21 && channel <= 27) {
        if (r.mode == 5)
            r.mode = 10;
        else if (r.mode == 7)
            r.mode = 14;
    } else if (channel == 28 || channel == 29) {
        r.mode = 14;
    }
    const long pairs = (static_cast<long>(line.size()) - 7) / 2;
    if (pairs <= 0) return;
    // Objects are read from the line as read; it is never shorter than the
    // trimmed line, so every pair lies inside it.
    const char* p = raw.data() + 7;
    if (channel == 3) {
        // The range takes in each value on its own, so the line's highest
        // and lowest do the same; branch-free, as rests and tempos mix.
        int high = 0, low = 256;
        for (long i = 0; i < pairs; ++i, p += 2) {
            const int v = Hex(p[0]) * 16 + Hex(p[1]);
            high = std::max(high, v);
            low = std::min(low, v == 0 ? 256 : v);
        }
        if (high > 0) {
            UpdateTempo(r, high);
            UpdateTempo(r, low);
        }
    } else if (channel >= 11 && channel <= 29) {
        st.notes += CountObjects(p, pairs, st.lnobj);
    }
}

}  // namespace

std::string_view ChartLineText(std::string_view& raw, bool may_hold_nul) {
    // A line is a C string: a NUL ends its content, whatever follows it.
    if (may_hold_nul)
        if (const void* nul = std::memchr(raw.data(), '\0', raw.size()))
            raw = raw.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - raw.data()));
    // Trim white space at both ends (then any CR/LF left, which is none).
    size_t b = 0, e = raw.size();
    while (b < e && IsBlank(raw[b])) ++b;
    while (e > b && IsBlank(raw[e - 1])) --e;
    return raw.substr(b, e - b);
}

namespace {

void ParseText(ChartRecord& r, ParseState& st, std::string_view raw, std::string_view line) {
    // No conditional, header command or named test starts with a digit:
    // go straight to the channel line (the bulk of every chart).
    if (line.size() > 1 && line[0] == '#') {
        if (line[1] >= '0' && line[1] <= '9') {
            if (!st.skipping) ChannelLine(r, st, raw, line);
            return;
        }
        // A letter that begins no command (#WAV, #OBJ...): the line counts
        // for nothing, as a channel line whose measure is no number.
        if (IsIdleLetter(line[1])) return;
    }
    if (StartsWith(line, "#IF")) {
        if (!StartsWith(line, "#IF 1")) {
            st.skipping = true;
            return;
        }
    } else if (StartsWith(line, "#ENDIF")) {
        st.skipping = false;
        return;
    }
    if (st.skipping || line.empty() || line[0] != '#') return;
    if (ApplyHeaderCommand(r, line)) return;

    if (StartsWith(line, "#CUSTOMFOLDER")) {
        r.judge = 2;
    } else if (CarriesCommand(line, "#RANK")) {
        r.judge = ParseInt(Sub(line, 6));
    } else if (StartsWith(line, "#LNOBJ")) {
        r.longnote = 1;
        // Characters 8 and 9 of the line as read; missing ones count as 0.
        const char c1 = raw.size() > 7 ? raw[7] : '\0';
        const char c2 = raw.size() > 8 ? raw[8] : '\0';
        st.lnobj = Base36(c1) * 36 + Base36(c2);
    } else if (StartsWith(line, "#BMP")) {
        r.bga = 1;
    } else if (StartsWith(line, "#RAND")) {
        r.random = 1;
    } else if (StartsWith(line, "#BPM")) {
        const size_t skip = StartsWith(line, "#BPM ") ? 5 : 7;
        const std::int32_t v = ParseInt(Sub(line, skip));
        if (v > 0) UpdateTempo(r, v);
    } else {
        ChannelLine(r, st, raw, line);
    }
}

void ParseLine(ChartRecord& r, ParseState& st, std::string_view raw) {
    const std::string_view line = ChartLineText(raw, st.may_hold_nul);
    ParseText(r, st, raw, line);
}

}  // namespace

std::string_view ParseChartLine(ChartRecord& r, ChartParseState& st, std::string_view& raw) {
    const std::string_view line = ChartLineText(raw, st.may_hold_nul);
    ParseText(r, st, raw, line);
    return line;
}

size_t ParseChartPieces(ChartRecord& r, ChartParseState& st, const char* p, const char* const end,
                        bool last) {
    return ForEachChartPiece(p, end, last,
                             [&](std::string_view piece) { ParseLine(r, st, piece); });
}

void ParseChartHeader(ChartRecord& r, std::string_view bytes) {
    ParseState st;
    if (const void* eof = std::memchr(bytes.data(), '\x1A', bytes.size()))
        bytes = bytes.substr(0, static_cast<size_t>(static_cast<const char*>(eof) - bytes.data()));
    st.may_hold_nul = std::memchr(bytes.data(), '\0', bytes.size()) != nullptr;
    ParseChartPieces(r, st, bytes.data(), bytes.data() + bytes.size(), true);
    r.note_count = st.notes;
}

}  // namespace qv5
