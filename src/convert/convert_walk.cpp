#include "convert/convert_walk.h"

#include "platform/text.h"

namespace qv5::convert {

std::string ReplaceLastThree(std::string_view name, std::string_view ext) {
    return std::string(name.substr(0, name.size() - 3)).append(ext);
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

bool Pass::BeginSource(const std::string& path) {
    if (Begin(path)) return true;
    Kept(path);
    return false;
}

bool Pass::Begin(const std::string& item) {
    if (progress_.StopRequested()) report_.stopped = true;
    if (report_.stopped) return false;
    progress_.Update(done_++, -1, item);
    return true;
}

bool Pass::Produced(const std::string& folder, const std::string& name) const {
    return produced_.count(LowerAscii(folder + name)) > 0;
}

void Pass::MarkProduced(const std::string& folder, const std::string& name) {
    produced_.insert(LowerAscii(folder + name));
}

bool Pass::Claim(const std::string& folder, const std::string& name) {
    return produced_.insert(LowerAscii(folder + name)).second;
}

void Pass::RunConverter(const std::string& command_line, ConverterPool::Settle settle) {
    const ConverterPool::Start start = pool_.Run(command_line, std::move(settle));
    if (start == ConverterPool::Start::Stopped) return;
    ++report_.runs;
    if (start == ConverterPool::Start::Failed) ++report_.not_started;
}

std::vector<DirEntry> ListEntries(const std::string& folder) {
    std::vector<DirEntry> entries;
    ListFolder(folder, entries, ListDetail::NamesAndKinds);
    return entries;
}

}  // namespace qv5::convert
