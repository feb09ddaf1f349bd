// Files written beside other writers that may work in the same folders at
// once (another install, another entry of this one): each file is made under
// a fresh name nobody else can have, held while it is written, and given its
// name only when complete, never over what another writer made meanwhile.
// Failures keep the system's errno, as the callers count or show it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv5 {

// A file being written under a temporary name of its own writer, in the
// folder it is to be named in: ".qv5-<pid>-<random>.part", created
// exclusively, so that no other writer ever opens, replaces or removes it.
// The writer holds an flock on it until it is closed; what a killed writer
// left is one that nobody holds. A lock rather than the pid in the name: the
// kernel drops it with the process however it ends, and it cannot be mistaken
// for a live writer when the pid is reused, nor for a dead one when the
// writer runs in another pid namespace sharing the folder.
class LockedTemporary {
  public:
    LockedTemporary() = default;
    ~LockedTemporary();  // closes it when still open; the file stays
    LockedTemporary(const LockedTemporary&) = delete;
    LockedTemporary& operator=(const LockedTemporary&) = delete;

    // Creates and locks a fresh temporary file in `folder` (internal path).
    // False with errno set: EINVAL for a folder without a host form, EEXIST
    // when no fresh name could be found.
    bool Create(std::string_view folder);
    // The open descriptor to write through; -1 once closed.
    int fd() const { return fd_; }
    // Its internal path.
    const std::string& path() const { return path_; }
    // Sets its last-write and last-access times (seconds since 1970, UTC).
    void SetTimes(std::int64_t unix_seconds);
    // Closes it, which releases the lock: 0, or the errno of a failed close
    // (a write the file system reports only then).
    int Close();
    // Closes it when still open, and removes it.
    void Remove();

  private:
    int fd_ = -1;
    std::string path_, host_;
};

// Removes from `folder` (internal path) the temporary files of
// LockedTemporary that no writer holds: those a killed writer left.
void RemoveUnheldTemporaries(std::string_view folder);

// Renames the file `from` to `to` without ever replacing `to`: 0, EEXIST
// when `to` is there, or the errno of another failure.
int RenameNoReplace(std::string_view from, std::string_view to);

// What a path names.
enum class EntryKind { None, Folder, Other };
// The entry at `path` itself, a link not followed: a link to a folder is
// Other. None with errno saying why (ENOENT, ENAMETOOLONG, EINVAL for a path
// without a host form).
EntryKind KindOf(std::string_view path);
// The same with every link followed to what it names.
EntryKind KindFollowingLinks(std::string_view path);

// Makes one folder (rwxr-xr-x, less the umask): 0, or the errno (EEXIST,
// ENOENT, ENAMETOOLONG...).
int MakeFolder(std::string_view path);
// Removes a file, or a folder that is empty: 0, or the errno (a folder that
// holds something stays, with ENOTEMPTY).
int RemoveFile(std::string_view path);
int RemoveEmptyFolder(std::string_view path);

// What the file system holding `path` has free for this user, and the size
// of its blocks (0 when it does not say); nullopt when it cannot be asked.
struct FreeSpace {
    std::int64_t bytes = 0, block_size = 0;
};
std::optional<FreeSpace> FreeSpaceAt(std::string_view path);

}  // namespace qv5
