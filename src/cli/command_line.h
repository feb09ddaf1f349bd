// The command line: library maintenance without the window.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv5 {

// `args` is the subcommand and its arguments (the program directory is set);
// relative paths among them are taken from `start_dir`, the host directory
// the program was started in. Returns the process exit code: 0 only when
// everything was done and its output written.
int RunCommandLine(const std::vector<std::string>& args, const std::string& start_dir);

// `play CHART` (waits for the game) and `autoplay CHART` (does not).
int RunPlayCommand(const std::string& command, const std::string& host_chart);

extern const char* const kUsage;

// A path named on the command line (relative ones from `start_dir`) as the
// program names it: relative to the game folder when inside it, else
// absolute; the game folder itself stays absolute. `missing` begins the
// error when there is no such entry.
std::optional<std::string> CommandLinePath(const std::string& host, const std::string& start_dir,
                                           std::string& error,
                                           const char* missing = "no such file or folder");

}  // namespace qv5
