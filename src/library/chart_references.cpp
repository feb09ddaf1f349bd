#include "library/chart_references.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "library/chart_header.h"
#include "library/difficulty.h"
#include "library/scanner_internal.h"
#include "platform/text.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

// The digit of an object or definition id; any other character counts as 0,
// as the header pass reads object pairs.
constexpr std::array<std::uint8_t, 256> kBase36 = [] {
    std::array<std::uint8_t, 256> t{};
    for (int c = '0'; c <= '9'; ++c) t[size_t(c)] = std::uint8_t(c - '0');
    for (int c = 'A'; c <= 'Z'; ++c) t[size_t(c)] = std::uint8_t(c - 'A' + 10);
    for (int c = 'a'; c <= 'z'; ++c) t[size_t(c)] = std::uint8_t(c - 'a' + 10);
    return t;
}();

int Id(char a, char b) {
    return kBase36[static_cast<unsigned char>(a)] * 36 + kBase36[static_cast<unsigned char>(b)];
}

// Marks every id placed in the pairs [p, end) with a plain store per pair
// (bits in a few words would chain each pair's read-modify-write on the one
// before). Most of a channel line is "00": sixteen characters of it are
// skipped at once. Id 00 may be marked; the caller clears it.
void MarkPlaced(const char* p, const char* const end, std::uint8_t* ids) {
#if defined(__SSE2__)
    const __m128i zeros = _mm_set1_epi8('0');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const auto zero = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zeros)));
        if (zero == 0xFFFFu) continue;
        // The eight ids side by side, and a store each without a branch:
        // "00" marks id 0, which the caller clears.
        const __m128i lower = _mm_or_si128(bytes, _mm_set1_epi8(0x20));
        const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                            _mm_cmpgt_epi8(_mm_set1_epi8('9' + 1), bytes));
        const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)),
                                             _mm_cmpgt_epi8(_mm_set1_epi8('z' + 1), lower));
        const __m128i value =
            _mm_or_si128(_mm_and_si128(digit, _mm_sub_epi8(bytes, zeros)),
                         _mm_and_si128(letter, _mm_sub_epi8(lower, _mm_set1_epi8('a' - 10))));
        const __m128i high = _mm_and_si128(value, _mm_set1_epi16(0xFF));  // first of each pair
        const __m128i low = _mm_srli_epi16(value, 8);
        alignas(16) std::uint16_t id[8];
        _mm_store_si128(reinterpret_cast<__m128i*>(id),
                        _mm_add_epi16(_mm_mullo_epi16(high, _mm_set1_epi16(36)), low));
        for (int k = 0; k < 8; ++k) ids[id[k]] = 1;
    }
#endif
    for (; p < end; p += 2) ids[Id(p[0], p[1])] = 1;
}

// "#WAV", "#BMP" and "#BGA" in either case, as the header commands are read.
bool Begins(std::string_view line, std::string_view command) {
    if (line.size() < command.size()) return false;
    for (size_t i = 0; i < command.size(); ++i)
        if (Upper(line[i]) != command[i]) return false;
    return true;
}

// Keys, scratch and their long-note and invisible lanes (11-69), and the
// background sounds (01): channels whose objects play #WAV ids.
bool SoundChannel(char a, char b) {
    return (a == '0' && b == '1') || (a >= '1' && a <= '6' && b >= '1' && b <= '9');
}

// Base, poor and the two layers: channels whose objects show #BMP (or #BGA) ids.
bool PictureChannel(char a, char b) {
    return a == '0' && (b == '4' || b == '6' || b == '7' || b == 'A');
}

// Splits a name at "\" and "/"; a trail byte 0x5C is no separator.
std::vector<std::string_view> Components(std::string_view name) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(c) && i + 1 < name.size()) {
            ++i;
        } else if (c == '\\' || c == '/') {
            parts.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(name.substr(start));
    return parts;
}

// A name as Windows opens it: a folder's name loses one trailing dot, the
// file's name every trailing dot and space ("kick.wav." opens kick.wav). A
// name of dots alone stays (".." and "..." are names of their own).
std::string_view AsWindowsNames(std::string_view part, bool last) {
    if (part.find_first_not_of('.') == std::string_view::npos) return part;
    if (!last) return part.ends_with('.') ? part.substr(0, part.size() - 1) : part;
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
    return part;
}

// The extensions of one kind: a player may put any of them in place of another.
const std::vector<std::vector<std::string_view>>& Kinds() {
    static const std::vector<std::vector<std::string_view>> kinds = {
        {"wav", "ogg", "flac", "mp3"},
        {"bmp", "png", "jpg", "jpeg"},
        {"mpg", "mpeg", "avi", "wmv", "mp4", "webm"},
    };
    return kinds;
}

// The names of a folder, listed once per thread while it is asked in turn
// (a chart's references into "wav\" ask the same folder many times).
std::shared_ptr<const FolderNames> ListedNames(const std::string& dir) {
    struct Cached {
        std::string dir;
        std::shared_ptr<const FolderNames> names;
    };
    thread_local std::vector<Cached> cache;
    for (const Cached& c : cache)
        if (c.dir == dir) return c.names;
    std::vector<DirEntry> entries;
    if (!ListFolder(dir, entries, ListDetail::NamesAndKinds)) entries.clear();
    auto names = std::make_shared<const FolderNames>(entries);
    if (cache.size() >= 8) cache.erase(cache.begin());
    cache.push_back({dir, names});
    return names;
}

}  // namespace

