// add-root, refresh and rescan: the commands that need no more than the song
// library and config.xml. The quick start of the program runs them without
// loading Qt or the other libraries of the window.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv5 {

bool IsLibraryCommand(const std::vector<std::string>& args);
// The exit code of a library command; nullopt when `args` is none.
std::optional<int> RunLibraryCommand(const std::vector<std::string>& args,
                                     const std::string& start_dir);

// "QV5: message" on stderr; returns 1.
int CommandFailed(const std::string& message);
// A relative host path taken from `start_dir`, as every command-line tool does.
std::string FromStartDir(const std::string& host, const std::string& start_dir);
// `code`, or a failure when the standard output could not be written.
int FinishCommand(int code);

}  // namespace qv5
