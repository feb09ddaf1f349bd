// Files read by mapping their pages rather than copying them, a batch at a
// time: no copy, and no fresh memory to fill (in a short-lived process that
// costs as much as the copy).
//
// A mapped file that another program cuts short would stop this one (the
// system signals a read past the new end). Here the lost pages read as
// zeros instead and intact() turns false: the bytes are then not the
// file's, and the caller reads the file again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/files.h"

namespace qv5 {

class FileMaps {
  public:
    // The largest file one slot holds.
    static constexpr size_t kSlotBytes = 4 << 20;

    // Address space for `slots` files; none when the system refuses (every
    // Map then fails and the caller reads instead).
    explicit FileMaps(size_t slots);
    ~FileMaps();
    FileMaps(const FileMaps&) = delete;
    FileMaps& operator=(const FileMaps&) = delete;

    // Maps the regular file at `path` into `slot`, replacing what was there,
    // and gives its bytes and last-write time; nullopt when it is not mapped
    // (missing, not a regular file, empty, larger than a slot, or refused).
    // The bytes stay until the slot is mapped again or UnmapAll().
    std::optional<std::string_view> Map(size_t slot, std::string_view path,
                                        FileTime* write_time = nullptr);
    // False once the file in `slot` was cut short while mapped.
    bool intact(size_t slot) const;
    // Drops every slot's file at once.
    void UnmapAll();

  private:
    std::byte* region_ = nullptr;  // a page of flags, then the slots
    size_t region_bytes_ = 0, slots_ = 0;
    int registry_index_ = -1;
    std::byte* slot_address(size_t slot) const;
};

}  // namespace qv5
