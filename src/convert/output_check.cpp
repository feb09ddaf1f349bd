#include "convert/output_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <string_view>

#include "platform/files.h"

namespace qv5::convert {
namespace {

constexpr size_t kPiece = 1 << 16;

std::uint32_t Le32(std::string_view s, size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

// The Ogg checksum: CRC-32 with the polynomial 0x04C11DB7, not reflected,
// starting from 0, taken with the checksum field read as zeros.
const std::array<std::uint32_t, 256>& CrcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = i << 24;
            for (int b = 0; b < 8; ++b) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    return table;
}

std::uint32_t OggCrc(std::string_view page) {
    const auto& table = CrcTable();
    std::uint32_t crc = 0;
    for (size_t i = 0; i < page.size(); ++i) {
        const unsigned char byte = i >= 22 && i < 26 ? 0 : static_cast<unsigned char>(page[i]);
        crc = (crc << 8) ^ table[((crc >> 24) ^ byte) & 0xFF];
    }
    return crc;
}

// Reads a file in pieces and hands out exact byte counts from it.
class Bytes {
  public:
    bool Open(const std::string& path) { return reader_.Open(path); }
    // Makes at least `n` bytes available; false at the end of the file first.
    bool Have(size_t n) {
        while (held_.size() - at_ < n) {
            held_.erase(0, at_);
            at_ = 0;
            auto piece = reader_.Next(buffer_, kPiece);
            if (!piece || piece->empty()) return false;
            held_.append(*piece);
        }
        return true;
    }
    std::string_view View(size_t n) const { return std::string_view(held_).substr(at_, n); }
    void Skip(size_t n) { at_ += n; }
    // Whether the file has nothing more.
    bool AtEnd() { return !Have(1); }

  private:
    FileReader reader_;
    std::string held_, buffer_;
    size_t at_ = 0;
};

}  // namespace

bool CompleteOgg(const std::string& path) {
    Bytes in;
    if (!in.Open(path)) return false;
    std::set<std::uint32_t> open_streams;
    bool any_ended = false;
    while (!in.AtEnd()) {
        if (!in.Have(27)) return false;
        const std::string_view head = in.View(27);
        if (head.substr(0, 4) != "OggS" || head[4] != 0) return false;
        const auto flags = static_cast<unsigned char>(head[5]);
        const std::uint32_t serial = Le32(head, 14), crc = Le32(head, 22);
        const size_t segments = static_cast<unsigned char>(head[26]);
        if (!in.Have(27 + segments)) return false;
        const std::string_view lacing = in.View(27 + segments).substr(27);
        size_t body = 0;
        for (char lace : lacing) body += static_cast<unsigned char>(lace);
        if (!in.Have(27 + segments + body)) return false;
        if (OggCrc(in.View(27 + segments + body)) != crc) return false;
        const bool begins = flags & 0x02, ends = flags & 0x04;
        if (begins && !open_streams.insert(serial).second) return false;
        if (!begins && !open_streams.count(serial)) return false;  // a page of no begun stream
        if (ends) {
            open_streams.erase(serial);
            any_ended = true;
        }
        in.Skip(27 + segments + body);
    }
    return any_ended && open_streams.empty();
}

bool CompleteWav(const std::string& path) {
    const auto size = FileSize(path);
    Bytes in;
    if (!size || !in.Open(path) || !in.Have(12)) return false;
    const std::string_view head = in.View(12);
    if (head.substr(0, 4) != "RIFF" || head.substr(8, 4) != "WAVE" ||
        static_cast<std::int64_t>(Le32(head, 4)) + 8 != *size)
        return false;
    in.Skip(12);
    std::int64_t at = 12;
    bool format = false, data = false;
    while (at < *size) {
        if (!in.Have(8)) return false;
        const std::string_view chunk = in.View(8);
        format = format || chunk.substr(0, 4) == "fmt ";
        data = data || chunk.substr(0, 4) == "data";
        const std::int64_t length = Le32(chunk, 4), end = at + 8 + length;
        if (end > *size) return false;
        // An odd chunk is followed by a pad byte, unless it ends the file.
        const std::int64_t next = end < *size && (length & 1) ? end + 1 : end;
        // The last chunk (usually the data) is not read; one before another is
        // read past, as nothing but its length is wanted.
        if (next < *size) {
            in.Skip(8);
            for (std::int64_t left = next - at - 8; left > 0;) {
                const size_t step = static_cast<size_t>(std::min<std::int64_t>(left, kPiece));
                if (!in.Have(step)) return false;
                in.Skip(step);
                left -= static_cast<std::int64_t>(step);
            }
        }
        at = next;
    }
    return format && data && at == *size;
}

}  // namespace qv5::convert
