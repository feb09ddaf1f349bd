#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/paths.h"
#include "platform/text.h"

extern char** environ;

namespace qv5 {
namespace {

ShellOpenHandler& Handler() {
    static ShellOpenHandler handler;
    return handler;
}

void XdgOpen(const std::string& target) {
    std::string t = target;
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    std::string arg = Cp932ToUtf8(t);
    if (arg.find("://") == std::string::npos) {
        if (auto host = ToHostPath(t)) arg = *host;
    }
    // Double fork so that no child is left to reap.
    pid_t pid = fork();
    if (pid == 0) {
        pid_t inner = 0;
        char* argv[] = {const_cast<char*>("xdg-open"), arg.data(), nullptr};
        posix_spawnp(&inner, "xdg-open", nullptr, nullptr, argv, environ);
        _exit(0);
    }
    if (pid > 0) waitpid(pid, nullptr, 0);
}

}  // namespace

void ShellOpen(const std::string& target) {
    if (Handler())
        Handler()(target);
    else
        XdgOpen(target);
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
    std::swap(Handler(), handler);
    return handler;
}

}  // namespace qv5
