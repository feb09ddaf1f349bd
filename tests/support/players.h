#pragma once

#include <string>
#include <vector>

#include "config/config_file.h"

namespace qv5::test {

// Creates a player database with its row as the new-player command would.
void MakePlayer(const std::string& id, const std::string& password, int irid = 0);

// Makes the player "abc" (password "pass") and saves a config.xml that names
// it, with `roots` as the registered song folders.
void SavePlayerConfig(const std::vector<std::string>& roots = {});

// Empties the program's configuration (TheConfig()) and makes the player
// "player" (password "pass"); returns a record that names it with its
// password, with `roots` registered, for the caller to complete and save.
ConfigRecord NewPlayerRecord(const std::vector<std::string>& roots = {});

}  // namespace qv5::test
