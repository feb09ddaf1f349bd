// The folder browser's read-only commands: `hidden-search FOLDER` and `info CHART`.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv5 {

struct ConfigRecord;

// nullopt when `args` is neither command. Relative paths are taken from
// `start_dir`; `info` shows the score of the player of `config`.
std::optional<int> RunBrowserCommand(const std::vector<std::string>& args,
                                     const std::string& start_dir, const ConfigRecord& config);

}  // namespace qv5
