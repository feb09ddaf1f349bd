// File-system operations on internal paths.
#pragma once

#include <cstdint>
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
    bool system = false;  // no host equivalent; always false here
    FileTime write_time;
    std::int64_t size = 0;
};

// Entries of a folder in file-system order, without "." and "..". Names with
// no CP932 form are skipped. False when the folder cannot be listed.
bool ListFolder(std::string_view dir, std::vector<DirEntry>& out);

bool PathExists(std::string_view path);
bool IsDirectory(std::string_view path);
std::optional<FileTime> WriteTime(std::string_view path);

bool CreateFolder(std::string_view path);
// Renames or moves; fails when the target exists.
bool MovePath(std::string_view from, std::string_view to);
bool CopyFileNoOverwrite(std::string_view from, std::string_view to);
// Deletes a file or an empty folder.
bool DeletePath(std::string_view path);

bool ReadWholeFile(std::string_view path, std::string& out);
// Writes a temporary file beside `path` and renames it over `path`: either the
// new content is complete or the old file is untouched.
bool WriteFileAtomic(std::string_view path, std::string_view data);

}  // namespace qv5
