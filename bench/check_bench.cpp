// The library check against the registration of the same tree, in one run:
//   1. `QV5 check` (every kind) vs `QV5 add-root` of a generated tree, at two
//      library sizes (warm cache; the best of three, two at the larger size,
//      measured alternately);
//   2. the check's peak memory at the larger size against the smaller.
// Each song folder holds its charts' sounds and pictures (hard links to one
// empty file), so the check finds nothing, as in a library in good order.
// Usage: check_bench [charts=5000] [large=50000]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

Run RunQv5(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(QV5_EXE));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    Run r;
    std::fflush(nullptr);
    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(126);
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

fs::path Generate(const fs::path& game, int count) {
    fs::remove_all(game);
    fs::create_directories(game / "QV5files/Config");
    fs::create_directories(game / "QV5files/Database/Score");
    const fs::path blank = game / "blank";
    std::ofstream(blank).put('\0');
    const fs::path tree = game / "songs";
    for (int i = 0; i < count; ++i) {
        const fs::path dir =
            tree / ("pack" + std::to_string(i / 500)) / ("song" + std::to_string(i / 10));
        if (i % 10 == 0) {
            fs::create_directories(dir);
            char name[32];
            for (int s = 1; s < 300; ++s) {
                std::snprintf(name, sizeof name, "sound_%03d.wav", s);
                fs::create_hard_link(blank, dir / name);
            }
            fs::create_hard_link(blank, dir / "stage.bmp");
            fs::create_hard_link(blank, dir / "bga.bmp");
        }
        std::ofstream(dir / ("chart" + std::to_string(i % 10) + ".bms"), std::ios::binary)
            << qv5::bench::MakeChart(i, 20000 + (i * 7919u) % 180000);
    }
    return tree;
}

struct Pair {
    Run add, check;
};

// Alternating rounds; the best of each kept, so both meet the same load.
Pair Measure(const fs::path& game, const fs::path& tree, int rounds) {
    Pair best;
    best.add.seconds = best.check.seconds = 1e9;
    for (int i = 0; i < rounds; ++i) {
        fs::remove(game / "QV5files/Database/song.db");
        fs::remove(game / "QV5files/Config/config.xml");
        const Run add = RunQv5({"--dir", game.string(), "add-root", tree.string()});
        if (add.code != 0) std::fprintf(stderr, "add-root failed (%d)\n", add.code);
        const Run check = RunQv5({"--dir", game.string(), "check"});
        if (check.code != 0) std::fprintf(stderr, "check found something (%d)\n", check.code);
        if (add.seconds < best.add.seconds) best.add = add;
        if (check.seconds < best.check.seconds) best.check = check;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int large = argc > 2 ? std::atoi(argv[2]) : 50000;
    const fs::path base = fs::temp_directory_path() / "qv5_check_bench";
    const fs::path tree = Generate(base / "game", count);
    RunQv5({"--dir", (base / "game").string(), "add-root", tree.string()});  // warm the cache
    const Pair small = Measure(base / "game", tree, 3);
    fs::remove_all(base / "game");
    std::printf("charts: %d\n", count);
    std::printf("add-root %.3f s, check %.3f s; check max RSS %ld KiB\n", small.add.seconds,
                small.check.seconds, small.check.max_rss_kb);
    std::printf("ratio check/add-root at %d: %.2f\n", count,
                small.check.seconds / small.add.seconds);
    if (large > 0) {
        const fs::path big_tree = Generate(base / "large", large);
        RunQv5({"--dir", (base / "large").string(), "add-root", big_tree.string()});
        const Pair big = Measure(base / "large", big_tree, 2);
        fs::remove_all(base / "large");
        std::printf("charts: %d\n", large);
        std::printf("add-root %.3f s, check %.3f s; check max RSS %ld KiB\n", big.add.seconds,
                    big.check.seconds, big.check.max_rss_kb);
        std::printf("ratio check/add-root at %d: %.2f\n", large,
                    big.check.seconds / big.add.seconds);
        std::printf("ratio check RSS %d/%d charts: %.2f\n", large, count,
                    double(big.check.max_rss_kb) / double(small.check.max_rss_kb));
    }
    return 0;
}
