// File-system operations on internal paths.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv5 {

class Progress;

// Last-write time as a UTC calendar time (no time-zone adjustment).
struct FileTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
// A host file time (seconds since 1970, UTC) as a FileTime.
FileTime ToFileTime(std::int64_t unix_seconds);

struct DirEntry {
    std::string name;  // CP932, as stored
    bool directory = false;
    bool system = false;    // no host equivalent; always false here
    FileTime write_time;    // only with ListDetail::Full
    std::int64_t size = 0;  // only with ListDetail::Full
};

enum class ListDetail { Full, NamesAndKinds };

// A name that a listing skips because it has no CP932 form (or holds a "\"),
// as the person can find it to rename it. Both texts are UTF-8; a byte that
// is no UTF-8 shows as \xNN.
struct UnheldName {
    std::string host_path;  // absolute
    std::string character;  // the first character without a CP932 form
};

// Entries of a folder in file-system order, without "." and "..". Names with
// no CP932 form are skipped (and given in `unheld` when it is not null).
// False when the folder cannot be listed.
// NamesAndKinds skips the per-entry stat where the file system tells the kind.
// `folder_time` (may be null) gets the folder's own last-write time, read
// through the same open as the listing.
bool ListFolder(std::string_view dir, std::vector<DirEntry>& out,
                ListDetail detail = ListDetail::Full, FileTime* folder_time = nullptr,
                std::vector<UnheldName>* unheld = nullptr);

bool PathExists(std::string_view path);
bool IsDirectory(std::string_view path);
std::optional<FileTime> WriteTime(std::string_view path);
// Last change of a file or folder in nanoseconds, to tell whether it changed.
std::optional<std::int64_t> ChangeStamp(std::string_view path);
// The size and ChangeStamp of a file from one look-up: what tells one
// version of it from the next.
struct FileVersion {
    std::int64_t size = 0, stamp = 0;
    bool operator==(const FileVersion&) const = default;
};
std::optional<FileVersion> VersionOf(std::string_view path);

bool CreateFolder(std::string_view path);
// The folder and every missing folder above it (a relative path from the
// program directory); true when it is a folder at the end.
bool CreateFolders(std::string_view path);
// Why no file can be created in the folder (the system's text: missing, not
// writable, not a folder); nullopt when nothing stands in the way.
std::optional<std::string> FolderWriteProblem(std::string_view dir);
// The host form of a path for messages (CP932; the internal path when it
// has none).
std::string HostPathForMessage(std::string_view path);
// Renames or moves; fails when the target exists.
bool MovePath(std::string_view from, std::string_view to);
// Swaps two existing entries (folders, say) in one step: a reader sees one
// or the other, never neither. False when it failed; errno EINVAL or ENOSYS
// when the file system cannot swap, and the caller moves them one by one.
bool ExchangePaths(std::string_view a, std::string_view b);
// The modes of files this program creates (less the umask): a file that holds
// a password, or a digest of one (config.xml, a player's database), is the
// user's alone. An existing file keeps its own mode whatever is asked.
inline constexpr unsigned kOrdinaryFileMode = 0666;
inline constexpr unsigned kPrivateFileMode = 0600;
// The copy gets the source's mode, within `mode`.
bool CopyFileNoOverwrite(std::string_view from, std::string_view to,
                         unsigned mode = kOrdinaryFileMode);
// Creates an empty file of `mode`; false when it exists or cannot be made.
bool CreateEmptyFile(std::string_view path, unsigned mode);
// Deletes a file or an empty folder.
bool DeletePath(std::string_view path);

bool ReadWholeFile(std::string_view path, std::string& out);
// Whether this user may read the file.
bool IsReadable(std::string_view path);
// Size in bytes of what the path names (a followed link's target).
std::optional<std::int64_t> FileSize(std::string_view path);

// Reads a regular file piece by piece, for files too large to hold whole.
// Never blocks on a FIFO or device: those do not open.
class FileReader {
  public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    bool Open(std::string_view path);
    // The next piece of at most `max` bytes, read into `buffer`; empty at
    // the end of the file, nullopt when a read failed.
    std::optional<std::string_view> Next(std::string& buffer, size_t max);

  private:
    int fd_ = -1;
};

// Reads a file front to back, buffered, skipping forward where asked: for
// walking the headers of a format. Takes a host path, as the archive readers
// are given one.
class HostFileStream {
  public:
    HostFileStream() = default;
    ~HostFileStream();
    HostFileStream(const HostFileStream&) = delete;
    HostFileStream& operator=(const HostFileStream&) = delete;
    bool Open(const std::string& host_path);
    // Exactly `size` bytes into `out`; false when fewer are left, or a read
    // failed.
    bool Read(void* out, size_t size);
    // The next byte, or -1 at the end or when a read failed.
    int Byte();
    // Moves `size` bytes forward; false when that cannot be done (past the
    // end is no failure here: the next read then fails).
    bool Skip(std::int64_t size);

