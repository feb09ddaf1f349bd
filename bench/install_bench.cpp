// Installing an archive against unpacking it with bsdtar: `QV5 install` of a
// generated zip of about 200 MB (two charts, keysounds that compress like
// wav and ones that do not, like ogg) into a registered song folder, against
// `bsdtar -xf` of the same archive into an empty folder. Both are child
// processes, measured alternately, five rounds; the best wall time of each is
// compared, and so is the best processor time (user and system), which a
// busy machine disturbs less. Usage:
//   install_bench [megabytes=200]
// Prints the ratios install/bsdtar as its last lines.
#include <archive.h>
#include <archive_entry.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "chart_gen.h"

namespace fs = std::filesystem;
using qv5::bench::Now;
using qv5::bench::TimeCommand;

namespace {

struct Timing {
    double wall = -1, cpu = -1;  // seconds; -1 when the command failed
};

// Runs a shell command; its processor time is what the kernel counted for
// it and everything it waited for.
Timing Measure(const std::string& command) {
    Timing t;
    std::fflush(nullptr);
    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return t;
    t.wall = Now() - start;
    t.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return t;
}

std::string Keysound(std::uint32_t seed, size_t bytes, bool like_wav) {
    std::string data(bytes, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (size_t i = 0; i + 1 < bytes; i += 2) {
        x = x * 1103515245u + 12345u;
        // 16-bit samples of a decaying tone with a little noise, or noise.
        const int sample = like_wav ? static_cast<int>(12000 * std::sin(i * 0.01 * (1 + seed % 7)) *
                                                       std::exp(-static_cast<double>(i) / bytes)) +
                                          static_cast<int>((x >> 16) & 0x3F)
                                    : static_cast<int>(x >> 16);
        data[i] = static_cast<char>(sample & 0xFF);
        data[i + 1] = static_cast<char>((sample >> 8) & 0xFF);
    }
    return data;
}

bool Add(archive* a, const std::string& name, const std::string& data) {
    archive_entry* e = archive_entry_new();
    archive_entry_copy_pathname(e, name.c_str());
    archive_entry_set_filetype(e, AE_IFREG);
    archive_entry_set_perm(e, 0644);
    archive_entry_set_size(e, static_cast<la_int64_t>(data.size()));
    const bool ok =
        archive_write_header(a, e) == ARCHIVE_OK &&
        archive_write_data(a, data.data(), data.size()) == static_cast<la_ssize_t>(data.size());
    archive_entry_free(e);
    return ok;
}

// Keysounds until the archive holds about `megabytes` MB.
bool MakeArchive(const fs::path& path, int megabytes) {
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    if (archive_write_open_filename(a, path.c_str()) != ARCHIVE_OK) return false;
    bool ok = Add(a, "Bench Song/a.bms", qv5::bench::MakeChart(1, 60000)) &&
              Add(a, "Bench Song/b.bms", qv5::bench::MakeChart(2, 90000));
    const std::uintmax_t target = static_cast<std::uintmax_t>(megabytes) << 20;
    for (std::uint32_t i = 0; ok && fs::file_size(path) < target; ++i) {
        const bool wav = i % 2 == 0;
        ok = Add(a, "Bench Song/k" + std::to_string(i) + (wav ? ".wav" : ".ogg"),
                 Keysound(i, (1 << 20) + (i * 7919u) % (1 << 20), wav));
        archive_write_finish_entry(a);  // flushes, so that the size above is current
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

std::string Quote(const fs::path& p) {
    return "'" + p.string() + "'";
}

}  // namespace

int main(int argc, char** argv) {
    const int megabytes = argc > 1 ? std::atoi(argv[1]) : 200;
    const fs::path work =
        fs::temp_directory_path() / ("qv5-install-bench-" + std::to_string(getpid()));
    const fs::path game = work / "game", zip = work / "bench.zip", out = work / "bsdtar";
    fs::remove_all(work);
    fs::create_directories(game / "QV5files/Config");
    fs::create_directories(game / "QV5files/Database/Score");
    fs::create_directories(game / "songs/Cat/Old");
    std::ofstream(game / "songs/Cat/Old/old.bms", std::ios::binary)
        << qv5::bench::MakeChart(0, 20000);
    if (!MakeArchive(zip, megabytes)) {
        std::fprintf(stderr, "cannot write %s\n", zip.c_str());
        return 1;
    }
    const std::string qv5 = std::string("'") + QV5_EXE + "' --dir " + Quote(game) + " ";
    if (TimeCommand(qv5 + "add-root " + Quote(game / "songs") + " >/dev/null") < 0) {
        std::fprintf(stderr, "add-root failed\n");
        return 1;
    }
    // The registration of the previous round is taken back with its folder.
    const std::string undo = qv5 + "refresh " + Quote(game / "songs/Cat") + " >/dev/null";
    Timing best_install{1e9, 1e9}, best_bsdtar{1e9, 1e9};
    for (int round = 0; round < 5; ++round) {
        fs::remove_all(out);
        fs::create_directories(out);
        std::system("sync");
        const Timing b = Measure("bsdtar -xf " + Quote(zip) + " -C " + Quote(out));
        fs::remove_all(game / "songs/Cat/Bench Song");
        TimeCommand(undo);
        std::system("sync");
        const Timing i = Measure(qv5 + "install " + Quote(zip) + " --into " +
                                 Quote(game / "songs/Cat") + " >/dev/null");
        if (b.wall < 0 || i.wall < 0) {
            std::fprintf(stderr, "a run failed (bsdtar %.3f, install %.3f)\n", b.wall, i.wall);
            return 1;
        }
        std::printf("round %d: bsdtar %.3f s (cpu %.3f s), install %.3f s (cpu %.3f s)\n",
                    round + 1, b.wall, b.cpu, i.wall, i.cpu);
        best_bsdtar = {std::min(best_bsdtar.wall, b.wall), std::min(best_bsdtar.cpu, b.cpu)};
        best_install = {std::min(best_install.wall, i.wall), std::min(best_install.cpu, i.cpu)};
    }
    std::printf("archive: %.0f MB, bsdtar -xf: %.3f s, QV5 install: %.3f s\n",
                static_cast<double>(fs::file_size(zip)) / (1 << 20), best_bsdtar.wall,
                best_install.wall);
    std::printf("ratio install/bsdtar (processor time): %.2f\n",
                best_install.cpu / best_bsdtar.cpu);
    std::printf("ratio install/bsdtar: %.2f\n", best_install.wall / best_bsdtar.wall);
    if (!std::getenv("QV5_BENCH_KEEP")) fs::remove_all(work);
    return 0;
}
