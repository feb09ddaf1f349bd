// Which file or folder a path names, whatever the way to it: how a scan
// tells that a link leads back into the folders it is walking.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace qv5 {

struct FileIdentity {
    std::uint64_t device = 0, inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct EntryFacts {
    FileIdentity id;
    bool directory = false;
    FileTime write_time;
};

// What the path names, a link followed to its target; nullopt when nothing.
std::optional<EntryFacts> LookUpEntry(std::string_view path);

// Every directory the path passes through, from the file system's root down
// to the path itself (links followed), as far as they can be looked up.
std::vector<FileIdentity> DirectoryChain(std::string_view path);

}  // namespace qv5
