// Starting a prepared command: fork and exec in the program directory; an
// exec failure comes back through a close-on-exec pipe. Programs that are not
// waited for are started through an intermediate child that exits at once,
// so that nothing is left to reap.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/paths.h"
#include "platform/process.h"

namespace qv5 {
namespace {

WaitHook& Hook() {
    static WaitHook hook;
    return hook;
}

// This process's environment with `extra` ("NAME=value") set over it.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string_view entry(*e);
        bool replaced = false;
        for (const std::string& x : extra)
            replaced =
                replaced || entry.substr(0, entry.find('=') + 1) == x.substr(0, x.find('=') + 1);
        if (!replaced) env.emplace_back(entry);
    }
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

int ExitCode(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Blocks until `pid` ends; keeps the window painted through the hook.
int WaitFor(pid_t pid, const std::string& program) {
    bool done = false;
    int status = 0;
    auto exited = [&]() {
        if (done) return true;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR)) done = true;
        return done;
    };
    if (Hook()) Hook()(program, exited);
    while (!done) {
        pid_t r = waitpid(pid, &status, 0);
        if (r == pid || (r < 0 && errno != EINTR)) done = true;
    }
    return ExitCode(status);
}

[[noreturn]] void Report(int fd, int e) {
    ssize_t ignored = write(fd, &e, sizeof e);
    (void)ignored;
    _exit(127);
}

ProcessResult Failed(int e) {
    ProcessResult r;
    r.reason = StartError::Failed;
    r.error = std::string("Cannot start the program: ") + std::strerror(e);
    return r;
}

// argv[0] is the file to execute; `name` is what the wait note shows; `env`
// is set over this process's environment.
ProcessResult Launch(std::vector<std::string> args, const std::string& name, Wait wait,
                     const std::vector<std::string>& env = {}) {
    const std::string cwd = ToHostPath(ProgramDirectory()).value_or(".");
    // Everything the child needs is built before fork.
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> child_env =
        env.empty() ? std::vector<std::string>() : ChildEnvironment(env);
    std::vector<char*> envp;
    for (std::string& e : child_env) envp.push_back(e.data());
    envp.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return Failed(errno);
    pid_t pid = fork();
    if (pid < 0) {
        int e = errno;
        close(fds[0]);
        close(fds[1]);
        return Failed(e);
    }
    if (pid == 0) {
        close(fds[0]);
        if (wait == Wait::No) {
            pid_t grandchild = fork();
            if (grandchild != 0) {
                if (grandchild < 0) Report(fds[1], errno);
                _exit(0);
            }
        }
        if (chdir(cwd.c_str()) != 0) Report(fds[1], errno);
        execve(argv[0], argv.data(), env.empty() ? environ : envp.data());
        Report(fds[1], errno);
    }
    close(fds[1]);
    int child_errno = 0;
    ssize_t got;
    do {
        got = read(fds[0], &child_errno, sizeof child_errno);
    } while (got < 0 && errno == EINTR);
    close(fds[0]);
    const bool exec_failed = got == static_cast<ssize_t>(sizeof child_errno);

    ProcessResult result;
    if (wait == Wait::No || exec_failed) {
        // The intermediate child (or the failed one) ends at once.
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        if (exec_failed) return Failed(child_errno);
        result.started = true;
        return result;
    }
    result.started = true;
    result.exit_code = WaitFor(pid, name);
    return result;
}

class RealRunner final : public ProcessRunner {
  public:
    ProcessResult Run(const std::string& command_line, Wait wait) override {
        HostCommand cmd = PrepareCommand(command_line);
        if (cmd.argv.empty()) return cmd.result;
        SayNotice(cmd.notice);
        return Launch(std::move(cmd.argv), cmd.program_name, wait, cmd.env);
    }
};

std::unique_ptr<ProcessRunner>& Current() {
    static std::unique_ptr<ProcessRunner> runner = std::make_unique<RealRunner>();
    return runner;
}

}  // namespace

ProcessRunner& Processes() {
    return *Current();
}

std::unique_ptr<ProcessRunner> SetProcesses(std::unique_ptr<ProcessRunner> runner) {
    if (!runner) runner = std::make_unique<RealRunner>();
    std::swap(Current(), runner);
    return runner;
}

ProcessResult RunHostProgram(std::vector<std::string> argv, Wait wait) {
    if (argv.empty()) return Failed(ENOENT);
    if (argv[0].find('/') == std::string::npos) {
        std::string found = FindOnPath(argv[0]);
        if (found.empty()) {
            ProcessResult r;
            r.reason = StartError::ProgramMissing;
            r.error = argv[0] + " not found.";
            return r;
        }
        argv[0] = found;
    }
    std::string name = argv[0];
    return Launch(std::move(argv), name, wait);
}

WaitHook SetWaitHook(WaitHook hook) {
    std::swap(Hook(), hook);
    return hook;
}

}  // namespace qv5
