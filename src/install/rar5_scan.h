// The one thing libarchive does not tell of RAR 5 archives: whether entries
// are encrypted. Read from the block headers themselves.
#pragma once

#include <string>

namespace qv5 {

// True when the RAR 5 archive at `host_path` encrypts its headers or any
// file. False for other archives, and for what cannot be read.
bool Rar5HoldsEncryption(const std::string& host_path);

}  // namespace qv5