  private:
    std::FILE* file_ = nullptr;
};

// A reusable read buffer: grows, never zero-fills, never shrinks below what
// it last held (for reading many files one after the other).
class FileBuffer {
  public:
    std::string_view view() const { return {data_.get(), size_}; }
    // False when the file cannot be read, or when it is larger than `limit`
    // bytes as it is opened (too_large() then says so; nothing is read).
    // The bytes are one version of the file, never half of one and half of
    // the next: a file changed while it is read is read again, and given up
    // (changing() then says so) when it does not hold still.
    bool Read(std::string_view path, std::int64_t limit = INT64_MAX);
    bool too_large() const { return too_large_; }
    bool changing() const { return changing_; }
    // True while the file at `path` is still the version last read (the
    // same file, size and times). Asked again once the bytes were used: a
    // save may have stood still halfway through while they were read.
    bool StillAsRead(std::string_view path) const;
    // The last-write time of the file last read, as WriteTime gives it.
    const FileTime& write_time() const { return write_time_; }
    void Release();

  private:
    std::unique_ptr<char[]> data_;
    size_t size_ = 0, capacity_ = 0;
    bool too_large_ = false, changing_ = false;
    FileTime write_time_;
    std::array<std::int64_t, 7> version_{};  // what tells one version from the next
};
// What a save does with a link found at the path it writes.
enum class LinkAtPath {
    // The link is replaced by the new file; the file it names is untouched.
    // A link planted where the program writes must not redirect the write.
    Replace,
    // The file the link names is replaced and the link stays: for a link the
    // user made on purpose (config.xml kept elsewhere).
    WriteThrough,
};

// All of `data` to the open descriptor `fd`, again after an interrupted write;
// false when a write fails (errno says why).
bool WriteAll(int fd, std::string_view data);

// Writes a temporary file beside `path` and renames it over `path`: either the
// new content is complete or the old file is untouched. A link at `path` is
// treated as `links` says; the file keeps its mode and owner; a read-only file
// is not written. The temporary file gets a fresh name, created exclusively,
// so nothing planted there is followed. Only when no file can be made beside
// it (a folder the user may not write to, holding a file they may) is a plain
// file rewritten in place. On failure errno says why.
bool WriteFileAtomic(std::string_view path, std::string_view data,
                     LinkAtPath links = LinkAtPath::Replace,
                     unsigned new_file_mode = kOrdinaryFileMode);

struct FileToWrite {
    std::string name;  // a name of the folder, no path
    std::string data;
};
// WriteFileAtomic for several files of one folder, with one flush of the
// file system for all of them instead of one for each: every file is
// written under a fresh temporary name, all reach the disk, then each is
// renamed over its name. Links at the names are replaced. On failure no
// temporary file is left, the files renamed before it keep their new
// content and errno says why.
bool WriteFilesAtomic(std::string_view folder, const std::vector<FileToWrite>& files);

// A file written piece by piece under a fresh temporary name beside `path`
// and renamed over it by Commit, for content too large to hold whole: until
// then `path` is untouched. A link at `path` is replaced, never written
// through. Dropped without a Commit, the temporary file is removed.
class FileReplacement {
  public:
    explicit FileReplacement(std::string_view path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    // False when the temporary file could not be made, or a write failed.
    bool ok() const { return fd_ >= 0; }
    bool Append(std::string_view data);
    bool Commit();

  private:
    void Discard();
    int fd_ = -1;
    std::string tmp_, target_;  // host paths
};

// Creates an empty file named `prefix` followed by six fresh characters,
// exclusively (nothing that was there is followed), and returns its name;
// nullopt when none can be made. For work that is renamed into place once
// complete.
std::optional<std::string> CreateFreshFile(std::string_view prefix,
                                           unsigned mode = kOrdinaryFileMode);

// An advisory lock on a folder, held while the object lives: programs that
// read, change and save a file in it take it around all three steps, so no
// change is lost to a concurrent writer. Waits while another holds it.
class FolderLock {
  public:
    explicit FolderLock(std::string_view dir);
    // The same, for a wait the user may end: while another holds the lock,
    // `progress` shows `waiting` (CP932) and a stop request gives up;
    // locked() is then false and stopped() true.
    FolderLock(std::string_view dir, Progress& progress, const std::string& waiting);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool locked() const { return fd_ >= 0; }
    bool stopped() const { return stopped_; }

  private:
    int fd_ = -1;
    bool stopped_ = false;
};

}  // namespace qv5
