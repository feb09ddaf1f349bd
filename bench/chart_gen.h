// Generates realistic chart files for the benchmarks.
#pragma once

#include <cstdint>
#include <string>

namespace qv5::bench {

// A chart of about `target_bytes`: header lines, WAV/BMP definitions and
// many channel lines with object pairs.
std::string MakeChart(std::uint32_t seed, size_t target_bytes);

// Runs a shell command and returns its wall time in seconds (-1 on failure).
double TimeCommand(const std::string& command);

double Now();

}  // namespace qv5::bench
