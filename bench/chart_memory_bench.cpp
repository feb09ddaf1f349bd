// Peak memory of reading one very large chart (a sparse file: header lines,
// then a hole) against md5sum over the same file, each in a child process.
// Usage: chart_memory_bench [gib=1]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "library/chart_header.h"
#include "library/chart_record.h"
#include "library/file_hash.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace {

// Runs `work` in a child; its peak resident size in KiB, -1 on failure.
template <typename Work>
long PeakKb(Work work) {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) _exit(work() ? 0 : 1);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    const long long gib = argc > 1 ? std::atoll(argv[1]) : 1;
    const fs::path dir = fs::temp_directory_path() / ("qv5memory" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "huge.bms").string();
    {
        FILE* f = std::fopen(file.c_str(), "wb");
        if (!f) return 1;
        std::fputs("#TITLE huge\r\n#00111:01010101\r\n", f);
        std::fclose(f);
    }
    if (truncate(file.c_str(), static_cast<off_t>(gib) << 30) != 0) return 1;
    const std::string internal = *qv5::FromHostPath(file);

    const long md5sum = PeakKb([&] {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execlp("md5sum", "md5sum", file.c_str(), nullptr);
        return false;
    });
    const long baseline = PeakKb([] { return true; });  // this program, forked, doing nothing
    // The same with the MD5 library started (OpenSSL sets itself up once).
    const long md5_started = PeakKb([] { return qv5::Md5Hex("x").size() == 32; });
    const long reader = PeakKb([&] {
        qv5::ChartRecord r;
        return qv5::ReadChartHeader(r, internal) && r.hash.size() == 32;
    });
    fs::remove_all(dir);
    std::printf(
        "chart of %lld GiB: peak memory md5sum %ld KiB, ReadChartHeader %ld KiB (of which %ld KiB "
        "is this program before it reads, %ld KiB with its MD5 library started)\n",
        gib, md5sum, reader, baseline, md5_started);
    if (md5sum > 0 && reader > 0)
        std::printf("ratio ReadChartHeader/md5sum: %.2f\n", double(reader) / double(md5sum));
    return md5sum > 0 && reader > 0 ? 0 : 1;
}
