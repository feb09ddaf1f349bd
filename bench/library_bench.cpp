// The song library against the floor of its work, in one run on the same files:
//   1. add-root of a generated tree vs md5sum over its charts,
//   2. refresh with nothing changed vs a stat walk (find -printf),
//   3. refresh after touching 1% of the charts,
//   4. peak memory of add-root for two library sizes.
// Usage: library_bench [charts=5000] [large=20000]   (large=0 skips step 4's second size)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chart_gen.h"

namespace fs = std::filesystem;
using qv5::bench::Now;

namespace {

struct Run {
    double seconds = -1;
    long max_rss_kb = 0;
    int code = -1;
};

// Runs the program as a child and reads its peak memory from the kernel.
Run RunQv5(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(QV5_EXE));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    Run r;
    const double start = Now();
    pid_t pid = fork();
    if (pid == 0) {
        freopen("/dev/null", "w", stdout);
        execv(QV5_EXE, argv.data());
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

struct Library {
    fs::path game, tree;
    std::vector<std::string> charts;
};

Library Generate(const fs::path& game, int count) {
    Library lib{game, game / "songs", {}};
    fs::remove_all(game);
    fs::create_directories(game / "QV5files/Config");
    fs::create_directories(game / "QV5files/Database/Score");
    const int per_folder = 10;
    for (int i = 0; i < count; ++i) {
        const fs::path dir = lib.tree / ("pack" + std::to_string(i / 500)) /
                             ("song" + std::to_string(i / per_folder));
        if (i % per_folder == 0) {
            fs::create_directories(dir);
            std::ofstream(dir / "folderinfo.txt", std::ios::binary)
                << "#TITLE Song " << i / per_folder << "\r\n#GENRE bench\r\n";
        }
        const fs::path file = dir / ("chart" + std::to_string(i % per_folder) + ".bms");
        std::ofstream(file, std::ios::binary)
            << qv5::bench::MakeChart(i, 20000 + (i * 7919u) % 180000);
        lib.charts.push_back(file.string());
    }
    std::ofstream list(game / "charts.txt");
    for (const auto& c : lib.charts) list << c << '\n';
    return lib;
}

double Best(int rounds, const std::string& command) {
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) best = std::min(best, qv5::bench::TimeCommand(command));
    return best;
}

Run AddRoot(const Library& lib) {
    fs::remove(lib.game / "QV5files/Database/song.db");
    fs::remove(lib.game / "QV5files/Config/config.xml");
    return RunQv5({"--dir", lib.game.string(), "add-root", lib.tree.string()});
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int large = argc > 2 ? std::atoi(argv[2]) : 20000;
    const fs::path base = fs::temp_directory_path() / "qv5_library_bench";
    Library lib = Generate(base / "game", count);
    const std::string md5 =
        "xargs -a '" + (lib.game / "charts.txt").string() + "' -d '\\n' md5sum > /dev/null";
    const std::string walk = "find '" + lib.tree.string() + "' -printf '%T@ %s %p\\n' > /dev/null";
    qv5::bench::TimeCommand(md5);  // warm the cache

    const double md5_time = Best(3, md5);
    Run add = AddRoot(lib);
    for (int i = 0; i < 2; ++i) {
        Run again = AddRoot(lib);
        if (again.seconds < add.seconds) add = again;
    }
    if (add.code != 0) std::fprintf(stderr, "add-root failed (%d)\n", add.code);

    const double walk_time = Best(3, walk);
    double refresh_time = 1e9;
    for (int i = 0; i < 3; ++i) {
        Run r = RunQv5({"--dir", lib.game.string(), "refresh", lib.tree.string()});
        refresh_time = std::min(refresh_time, r.seconds);
    }

    // Touch 1% of the charts (a later write time than their registration).
    const time_t later = time(nullptr) + 3600;
    int touched = 0;
    for (size_t i = 0; i < lib.charts.size(); i += 100, ++touched) {
        struct utimbuf t {
            later, later
        };
        utime(lib.charts[i].c_str(), &t);
    }
    Run touched_refresh = RunQv5({"--dir", lib.game.string(), "refresh", lib.tree.string()});

    long large_rss = 0;
    if (large > 0) {
        Library big = Generate(base / "large", large);
        large_rss = AddRoot(big).max_rss_kb;
    }
    fs::remove_all(base);

    std::printf("charts: %d, folders: %d\n", count, count / 10);
    std::printf("add-root %.3f s, md5sum %.3f s\n", add.seconds, md5_time);
    std::printf("refresh (unchanged) %.3f s, find -printf %.3f s\n", refresh_time, walk_time);
    std::printf("refresh after touching %d charts: %.3f s\n", touched, touched_refresh.seconds);
    std::printf("ratio add-root/md5sum: %.2f\n", add.seconds / md5_time);
    std::printf("ratio refresh/find: %.2f\n", refresh_time / walk_time);
    std::printf("ratio touched-refresh/unchanged-refresh: %.2f\n",
                touched_refresh.seconds / refresh_time);
    std::printf("max RSS add-root: %ld KiB at %d charts", add.max_rss_kb, count);
    if (large > 0) std::printf(", %ld KiB at %d charts", large_rss, large);
    std::printf("\n");
    return 0;
}
