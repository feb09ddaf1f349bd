// The song hash: MD5 of all bytes of a chart file, 32 lower-case hex digits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv5 {

std::string Md5Hex(std::string_view bytes);
// nullopt when the file cannot be read.
std::optional<std::string> FileHash(std::string_view path);

}  // namespace qv5
