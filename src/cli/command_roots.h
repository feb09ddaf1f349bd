// The command line's root folder commands beside add-root.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv5 {

// Runs `remove-root PATH`; nullopt when `args` is not that command. A relative
// PATH is taken from `start_dir`.
std::optional<int> RunRootCommand(const std::vector<std::string>& args,
                                  const std::string& start_dir);

}  // namespace qv5
