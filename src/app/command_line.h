// The command line: library maintenance without the window.
#pragma once

#include <string>
#include <vector>

namespace qv5 {

// `args` is the subcommand and its arguments (the program directory is set).
// Returns the process exit code.
int RunCommandLine(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace qv5
