#include "install/rar5_scan.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/files.h"

namespace qv5 {
namespace {

constexpr unsigned char kSignature[8] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x01, 0x00};
constexpr std::uint64_t kMaxHeader = 2 * 1024 * 1024;  // the format's own limit

// A variable-length integer: seven bits a byte, low bits first.
bool ReadVint(const unsigned char*& p, const unsigned char* end, std::uint64_t& out) {
    out = 0;
    for (int shift = 0; shift < 64 && p < end; shift += 7) {
        const unsigned char b = *p++;
        out |= std::uint64_t(b & 0x7F) << shift;
        if ((b & 0x80) == 0) return true;
    }
    return false;
}

bool ReadVintFile(HostFileStream& f, std::uint64_t& out) {
    out = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        const int b = f.Byte();
        if (b < 0) return false;
        out |= std::uint64_t(b & 0x7F) << shift;
        if ((b & 0x80) == 0) return true;
    }
    return false;
}

// The extra area of a file or service header holds a record of type 1 when
// the data is encrypted.
bool ExtraHoldsEncryption(const unsigned char* p, const unsigned char* end) {
    while (p < end) {
        std::uint64_t size = 0, type = 0;
        if (!ReadVint(p, end, size) || size > std::uint64_t(end - p)) return false;
        const unsigned char* next = p + size;
        if (!ReadVint(p, next, type)) return false;
        if (type == 1) return true;
        p = next;
    }
    return false;
}

}  // namespace

bool Rar5HoldsEncryption(const std::string& host_path) {
    HostFileStream f;
    if (!f.Open(host_path)) return false;
    unsigned char sig[8];
    if (!f.Read(sig, 8) || std::memcmp(sig, kSignature, 8) != 0) return false;
    std::vector<unsigned char> header;
    for (;;) {
        unsigned char crc[4];
        std::uint64_t size = 0;
        if (!f.Read(crc, 4) || !ReadVintFile(f, size)) return false;
        if (size == 0 || size > kMaxHeader) return false;
        header.resize(size);
        if (!f.Read(header.data(), size)) return false;
        const unsigned char* p = header.data();
        const unsigned char* end = p + size;
        std::uint64_t type = 0, flags = 0, extra = 0, data = 0;
        if (!ReadVint(p, end, type) || !ReadVint(p, end, flags)) return false;
        if ((flags & 1) && !ReadVint(p, end, extra)) return false;
        if ((flags & 2) && !ReadVint(p, end, data)) return false;
        if (type == 4) return true;  // the headers themselves are encrypted
        if (type == 5) return false;
        if ((type == 2 || type == 3) && extra > 0 && extra <= std::uint64_t(end - p) &&
            ExtraHoldsEncryption(end - extra, end))
            return true;
        if (data > static_cast<std::uint64_t>(INT64_MAX)) return false;
        if (data > 0 && !f.Skip(static_cast<std::int64_t>(data))) return false;
    }
}

}  // namespace qv5
