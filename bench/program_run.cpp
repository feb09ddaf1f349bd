#include "program_run.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "chart_gen.h"
#include "library/song_library.h"
#include "platform/database.h"

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

int StartHttpServer(const std::string& script_path, const std::string& dir, pid_t& pid) {
    int out[2];
    if (pipe(out) != 0) return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string script = script_path, folder = dir;
    char* argv[] = {const_cast<char*>("python3"), script.data(), folder.data(), nullptr};
    if (posix_spawnp(&pid, "python3", &actions, nullptr, argv, environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    return pid > 0 ? std::atoi(line.c_str()) : 0;
}

double Median(std::vector<double> runs) {
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

double PlainSongSelect(SongLibrary& library, size_t& bytes) {
    const double start = Now();
    Statement s = library.connection().Prepare("SELECT * FROM song");
    bytes = 0;
    while (s.Step())
        for (int c = 0; c < s.Columns(); ++c) {
            if (c == 8 || c >= 14)
                bytes += static_cast<size_t>(s.Int(c) & 1);
            else
                bytes += s.Text(c).size();
        }
    return Now() - start;
}

}  // namespace qv5::bench
