#include "config/compvars.h"

#include <string_view>

#include "config/config_file.h"
#include "platform/files.h"

namespace qv5 {
namespace {

// Field offsets of the 32-bit structure.
enum Offset : size_t {
    kSize = 0,
    kFlags = 4,
    kType = 12,
    kHandler = 16,
    kKey = 40,
    kQuality = 48,
};
constexpr std::uint32_t kValid = 1;  // ICMF_COMPVARS_VALID

void Put(std::array<std::uint8_t, 64>& out, size_t at, std::uint32_t value) {
    for (size_t i = 0; i < 4; ++i) out[at + i] = std::uint8_t(value >> (8 * i));
}

}  // namespace

std::array<std::uint8_t, 64> CompVarsBytes(const CompressorChoice& choice) {
    std::array<std::uint8_t, 64> out{};
    Put(out, kSize, 64);
    Put(out, kFlags, kValid);
    Put(out, kType, FourCc("vidc"));
    Put(out, kHandler, choice.handler);
    Put(out, kKey, std::uint32_t(choice.key_frame_every));
    Put(out, kQuality, std::uint32_t(choice.quality));
    return out;
}

bool WriteCompVars(const CompressorChoice& choice) {
    const auto bytes = CompVarsBytes(choice);
    CreateFolders(kConfigFolder);
    return WriteFileAtomic(
        kCompVarsPath, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace qv5
