// Running a command line through sh, as a user at a terminal would.
#pragma once

#include <string>

namespace qv5::test {

struct ShellResult {
    int code;         // exit code; -1 when it did not exit normally or did not start
    std::string out;  // what it wrote to its standard output
};

ShellResult RunShell(const std::string& command);

}  // namespace qv5::test
