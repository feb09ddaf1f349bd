// Zip archives written by the tests themselves, through libarchive's writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv5::test {

struct ZipItem {
    enum class Kind { File, Folder, Symlink };
    std::string name;  // bytes as stored: CP932, or UTF-8 with utf8_names
    std::string data;  // the file's bytes; a symlink's target
    Kind kind = Kind::File;
};

inline ZipItem File(std::string name, std::string data = "x") {
    return {std::move(name), std::move(data), ZipItem::Kind::File};
}
inline ZipItem Folder(std::string name) {
    return {std::move(name), {}, ZipItem::Kind::Folder};
}
inline ZipItem Symlink(std::string name, std::string target) {
    return {std::move(name), std::move(target), ZipItem::Kind::Symlink};
}

struct ZipOptions {
    bool utf8_names = false;  // names are UTF-8 and get the zip UTF-8 flag
    std::string passphrase;   // non-empty: traditional zip encryption
    bool stored = false;      // entries kept uncompressed: their bytes lie as they are
};

// Writes the archive at `host_path`; fails the test when libarchive refuses.
void WriteZip(const std::string& host_path, const std::vector<ZipItem>& items,
              const ZipOptions& options = {});

// A file of `size` zero bytes inside a zip: small archive, large content.
void WriteZipOfZeros(const std::string& host_path, const std::string& name, std::int64_t size);

}  // namespace qv5::test
