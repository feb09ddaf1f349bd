// Encodings shared by every writer of the song library.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace qv5 {

// CRC-32 over the path bytes (each sign-extended) and the terminating zero,
// written with "%x".
std::string PathKey(std::string_view path);
inline constexpr const char* kRootKey = "e2977170";  // PathKey("ROOT")

// The library's 32-bit time of a calendar time (year shifted by 369 years,
// Windows file-time halves, the 429.4836225 factor). 29 February counts as the
// 28th; dates before 1970 give 0.
std::int32_t LibraryTime(const FileTime& t);
// "Now" in local time.
std::int32_t LibraryTimeNow();

}  // namespace qv5
