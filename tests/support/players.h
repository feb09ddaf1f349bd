#pragma once

#include <string>

namespace qv5::test {

// Creates a player database with its row as the new-player command would.
void MakePlayer(const std::string& id, const std::string& password, int irid = 0);

}  // namespace qv5::test
