#include "tables/level_folder_files.h"

#include <algorithm>

#include "library/chart_names.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

// Drops C0 and C1 controls, DEL and the Unicode line and paragraph
// separators from UTF-8 text; everything else stays as it is.
std::string WithoutControls(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F) continue;
        if (c == 0xC2 && i + 1 < utf8.size()) {
            const unsigned char d = static_cast<unsigned char>(utf8[i + 1]);
            if (d >= 0x80 && d <= 0x9F) {
                ++i;
                continue;
            }
        }
        if (c == 0xE2 && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0x80) {
            const unsigned char e = static_cast<unsigned char>(utf8[i + 2]);
            if (e == 0xA8 || e == 0xA9) {
                i += 2;
                continue;
            }
        }
        out += char(c);
    }
    return out;
}

// The title without a part's " (1/2)" at its end.
std::string WholeLevelTitle(const std::string& title) {
    if (!title.ends_with(")")) return title;
    const size_t open = title.rfind(" (");
    if (open == std::string::npos) return title;
    const std::string inner = title.substr(open + 2, title.size() - open - 3);
    const size_t slash = inner.find('/');
    if (slash == std::string::npos || slash == 0 || slash + 1 == inner.size()) return title;
    for (size_t i = 0; i < inner.size(); ++i)
        if (i != slash && (inner[i] < '0' || inner[i] > '9')) return title;
    return title.substr(0, open);
}

// The quoted md5s of a command "song.hash IN ('…','…')".
void AddMd5s(std::string_view command, std::vector<std::string>& out) {
    for (size_t at = command.find('\''); at != std::string_view::npos;) {
        const size_t end = command.find('\'', at + 1);
        if (end == std::string_view::npos) break;
        if (end - at - 1 == 32) out.emplace_back(command.substr(at + 1, 32));
        at = command.find('\'', end + 1);
    }
}

std::vector<std::string> SortedNames(const WinPath& folder, bool directories) {
    std::vector<DirEntry> entries;
    std::vector<std::string> names;
    if (!ListFolder(folder.text(), entries, ListDetail::NamesAndKinds)) return names;
    for (DirEntry& e : entries)
        if (e.directory == directories && (directories || IsCustomFolderName(e.name)))
            names.push_back(std::move(e.name));
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::string LevelFileText(const std::string& utf8, size_t max_bytes) {
    return Cp932Head(Utf8ToCp932Lossy(WithoutControls(utf8)), max_bytes);
}

std::string LevelPartTitle(const std::string& title, size_t part, size_t parts) {
    return title + " (" + std::to_string(part) + "/" + std::to_string(parts) + ")";
}

bool ReadLevelFolderFile(std::string_view bytes, LevelFolderLevel& out) {
    LevelFolderLevel level;
    std::string_view command;
    bool titled = false;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(at, end - at);
        if (line.ends_with('\r')) line.remove_suffix(1);
        at = end + 1;
        if (line.starts_with("#TITLE ")) {
            level.title = WholeLevelTitle(std::string(line.substr(7)));
            titled = true;
        } else if (line.starts_with("#CATEGORY ")) {
            level.table = line.substr(10);
        } else if (line.starts_with("#COMMAND ")) {
            command = line.substr(9);
        }
    }
    if (!titled) return false;
    AddMd5s(command, level.md5s);
    out = std::move(level);
    return true;
}

std::vector<LevelFolderLevel> ReadLevelFolders() {
    std::vector<LevelFolderLevel> levels;
    const WinPath root(kLevelFoldersRoot);
    for (const std::string& table : SortedNames(root, true)) {
        const WinPath folder = root.Join(table).AsFolder();
        for (const std::string& name : SortedNames(folder, false)) {
            std::string bytes;
            LevelFolderLevel level;
            if (!ReadWholeFile(folder.Join(name).text(), bytes) ||
                !ReadLevelFolderFile(bytes, level))
                continue;
            // The parts of a split level follow each other by name.
            if (!levels.empty() && levels.back().table == level.table &&
                levels.back().title == level.title) {
                auto& md5s = levels.back().md5s;
                md5s.insert(md5s.end(), level.md5s.begin(), level.md5s.end());
                continue;
            }
            levels.push_back(std::move(level));
        }
    }
    return levels;
}

}  // namespace qv5
