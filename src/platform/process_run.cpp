// Starting a prepared command in the program directory. Programs that are
// not waited for are started through an intermediate child that exits at
// once, so that nothing is left to reap; an exec failure then comes back
// through a close-on-exec pipe. Each program leads a process group of its
// own and reads from /dev/null: a terminal's Ctrl-C goes to this program
// alone, and a program outside the terminal's group never stops on reading it.
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <spawn.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/paths.h"
#include "platform/process.h"

namespace qv5 {
namespace {

WaitHook& Hook() {
    static WaitHook hook;
    return hook;
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

ProcessResult Failed(int e) {
    ProcessResult r;
    r.reason = StartError::Failed;
    r.error = std::string("Cannot start the program: ") + std::strerror(e);
    return r;
}

// A program that is waited for starts through posix_spawn: the child shares
// this process's memory until its exec instead of copying its page tables,
// which a large process would pay for at every start (conversions start one
// program per file). Exec failures come back as its result.
pid_t SpawnWaited(std::vector<char*>& argv, char** envp, const std::string& cwd,
                  ProcessResult& result) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    const int e = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (e != 0) {
        result = Failed(e);
        return -1;
    }
    result.started = true;
    return pid;
}

// Starts `args` (argv[0] is the file to execute) in the program directory;
// returns the child, or -1 with `result` saying why. With Wait::No the child
// is the intermediate one, which ends at once. `env` is set over this
// process's environment.
pid_t Spawn(std::vector<std::string>& args, Wait wait, ProcessResult& result,
            const std::vector<std::string>& env) {
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
    char** child_envp = env.empty() ? environ : envp.data();
    if (wait == Wait::Yes) return SpawnWaited(argv, child_envp, cwd, result);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result = Failed(errno);
        return -1;
    }
    pid_t pid = fork();
    if (pid < 0) {
        int e = errno;
        close(fds[0]);
        close(fds[1]);
        result = Failed(e);
        return -1;
    }
    if (pid == 0) {
        close(fds[0]);
        pid_t grandchild = fork();
        if (grandchild != 0) {
            if (grandchild < 0) Report(fds[1], errno);
            _exit(0);
        }
        setpgid(0, 0);
        if (int null = open("/dev/null", O_RDONLY); null >= 0 && null != 0) {
            dup2(null, 0);
            close(null);
        }
        if (chdir(cwd.c_str()) != 0) Report(fds[1], errno);
        execve(argv[0], argv.data(), child_envp);
        Report(fds[1], errno);
    }
    close(fds[1]);
    int child_errno = 0;
    ssize_t got;
    do {
        got = read(fds[0], &child_errno, sizeof child_errno);
    } while (got < 0 && errno == EINTR);
    close(fds[0]);
    // The intermediate child ends at once.
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    if (got == static_cast<ssize_t>(sizeof child_errno)) {
        result = Failed(child_errno);
        return -1;
    }
    result.started = true;
    return pid;
}

// `name` is what the wait note shows; `env` is set over this process's
// environment.
ProcessResult Launch(std::vector<std::string> args, const std::string& name, Wait wait,
                     const std::vector<std::string>& env = {}) {
    ProcessResult result;
    const pid_t pid = Spawn(args, wait, result, env);
    if (pid < 0 || wait == Wait::No) return result;
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

// A descriptor that turns readable when `pid` ends, so that a wait for one of
// several children needs no polling (called through syscall: the C library's
// declaration is not marked as C).
static int PidDescriptor(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

ChildProcess::ChildProcess(int pid, std::string name)
    : pid_(pid), pidfd_(PidDescriptor(pid)), name_(std::move(name)) {}

ChildProcess::~ChildProcess() {
    if (!Ended()) {
        Terminate();
        for (int i = 0; i < 300 && !Ended(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!ended_) {
            Kill();
            int status = 0;
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }
    if (pidfd_ >= 0) close(pidfd_);
}

bool ChildProcess::Ended() {
    if (ended_) return true;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
        exit_code_ = ExitCode(status);
        ended_ = true;
    } else if (r < 0 && errno != EINTR) {
        ended_ = true;  // not ours to wait for: nothing more will come
    }
    return ended_;
}

// Once reaped, the group may be gone and its number given to another.
void ChildProcess::Terminate() {
    if (!ended_) kill(-pid_, SIGTERM);
}

void ChildProcess::Kill() {
    if (!ended_) kill(-pid_, SIGKILL);
}

std::int64_t ChildProcess::CpuTime() const {
    std::int64_t total = 0;
    DIR* proc = opendir("/proc");
    if (!proc) return total;
    while (dirent* e = readdir(proc)) {
        if (e->d_name[0] < '1' || e->d_name[0] > '9') continue;
        const std::string path = std::string("/proc/") + e->d_name + "/stat";
        FILE* f = std::fopen(path.c_str(), "re");
        if (!f) continue;
        char line[1024];
        const size_t n = std::fread(line, 1, sizeof line - 1, f);
        std::fclose(f);
        line[n] = '\0';
        // The name in parentheses may hold anything; the fields follow its last ')'.
        const char* rest = std::strrchr(line, ')');
        long long group = 0, utime = 0, stime = 0, cutime = 0, cstime = 0;
        if (rest &&
            std::sscanf(rest + 1,
                        " %*c %*d %lld %*d %*d %*d %*u %*u %*u %*u %*u %lld %lld %lld %lld", &group,
                        &utime, &stime, &cutime, &cstime) == 5 &&
            group == pid_)
            total += utime + stime + cutime + cstime;
    }
    closedir(proc);
    return total;
}

std::unique_ptr<ChildProcess> StartProgram(const std::string& command_line, ProcessResult& result) {
    HostCommand cmd = PrepareCommand(command_line);
    result = cmd.result;
    if (cmd.argv.empty()) return nullptr;
    SayNotice(cmd.notice);
    result = ProcessResult();
    const pid_t pid = Spawn(cmd.argv, Wait::Yes, result, cmd.env);
    if (pid < 0) return nullptr;
    return std::make_unique<ChildProcess>(pid, cmd.program_name);
}

void WaitForAny(const std::vector<ChildProcess*>& children, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    auto ended = [&] {
        for (ChildProcess* c : children)
            if (c->Ended()) return true;
        return std::chrono::steady_clock::now() >= until;
    };
    if (ended()) return;
    if (Hook()) {
        Hook()(children.empty() ? std::string() : children.front()->name(), ended);
        return;
    }
    std::vector<pollfd> fds;
    for (ChildProcess* c : children)
        if (c->pidfd() >= 0) fds.push_back({c->pidfd(), POLLIN, 0});
    // Without a descriptor for every child, look again now and then.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    const int wait_ms = static_cast<int>(std::max<std::int64_t>(
        0,
        fds.size() == children.size() ? left.count() : std::min<std::int64_t>(left.count(), 10)));
    poll(fds.data(), fds.size(), wait_ms);  // a signal ends it early: the caller looks again
}

int ProcessorCount() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<int>(online) : 1;
}

}  // namespace qv5
