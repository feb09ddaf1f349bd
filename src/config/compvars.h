// The video compressor record the game body reads for movie exports:
// QV5files\Config\compvars.dat, the 64-byte 32-bit COMPVARS structure.
#pragma once

#include <array>
#include <cstdint>

namespace qv5 {

inline constexpr const char* kCompVarsPath = "QV5files\\Config\\compvars.dat";

// A four-character code as the structure stores it (first character lowest).
constexpr std::uint32_t FourCc(const char (&code)[5]) {
    return std::uint32_t(std::uint8_t(code[0])) | std::uint32_t(std::uint8_t(code[1])) << 8 |
           std::uint32_t(std::uint8_t(code[2])) << 16 | std::uint32_t(std::uint8_t(code[3])) << 24;
}

struct CompressorChoice {
    std::uint32_t handler = FourCc("DIB ");  // the codec
    std::int32_t key_frame_every = 15;       // lKey: a key frame every this many frames
    std::int32_t quality = 7500;             // lQ: 0 to 10000
};

// The record: size 64, flags "valid", type "vidc", the codec, key frame rate
// and quality; every other field (handles and pointers) zero. Little-endian.
std::array<std::uint8_t, 64> CompVarsBytes(const CompressorChoice& choice);

// Creates or replaces compvars.dat; false when it cannot be written.
bool WriteCompVars(const CompressorChoice& choice);

}  // namespace qv5
