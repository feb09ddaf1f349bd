// The shell's "open" of documents and web addresses.
#pragma once

#include <functional>
#include <string>

namespace qv5 {

// Opens `target` (CP932) as the shell would. A target enclosed in double
// quotes is passed without them.
void ShellOpen(const std::string& target);

// Replaces the host call (tests record what the program hands over);
// an empty function restores xdg-open. Returns the previous handler.
using ShellOpenHandler = std::function<void(const std::string& target)>;
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

}  // namespace qv5
