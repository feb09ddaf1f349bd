#include "library/chart_references.h"

#include <algorithm>

#include "library/chart_header.h"
#include "library/difficulty.h"
#include "library/scanner_internal.h"
#include "platform/win_path.h"
#include "platform/text.h"

namespace qv5 {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

// An object or definition id; any other character counts as 0, as the
// header pass reads object pairs.
int Base36(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return 0;
}

int Id(char a, char b) {
    return Base36(a) * 36 + Base36(b);
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
        std::bitset<1296>* used = SoundChannel(a, b)     ? &used_sound_
                                  : PictureChannel(a, b) ? &used_picture_
                                                         : nullptr;
        if (!used) return;
        // Pairs from the 8th character of the line as read, as many as the
        // trimmed line holds (the header pass's rule).
        const size_t pairs = (line.size() - 7) / 2;
        const char* p = raw.data() + 7;
        for (size_t i = 0; i < pairs; ++i, p += 2)
            if (const int id = Id(p[0], p[1])) used->set(size_t(id));
        return;
    }
    if (Begins(line, "#WAV") && line.size() > 7) {
        sounds_.push_back({Id(line[4], line[5]), std::string(line.substr(7))});
    } else if (Begins(line, "#BMP") && line.size() > 7) {
        pictures_.push_back({Id(line[4], line[5]), std::string(line.substr(7))});
    } else if (Begins(line, "#BGA") && line.size() > 8) {
        bgas_.emplace_back(Id(line[4], line[5]), Id(line[7], line[8]));
    } else {
        for (std::string_view command : {"#PREVIEW", "#STAGEFILE", "#BANNER", "#BACKBMP"})
            if (CarriesCommand(line, command)) {
                always_.push_back({0, std::string(line.substr(command.size() + 1))});
                break;
            }
    }
}

std::vector<std::string_view> ChartReferences::UsedNames() const {
    std::bitset<1296> pictures = used_picture_;
    pictures.set(0);  // #BMP00 is shown on a miss without being placed
    for (const auto& [bga, base] : bgas_)
        if (used_picture_.test(size_t(bga))) pictures.set(size_t(base));
    std::vector<std::string_view> names;
    names.reserve(always_.size() + sounds_.size() + pictures_.size());
    for (const Definition& d : always_) names.push_back(d.name);
    for (const Definition& d : sounds_)
        if (used_sound_.test(size_t(d.id))) names.push_back(d.name);
    for (const Definition& d : pictures_)
        if (pictures.test(size_t(d.id))) names.push_back(d.name);
    return names;
}

FolderNames::FolderNames(const std::vector<DirEntry>& entries) {
    names_.reserve(entries.size());
    for (const DirEntry& e : entries) names_.push_back(LowerAscii(e.name));
    std::sort(names_.begin(), names_.end());
}

bool FolderNames::Has(std::string_view lower_name) const {
    return std::binary_search(names_.begin(), names_.end(), lower_name);
}

bool ReferencePresent(const std::string& dir, const FolderNames& names,
                      std::string_view reference) {
    thread_local std::string lower;
    // Most names are plain file names of the chart's own folder.
    if (reference.find_first_of("\\/") == std::string_view::npos) {
        lower.assign(reference);
        LowerAsciiInPlace(lower);
        if (!lower.empty() && names.Has(lower)) return true;
    }
    const std::vector<std::string_view> parts = Components(reference);
    std::string folder = dir;
    std::shared_ptr<const FolderNames> listed;
    const FolderNames* in = &names;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const std::string_view part = parts[i];
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            folder = ParentPath(folder);
            if (folder == "ERROR") return false;
        } else {
            const auto found = FindIgnoringCase(folder + std::string(part));
            if (!found) return false;
            folder = *found + "\\";
        }
        listed = ListedNames(folder);
        in = listed.get();
    }
    const std::string name = LowerAscii(parts.back());
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
