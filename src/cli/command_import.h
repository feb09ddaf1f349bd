// The import commands of the command line: course lists and restored scores.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv5 {

// Runs `import-courses FILE` or `restore-scores ID PASSWORD IRID`; nullopt
// when `args` is neither. Exit status 0 only when something was imported.
std::optional<int> RunImportCommand(const std::vector<std::string>& args);

}  // namespace qv5
