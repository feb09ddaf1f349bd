// Starting other programs from a Windows command line: the game body, the
// encoders, the BMS editor, the archiver installer. Windows executables run
// under wine with their arguments left in Windows form; native programs get
// host paths and expanded wildcards. The working directory is always the
// program directory. Windows programs run in a Japanese locale (see
// wine_locale.h); native ones keep the user's. Every program runs in a
// process group of its own, with no input: a Ctrl-C at the terminal reaches
// this program only, which then decides whether what it started finishes or
// is ended.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv5 {

// Splits a command line as CommandLineToArgvW does (quotes, backslashes
// before quotes, "" inside quotes). The first token is the program.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

enum class Wait { No, Yes };

enum class StartError { None, ProgramMissing, WineMissing, Failed };

struct ProcessResult {
    bool started = false;  // false: nothing ran (see error)
    int exit_code = -1;    // only when waited for and the program exited
    StartError reason = StartError::None;
    std::string error;  // CP932; why nothing ran, for the caller's message
};

class ProcessRunner {
  public:
    virtual ~ProcessRunner() = default;
    // `command_line` is CP932. With Wait::Yes returns when the program has
    // exited; a window keeps painting meanwhile (see SetWaitHook).
    virtual ProcessResult Run(const std::string& command_line, Wait wait) = 0;
};

// A program started to run beside this one (StartProgram). The caller polls
// it, and may end it together with everything it started.
class ChildProcess {
  public:
    ChildProcess(int pid, std::string name);
    // One still running is ended (Terminate, then Kill) and reaped.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Whether it has ended; never blocks.
    bool Ended();
    // Once ended: its exit status, 128 + the signal when a signal ended it.
    int exit_code() const { return exit_code_; }
    // Signal its whole process group: SIGTERM asks it to end, SIGKILL ends it.
    void Terminate();
    void Kill();
    // Processor time its process group has used so far, in clock ticks: it
    // stands still while the program only waits.
    std::int64_t CpuTime() const;
    const std::string& name() const { return name_; }  // CP932
    int pidfd() const { return pidfd_; }

  private:
    int pid_;
    int pidfd_;  // -1 when the system has none
    bool ended_ = false;
    int exit_code_ = -1;
    std::string name_;
};

// Starts `command_line` (CP932, as Run takes it) without waiting; null when
// nothing started (`result` then says why).
std::unique_ptr<ChildProcess> StartProgram(const std::string& command_line, ProcessResult& result);

// Blocks until one of `children` has ended, `timeout` has passed or a signal
// arrived. A window keeps painting meanwhile (see SetWaitHook).
void WaitForAny(const std::vector<ChildProcess*>& children, std::chrono::milliseconds timeout);

// How many processors this program may run on: how many programs may run
// side by side without waiting for each other.
int ProcessorCount();

// The runner in use: the real one unless a test installed another.
ProcessRunner& Processes();
// Installs a runner; returns the previous one. Null restores the real one.
std::unique_ptr<ProcessRunner> SetProcesses(std::unique_ptr<ProcessRunner> runner);

// What the real runner does while it waits: `program` names what runs (CP932)
// and `exited` turns true once it has ended. A window shows a note and keeps
// painting until then; without a hook the runner simply blocks.
using WaitHook =
    std::function<void(const std::string& program, const std::function<bool()>& exited)>;
// Returns the previous hook; an empty one restores plain blocking.
WaitHook SetWaitHook(WaitHook hook);

// Where the real runner says something the user should know before a start
// (CP932): a window shows it, commands print it to stderr (the default when
// no hook is set). Each notice is said once per run; installing a hook starts
// a new run. Returns the previous hook.
using NoticeHook = std::function<void(const std::string& text)>;
NoticeHook SetNoticeHook(NoticeHook hook);
// Says `text` through the hook unless it was said already in this run.
void SayNotice(const std::string& text);

// How the real runner turns a command line into an argument vector for the
// host (UTF-8): exposed for tests. Empty `argv` means nothing can start;
// `result` then says why.
struct HostCommand {
    std::vector<std::string> argv;
    // "NAME=value" entries set for the program over this process's own.
    std::vector<std::string> env;
    std::string notice;        // CP932; said before the start, once per run
    std::string program_name;  // CP932, as the command line names it
    ProcessResult result;
};
HostCommand PrepareCommand(const std::string& command_line);

// Runs a host program with host arguments (UTF-8) in the program directory,
// bypassing the Windows rules; a bare argv[0] is looked up on PATH.
ProcessResult RunHostProgram(std::vector<std::string> argv, Wait wait);

// The executable `name` on PATH (host path), empty when there is none.
std::string FindOnPath(const std::string& name);

// Windows wildcard match of one name (case ignored for ASCII; "*.*" matches
// names without a dot too). Both UTF-8.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace qv5