void ChartReferences::Line(std::string_view raw, std::string_view line) {
    if (line.size() < 2 || line[0] != '#') return;
    if (IsDigit(line[1])) {
        if (line.size() < 9 || !IsDigit(line[2]) || !IsDigit(line[3])) return;
        const char a = Upper(line[4]), b = Upper(line[5]);
        Ids* used = SoundChannel(a, b)     ? &used_sound_
                    : PictureChannel(a, b) ? &used_picture_
                                           : nullptr;
        if (!used) return;
        // Pairs from the 8th character of the line as read, as many as the
        // trimmed line holds (the header pass's rule).
        const size_t pairs = (line.size() - 7) / 2;
        MarkPlaced(raw.data() + 7, raw.data() + 7 + 2 * pairs, used->data());
        (*used)[0] = 0;  // id 00 places nothing
        return;
    }
    if (Begins(line, "#WAV") && line.size() > 7) {
        sounds_.push_back({Id(line[4], line[5]), Keep(line.substr(7))});
    } else if (Begins(line, "#BMP") && line.size() > 7) {
        pictures_.push_back({Id(line[4], line[5]), Keep(line.substr(7))});
    } else if (Begins(line, "#BGA") && line.size() > 8) {
        bgas_.emplace_back(Id(line[4], line[5]), Id(line[7], line[8]));
    } else {
        for (std::string_view command : {"#PREVIEW", "#STAGEFILE", "#BANNER", "#BACKBMP"})
            if (CarriesCommand(line, command)) {
                always_.push_back({0, Keep(line.substr(command.size() + 1))});
                break;
            }
    }
}

std::string_view ChartReferences::Keep(std::string_view name) {
    if (!copy_names_) return name;
    return copies_.emplace_back(name);
}

std::vector<std::string_view> ChartReferences::UsedNames() const {
    Ids pictures = used_picture_;
    pictures[0] = 1;  // #BMP00 is shown on a miss without being placed
    for (const auto& [bga, base] : bgas_)
        if (used_picture_[size_t(bga)]) pictures[size_t(base)] = 1;
    std::vector<std::string_view> names;
    names.reserve(always_.size() + sounds_.size() + pictures_.size());
    for (const Definition& d : always_) names.push_back(d.name);
    for (const Definition& d : sounds_)
        if (used_sound_[size_t(d.id)]) names.push_back(d.name);
    for (const Definition& d : pictures_)
        if (pictures[size_t(d.id)]) names.push_back(d.name);
    return names;
}

FolderNames::FolderNames(const std::vector<DirEntry>& entries) {
    names_.reserve(entries.size());
    for (const DirEntry& e : entries) names_.push_back(FoldNameCase(e.name));
    MakeSlots();
}

FolderNames::FolderNames(const std::vector<std::string>& names) {
    names_.reserve(names.size());
    for (const std::string& name : names) names_.push_back(FoldNameCase(name));
    MakeSlots();
}

void FolderNames::MakeSlots() {
    size_t slots = 16;
    while (slots < 2 * names_.size()) slots *= 2;
    slots_.assign(slots, 0);
    for (size_t i = 0; i < names_.size(); ++i) {
        size_t at = std::hash<std::string_view>{}(names_[i]) & (slots - 1);
        while (slots_[at] != 0) at = (at + 1) & (slots - 1);
        slots_[at] = static_cast<std::uint32_t>(i + 1);
    }
}

bool FolderNames::Has(std::string_view name) const {
    thread_local std::string lower;
    lower.assign(name);
    FoldNameCaseInPlace(lower);  // as Wine compares names
    const size_t mask = slots_.size() - 1;
    const size_t hash = std::hash<std::string_view>{}(lower);
    for (size_t at = hash & mask; slots_[at] != 0; at = (at + 1) & mask)
        if (names_[slots_[at] - 1] == lower) return true;
    return false;
}

bool ReferencePresent(const std::string& dir, const FolderNames& names,
                      std::string_view reference) {
    // Most names are plain file names of the chart's own folder.
    if (reference.find_first_of("\\/") == std::string_view::npos && !reference.empty() &&
        names.Has(reference))
        return true;
    const std::vector<std::string_view> parts = Components(reference);
    std::string folder = dir;
    std::shared_ptr<const FolderNames> listed;
    const FolderNames* in = &names;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const std::string_view part = AsWindowsNames(parts[i], false);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            folder = ParentPath(folder);
            if (folder == "ERROR") return false;
        } else {
            const auto found = FindIgnoringCase(folder + std::string(part));
            if (!found) return false;
            folder = WinPath(*found).AsFolder().text();
        }
        listed = ListedNames(folder);
        in = listed.get();
    }
    const std::string name = FoldNameCase(AsWindowsNames(parts.back(), true));
    if (name.empty()) return false;
    if (in->Has(name)) return true;
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string stem = name.substr(0, dot + 1);
    const std::string_view ext = std::string_view(name).substr(dot + 1);
    for (const auto& kind : Kinds()) {
        if (std::find(kind.begin(), kind.end(), ext) == kind.end()) continue;
        for (std::string_view other : kind)
            if (in->Has(stem + std::string(other))) return true;
    }
    return false;
}

}  // namespace qv5
