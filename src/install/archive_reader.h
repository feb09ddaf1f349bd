// A read-only walk over the entries of one archive through libarchive, with
// every name turned into CP932.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "install/archive.h"

struct archive;
struct archive_entry;

namespace qv5 {

struct ArchiveLibrary;

enum class EntryType { File, Folder, Link, Special };

class ArchiveReader {
  public:
    ArchiveReader() = default;
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // `host_path` is UTF-8. False when it cannot be opened (see error()).
    bool Open(ArchiveKind kind, const std::string& host_path);

    enum class Step { Entry, End, Failed };
    Step Next();

    // The current entry. name() is nullopt when it has no CP932 form.
    const std::optional<std::string>& name() const { return name_; }
    EntryType type() const { return type_; }
    bool encrypted() const { return encrypted_; }
    // -1 when the archive does not say.
    std::int64_t declared_size() const { return size_; }
    // Last-write time in seconds since 1970; nullopt when not stored.
    std::optional<std::int64_t> mtime() const { return mtime_; }

    // The next block of the current entry's data: 1 with data, 0 at its end,
    // -1 when it cannot be read or fails its check (see error()).
    int ReadBlock(const void** data, size_t* size, std::int64_t* offset);

    // CP932 text of the library's last error.
    std::string error() const;

  private:
    const ArchiveLibrary* lib_ = nullptr;
    std::string error_;  // why Open failed before libarchive could say
    archive* a_ = nullptr;
    archive_entry* entry_ = nullptr;
    ArchiveKind kind_ = ArchiveKind::Zip;
    std::optional<std::string> name_;
    EntryType type_ = EntryType::File;
    bool encrypted_ = false;
    std::int64_t size_ = -1;
    std::optional<std::int64_t> mtime_;
};

}  // namespace qv5
