#include "support/rar_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>

namespace qv5::test {
namespace {

std::uint32_t Crc32(const std::string& bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void Put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A block: its CRC (low 16 bits of the CRC-32 of what follows it in the
// header), then type, flags, size and the type's own fields.
std::string Block(std::uint8_t type, std::uint16_t flags, const std::string& fields) {
    std::string head;
    Put(head, type, 1);
    Put(head, flags, 2);
    Put(head, static_cast<std::uint32_t>(2 + 1 + 2 + 2 + fields.size()), 2);
    head += fields;
    std::string block;
    Put(block, Crc32(head) & 0xFFFF, 2);
    return block + head;
}

}  // namespace

void WriteRar4(const std::string& host_path, const std::vector<RarItem>& items) {
    std::string out("Rar!\x1A\x07\x00", 7);
    out += Block(0x73, 0, std::string(6, '\0'));  // archive header, reserved fields
    for (const RarItem& item : items) {
        const std::string data = item.folder ? std::string() : item.data;
        std::string f;
        Put(f, static_cast<std::uint32_t>(data.size()), 4);  // packed size
        Put(f, static_cast<std::uint32_t>(data.size()), 4);  // unpacked size
        Put(f, 2, 1);                                        // made on Win32
        Put(f, Crc32(data), 4);
        Put(f, (30u << 25) | (1u << 21) | (1u << 16), 4);  // 2010-01-01 00:00 (DOS time)
        Put(f, 20, 1);                                     // version needed
        Put(f, 0x30, 1);                                   // stored
        Put(f, static_cast<std::uint32_t>(item.name.size()), 2);
        Put(f, item.folder ? 0x10 : 0x20, 4);  // directory / archive attribute
        f += item.name;
        // 0x8000: a data area follows; 0x00E0: the entry is a folder.
        out += Block(0x74, item.folder ? 0x80E0 : 0x8000, f) + data;
    }
    out += Block(0x7B, 0x4000, "");
    std::ofstream file(host_path, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    ASSERT_TRUE(file.good()) << host_path;
}

}  // namespace qv5::test
