// Counting the objects of a key channel line: the bulk of reading a chart.
#pragma once

#include <cstdint>

namespace qv5 {

// Pairs of base-36 digits at `p` (`pairs` of them; a character that is no
// digit counts as 0): how many are neither 0 nor `lnobj`.
std::int32_t CountObjects(const char* p, long pairs, int lnobj);

}  // namespace qv5
