// RAR 4 archives written by the tests: stored (uncompressed) entries need no
// RAR compressor, only the block layout and its CRCs.
#pragma once

#include <string>
#include <vector>

namespace qv5::test {

struct RarItem {
    std::string name;  // as stored: code-page bytes, "\" between folders
    std::string data;  // the file's bytes
    bool folder = false;
};

// Writes a RAR 4 archive of stored entries whose names are held in the code
// page (no Unicode field), as Japanese Windows archivers write them.
void WriteRar4(const std::string& host_path, const std::vector<RarItem>& items);

}  // namespace qv5::test
