// File-system operations on internal paths.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv5 {

// Last-write time as a UTC calendar time (no time-zone adjustment).
struct FileTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

struct DirEntry {
    std::string name;  // CP932, as stored
    bool directory = false;
    bool system = false;    // no host equivalent; always false here
    FileTime write_time;    // only with ListDetail::Full
    std::int64_t size = 0;  // only with ListDetail::Full
};

enum class ListDetail { Full, NamesAndKinds };

// Entries of a folder in file-system order, without "." and "..". Names with
// no CP932 form are skipped. False when the folder cannot be listed.
// NamesAndKinds skips the per-entry stat where the file system tells the kind.
bool ListFolder(std::string_view dir, std::vector<DirEntry>& out,
                ListDetail detail = ListDetail::Full);

bool PathExists(std::string_view path);
bool IsDirectory(std::string_view path);
std::optional<FileTime> WriteTime(std::string_view path);
// Last change of a file or folder in nanoseconds, to tell whether it changed.
std::optional<std::int64_t> ChangeStamp(std::string_view path);

bool CreateFolder(std::string_view path);
// Renames or moves; fails when the target exists.
bool MovePath(std::string_view from, std::string_view to);
bool CopyFileNoOverwrite(std::string_view from, std::string_view to);
// Deletes a file or an empty folder.
bool DeletePath(std::string_view path);

bool ReadWholeFile(std::string_view path, std::string& out);

// A reusable read buffer: grows, never zero-fills, never shrinks below what
// it last held (for reading many files one after the other).
class FileBuffer {
  public:
    std::string_view view() const { return {data_.get(), size_}; }
    // False when the file cannot be read.
    bool Read(std::string_view path);
    void Release();

  private:
    std::unique_ptr<char[]> data_;
    size_t size_ = 0, capacity_ = 0;
};
// Writes a temporary file beside `path` and renames it over `path`: either the
// new content is complete or the old file is untouched.
bool WriteFileAtomic(std::string_view path, std::string_view data);

}  // namespace qv5
