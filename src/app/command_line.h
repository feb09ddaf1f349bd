// The command line: library maintenance without the window.
#pragma once

#include <string>
#include <vector>

namespace qv5 {

// `args` is the subcommand and its arguments (the program directory is set).
// Returns the process exit code.
int RunCommandLine(const std::vector<std::string>& args);

// `play CHART` (waits for the game) and `autoplay CHART` (does not).
int RunPlayCommand(const std::string& command, const std::string& host_chart);

extern const char* const kUsage;

}  // namespace qv5
