#include "tables/level_folders.h"

#include <cerrno>
#include <cstring>
#include <unordered_set>

#include "library/chart_names.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tables/table_match.h"
#include "tables/table_store.h"

namespace qv5 {
namespace {

// A file name's text is cut shorter than a line's: the host holds 255 bytes
// of UTF-8, and a CP932 character of two bytes takes three there.
constexpr size_t kMaxNameTextBytes = 64;

// "song.hash IN (" ... ")" around "'<md5>'" joined by ",".
constexpr size_t kCommandFrame = 15;
constexpr size_t kQuotedMd5 = 34;

// A CP932 text as part of a file name: the characters Windows refuses in a
// name (the "?" of a character without a CP932 form among them) as "_",
// trailing dots and spaces dropped, as Windows drops them.
std::string NameText(const std::string& cp932) {
    std::string out = Cp932Head(cp932, kMaxNameTextBytes);
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
            ++i;
            continue;
        }
        if (std::strchr("<>:\"/\\|?*", out[i])) out[i] = '_';
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
    return out;
}

std::string Padded(size_t value, size_t width) {
    std::string s = std::to_string(value);
    return std::string(width > s.size() ? width - s.size() : 0, '0') + s;
}

std::string FileBytes(const std::string& title, const std::string& category,
                      const std::string& counts, const std::string& update,
                      const std::vector<const std::string*>& md5s, size_t from, size_t to) {
    std::string command = "song.hash IN (";
    command.reserve(kCommandFrame + (to - from) * (kQuotedMd5 + 1));
    for (size_t i = from; i < to; ++i) {
        if (i > from) command += ',';
        command += '\'';
        command += *md5s[i];
        command += '\'';
    }
    command += ')';
    std::string out;
    out.reserve(command.size() + title.size() + category.size() + update.size() + 80);
    out += "#TITLE " + title + "\r\n";
    out += "#CATEGORY " + category + "\r\n";
    out += "#INFORMATION_A " + counts + "\r\n";
    out += "#INFORMATION_B " + update + "\r\n";
    out += "#COMMAND " + command + "\r\n";
    return out;
}

}  // namespace

std::vector<LevelFolderFile> MakeLevelFolderFiles(const TableHeader& header, const TableData& data,
                                                  const ChartHashes& charts,
                                                  const std::string& last_update,
                                                  size_t max_command_bytes) {
    const std::vector<LevelGroup> groups = GroupByLevel(header, data, charts);
    const std::string category = LevelFileText(header.name);
    const std::string update = LevelFileText(last_update);
    const size_t width = std::max<size_t>(2, std::to_string(groups.size()).size());
    // At least one md5 a file, however small the limit.
    const size_t per_file =
        std::max<size_t>(1, max_command_bytes > kCommandFrame
                                ? (max_command_bytes - kCommandFrame + 1) / (kQuotedMd5 + 1)
                                : 1);
    std::vector<LevelFolderFile> files;
    for (size_t g = 0; g < groups.size(); ++g) {
        const LevelGroup& group = groups[g];
        // Each chart once, in the order the table first lists it.
        std::vector<const std::string*> md5s;
        std::unordered_set<std::string_view> seen;
        for (const TableEntry* e : group.entries)
            if (e->key == EntryKey::Md5 && seen.insert(e->md5).second) md5s.push_back(&e->md5);
        if (md5s.empty()) continue;
        const std::string title = LevelFileText(header.symbol + group.level);
        const std::string counts =
            std::to_string(group.held) + " / " + std::to_string(group.entries.size());
        const std::string name = Padded(g + 1, width) + " " + NameText(title);
        const size_t parts = (md5s.size() + per_file - 1) / per_file;
        const size_t part_width = std::to_string(parts).size();
        for (size_t p = 0; p < parts; ++p) {
            const size_t from = p * per_file, to = std::min(md5s.size(), from + per_file);
            std::string part_title = title, part_name = name;
            if (parts > 1) {
                part_title =
                    LevelPartTitle(Cp932Head(title, kMaxLevelTextBytes - 12), p + 1, parts);
                // No "/" in a name; padded, so that "(10-12)" comes after
                // "(09-12)" by name.
                part_name += " (" + Padded(p + 1, part_width) + "-" + std::to_string(parts) + ")";
            }
            files.push_back({part_name + ".qv5folder",
                             FileBytes(part_title, category, counts, update, md5s, from, to)});
        }
    }
    return files;
}

WinPath LevelFolderOf(const KeptTable& table) {
    return WinPath(kLevelFoldersRoot).Join(WinPath(table.folder).LastName()).AsFolder();
}

bool WriteLevelFolder(const WinPath& folder, const std::vector<LevelFolderFile>& files,
                      std::string& error) {
    const auto failed = [&error](const WinPath& path) {
        error = HostPathForMessage(path.text()) + ": " + Utf8ToCp932Lossy(std::strerror(errno));
        return false;
    };
    if (!IsDirectory(folder.text()) && !CreateFolders(folder.text())) return failed(folder);
    // A file that says the same already is left as it is; the others are
    // written together, with one flush of the disk (a table has dozens of
    // levels, and a flush each would cost more than the rest).
    std::unordered_set<std::string> written;
    std::vector<FileToWrite> changed;
    std::string old;
    for (const LevelFolderFile& f : files) {
        written.insert(f.name);
        if (ReadWholeFile(folder.Join(f.name).text(), old) && old == f.bytes) continue;
        changed.push_back({f.name, f.bytes});
    }
    if (!changed.empty() && !WriteFilesAtomic(folder.text(), changed)) return failed(folder);
    std::vector<DirEntry> entries;
    if (!ListFolder(folder.text(), entries, ListDetail::NamesAndKinds)) return failed(folder);
    for (const DirEntry& e : entries) {
        if (e.directory || !IsCustomFolderName(e.name) || written.count(e.name)) continue;
        const WinPath path = folder.Join(e.name);
        if (!DeletePath(path.text())) return failed(path);
    }
    return true;
}

bool RemoveLevelFolder(const WinPath& folder, std::string& error) {
    std::vector<DirEntry> entries;
    if (!ListFolder(folder.text(), entries, ListDetail::NamesAndKinds)) {
        if (!PathExists(folder.text())) return true;
        error = HostPathForMessage(folder.text()) + ": " + Utf8ToCp932Lossy(std::strerror(errno));
        return false;
    }
    for (const DirEntry& e : entries) {
        if (e.directory || !IsCustomFolderName(e.name)) continue;
        if (!DeletePath(folder.Join(e.name).text())) {
            error = HostPathForMessage(folder.Join(e.name).text()) + ": " +
                    Utf8ToCp932Lossy(std::strerror(errno));
            return false;
        }
    }
    // A file someone put beside the level files keeps the folder.
    if (!DeletePath(folder.AsFile().text()) && errno != ENOTEMPTY && errno != EEXIST) {
        error = HostPathForMessage(folder.text()) + ": " + Utf8ToCp932Lossy(std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace qv5
