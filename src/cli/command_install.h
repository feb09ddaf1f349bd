// The install command: archives into a folder of the song library, as a drop
// on the window does, without the window.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv5 {

// Runs `install ARCHIVE... --into FOLDER`; nullopt when `args` is not an
// install command. Relative paths are taken from `start_dir`. Exit status 0
// only when every archive was installed.
std::optional<int> RunInstallCommand(const std::vector<std::string>& args,
                                     const std::string& start_dir);

}  // namespace qv5
