#include "program_run.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "chart_gen.h"

namespace qv5::bench {

ProgramRun RunProgram(const char* exe, const std::vector<std::string>& args, bool quiet) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(exe));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ProgramRun r;
    std::fflush(nullptr);  // the child must not write this process's buffered output
    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stdout)) _exit(126);
        if (quiet && !freopen("/dev/null", "w", stderr)) _exit(126);
        execv(exe, argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    r.seconds = Now() - start;
    r.max_rss_kb = usage.ru_maxrss;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace qv5::bench
