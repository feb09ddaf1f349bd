// Starting other programs from a Windows command line: the game body, the
// encoders, the BMS editor, the archiver installer. Windows executables run
// under wine with their arguments left in Windows form; native programs get
// host paths and expanded wildcards. The working directory is always the
// program directory.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv5 {

// Splits a command line as CommandLineToArgvW does (quotes, backslashes
// before quotes, "" inside quotes). The first token is the program.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

enum class Wait { No, Yes };

struct ProcessResult {
    bool started = false;   // false: nothing ran (see error)
    int exit_code = -1;     // only when waited for and the program exited
    std::string error;      // CP932; why nothing ran, for the caller's message
};

class ProcessRunner {
  public:
    virtual ~ProcessRunner() = default;
    // `command_line` is CP932. With Wait::Yes returns when the program has
    // exited; a window keeps painting meanwhile (see SetWaitNote).
    virtual ProcessResult Run(const std::string& command_line, Wait wait) = 0;
};

// The runner in use: the real one unless a test installed another.
ProcessRunner& Processes();
// Installs a runner; returns the previous one. Null restores the real one.
std::unique_ptr<ProcessRunner> SetProcesses(std::unique_ptr<ProcessRunner> runner);

}  // namespace qv5
