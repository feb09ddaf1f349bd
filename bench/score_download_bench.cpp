// The score list download of a body without line ends, from the test HTTP
// server on 127.0.0.1: the time of a body twice as long against the shorter
// one's (2 when the copy is linear), and each against the bare transfer of the
// same body into a file the same way (HttpGet into a FileReplacement) as the
// baseline (near 1 at every size when the copy is linear).
// Usage: score_download_bench [megabytes=16]
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "platform/http.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "player/score_restore.h"
#include "program_run.h"

extern char** environ;

using namespace qv5;
namespace fs = std::filesystem;

namespace {

int StartServer(const fs::path& dir, pid_t& pid) {
    return bench::StartHttpServer(QV5_HTTP_SERVER, dir.string(), pid);
}

// This process's CPU time: the copy's own work, without the waits for the
// server and the disk, which vary with the machine's load.
double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Times {
    double download = 1e9, transfer = 1e9;
};

Times Measure(const fs::path& server_dir, const std::string& url, size_t bytes) {
    std::ofstream(server_dir / "body", std::ios::binary) << std::string(bytes, 'x');
    Times t;
    for (int round = 0; round < 5; ++round) {
        NullProgress progress;
        double start = CpuNow();
        FileReplacement file("QV5files\\Config\\plain.xml");
        HttpGet(url + "restorescore.cgi?id=1", HttpOptions{}, progress,
                [&file](std::string_view piece) { return file.Append(piece); });
        file.Commit();
        t.transfer = std::min(t.transfer, CpuNow() - start);
        start = CpuNow();
        const ScoreDownload d = DownloadScoreList(1, "secret", HttpOptions{}, progress);
        t.download = std::min(t.download, CpuNow() - start);
        if (d.end != DownloadEnd::Saved) std::fprintf(stderr, "download did not end as saved\n");
    }
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? static_cast<size_t>(std::atoi(argv[1])) : 16;
    const fs::path root = fs::temp_directory_path() / "qv5_score_download_bench";
    fs::remove_all(root);
    fs::create_directories(root / "game/QV5files/Config");
    fs::create_directories(root / "server");
    pid_t server = -1;
    const int port = StartServer(root / "server", server);
    if (port <= 0) return 1;
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/ir/";
    std::ofstream(root / "game/QV5files/Config/irserver.txt") << url << "\n";
    setenv("no_proxy", "127.0.0.1", 1);
    if (!SetProgramDirectory((root / "game").string())) return 1;

    const Times small = Measure(root / "server", url, megabytes << 20);
    const Times large = Measure(root / "server", url, (2 * megabytes) << 20);
    const bool copied = fs::file_size(root / "game/QV5files/Config/temp.xml") == (2 * megabytes)
                                                                                     << 20;
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    fs::remove_all(root);
    std::printf(
        "CPU time, body without line ends: %zu MiB %.3f s (transfer %.3f s), %zu MiB %.3f s "
        "(transfer %.3f s)\n",
        megabytes, small.download, small.transfer, 2 * megabytes, large.download, large.transfer);
    std::printf("ratio download/transfer: %.2f (%zu MiB), %.2f (%zu MiB)\n",
                small.download / small.transfer, megabytes, large.download / large.transfer,
                2 * megabytes);
    std::printf("ratio %zu MiB/%zu MiB: %.2f\n", 2 * megabytes, megabytes,
                large.download / small.download);
    return copied ? 0 : 1;
}
