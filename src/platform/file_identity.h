// Which file or folder a path names, whatever the way to it: how a scan
// tells that a link leads back into the folders it is walking.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
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

// Whether the path is itself a symbolic link (not followed; a trailing
// separator is ignored).
bool IsLink(std::string_view path);
// Whether `path`, every link on it resolved, is the folder `dir` (likewise
// resolved) or lies below it. False when either cannot be resolved.
bool ResolvesInside(std::string_view path, std::string_view dir);

// Last-write times of many paths, each looked up from its folder: paths that
// share a folder (as rows sorted by path do) cost the walk down to that
// folder once, like a directory walk, not once per path.
class WriteTimes {
  public:
    WriteTimes() = default;
    ~WriteTimes();
    WriteTimes(const WriteTimes&) = delete;
    WriteTimes& operator=(const WriteTimes&) = delete;
    // As WriteTime(path).
    std::optional<FileTime> Of(std::string_view path);

  private:
    std::string dir_;
    int fd_ = -1;
};

}  // namespace qv5
