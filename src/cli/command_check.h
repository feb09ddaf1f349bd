// `check [KIND...] [--json]`: the library check for scripts.
#pragma once

#include <string>
#include <vector>

namespace qv5 {

struct CommandCall;

struct ConfigRecord;
enum class ConfigState;

// Exit 0 when nothing was found, 1 when something was, 2 when the check
// could not run or was stopped (Ctrl-C: what was found so far is printed).
int RunCheckCommand(const CommandCall& call, const ConfigRecord& config, ConfigState state);

}  // namespace qv5
