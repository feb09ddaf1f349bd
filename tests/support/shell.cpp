#include "support/shell.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace qv5::test {

ShellResult RunShell(const std::string& command) {
    ShellResult r{-1, ""};
    FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    while (size_t n = fread(buf.data(), 1, buf.size(), p)) r.out.append(buf.data(), n);
    const int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace qv5::test
