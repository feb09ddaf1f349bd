// Running a program as a child of a benchmark, timed, with its peak memory.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace qv5 {
class SongLibrary;
}

namespace qv5::bench {

struct ProgramRun {
    double seconds = -1;
    long max_rss_kb = 0;
    int code = -1;  // -1 when it did not exit normally
};

// Runs `exe` with `args`, its standard output to /dev/null (and its standard
// error too when `quiet`), and reads its peak memory from the kernel.
ProgramRun RunProgram(const char* exe, const std::vector<std::string>& args, bool quiet);

// The middle value of a benchmark's runs (the upper one of an even count).
double Median(std::vector<double> runs);

// Starts the tests' HTTP server (`script`, tests/support/http_server.py) on
// 127.0.0.1 serving `dir`; its port, or 0 (then `pid` is -1 when it did not
// start).
int StartHttpServer(const std::string& script, const std::string& dir, pid_t& pid);

// The baseline of the window benchmarks: one plain "SELECT * FROM song",
// every row stepped and every column read as the program reads it (texts
// converted to CP932); its seconds. `bytes` gets a sum that keeps the reads.
double PlainSongSelect(SongLibrary& library, size_t& bytes);

}  // namespace qv5::bench
