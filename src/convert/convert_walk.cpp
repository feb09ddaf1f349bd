#include "convert/convert_walk.h"

#include "platform/text.h"

namespace qv5::convert {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether a character starts at byte `at` of `s`.
bool IsBoundary(std::string_view s, size_t at) {
    size_t i = 0;
    while (i < at) i += IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
    return i == at;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && LowerName(a) == LowerName(b);
}

}  // namespace

std::string LowerName(std::string_view s) {
    std::string out(s);
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(out[i])) && i + 1 < out.size())
            ++i;  // the trail byte is not a letter
        else
            out[i] = LowerAscii(out[i]);
    }
    return out;
}

bool EndsWithIgnoringCase(std::string_view name, std::string_view suffix) {
    if (name.size() < suffix.size()) return false;
    const size_t at = name.size() - suffix.size();
    return IsBoundary(name, at) && LowerName(name.substr(at)) == suffix;
}

std::string ReplaceLastThree(std::string_view name, std::string_view ext) {
    return std::string(name.substr(0, name.size() - 3)).append(ext);
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '\\' || !IsBoundary(folder, folder.size() - 1))
        folder += '\\';
    return folder;
}

void SplitPath(const std::string& path, std::string& folder, std::string& name) {
    size_t cut = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\')
            cut = i + 1;
    }
    folder = path.substr(0, cut);
    name = path.substr(cut);
}

Snapshot TakeSnapshot(const std::string& folder, const std::string& name) {
    Snapshot s{folder, {}};
    std::vector<DirEntry> entries;
    ListFolder(folder, entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries) {
        if (e.directory || !SameIgnoringCase(e.name, name)) continue;
        if (auto stamp = ChangeStamp(folder + e.name)) s.files.emplace_back(e.name, *stamp);
    }
    return s;
}

bool WrittenSince(const Snapshot& before, const DirEntry& entry) {
    if (entry.directory) return false;
    auto stamp = ChangeStamp(before.folder + entry.name);
    if (!stamp) return false;
    for (const auto& [old_name, old_stamp] : before.files)
        if (old_name == entry.name && old_stamp == *stamp) return false;
    return true;
}

std::optional<std::string> WrittenSince(const Snapshot& before, const std::string& name) {
    std::vector<DirEntry> entries;
    ListFolder(before.folder, entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries)
        if (SameIgnoringCase(e.name, name) && WrittenSince(before, e)) return e.name;
    return std::nullopt;
}

std::optional<std::string> FindIgnoringCase(const std::string& folder, const std::string& name) {
    if (PathExists(folder + name)) return name;
    std::vector<DirEntry> entries;
    ListFolder(folder, entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries)
        if (SameIgnoringCase(e.name, name)) return e.name;
    return std::nullopt;
}

bool Pass::Begin(const std::string& item) {
    if (progress_.StopRequested()) report_.stopped = true;
    if (report_.stopped) return false;
    progress_.Update(done_++, -1, item);
    return true;
}

bool Pass::Produced(const std::string& folder, const std::string& name) const {
    return produced_.count(LowerName(folder + name)) > 0;
}

void Pass::MarkProduced(const std::string& folder, const std::string& name) {
    produced_.insert(LowerName(folder + name));
}

bool Pass::Claim(const std::string& folder, const std::string& name) {
    return produced_.insert(LowerName(folder + name)).second;
}

void Pass::RunConverter(const std::string& command_line, ConverterPool::Settle settle) {
    ++report_.runs;
    if (!pool_.Run(command_line, std::move(settle))) ++report_.not_started;
}

std::vector<DirEntry> ListEntries(const std::string& folder) {
    std::vector<DirEntry> entries;
    ListFolder(folder, entries, ListDetail::NamesAndKinds);
    return entries;
}

}  // namespace qv5::convert
