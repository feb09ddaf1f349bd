// The library check against the registration of the same tree, in one run:
//   1. `QV5 check` (every kind) vs `QV5 add-root` of a generated tree, at two
//      library sizes (warm cache; three rounds, each measuring both, one
//      after the other, so both meet the same load);
//   2. the check's peak memory at the larger size against the smaller, per round.
// Each song folder holds its charts' sounds and pictures (hard links to one
// small file per pack), so the check finds nothing, as in a library in good order.
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
#include "program_run.h"

namespace fs = std::filesystem;
using qv5::bench::Now;

namespace {

using Run = qv5::bench::ProgramRun;

Run RunQv5(const std::vector<std::string>& args) {
    return qv5::bench::RunProgram(QV5_EXE, args, true);
}

fs::path Generate(const fs::path& game, int count) {
    fs::remove_all(game);
    fs::create_directories(game / "QV5files/Config");
    fs::create_directories(game / "QV5files/Database/Score");
    const fs::path tree = game / "songs";
    for (int i = 0; i < count; ++i) {
        const fs::path dir =
            tree / ("pack" + std::to_string(i / 500)) / ("song" + std::to_string(i / 10));
        // One file per pack: a file system allows some ten thousand links to one.
        const fs::path blank = game / ("blank" + std::to_string(i / 500));
        if (i % 500 == 0) std::ofstream(blank).put('\0');
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
            << qv5::bench::MakeChart(i, 10000 + (i * 7919u) % 60000);
    }
    return tree;
}

struct Pair {
    Run add, check;
};

std::vector<Pair> Measure(const fs::path& game, const fs::path& tree, int rounds) {
    std::vector<Pair> out;
    for (int i = 0; i < rounds; ++i) {
        fs::remove(game / "QV5files/Database/song.db");
        fs::remove(game / "QV5files/Config/config.xml");
        Pair p;
        p.add = RunQv5({"--dir", game.string(), "add-root", tree.string()});
        if (p.add.code != 0) std::fprintf(stderr, "add-root failed (%d)\n", p.add.code);
        p.check = RunQv5({"--dir", game.string(), "check"});
        if (p.check.code != 0) std::fprintf(stderr, "check found something (%d)\n", p.check.code);
        out.push_back(p);
    }
    return out;
}

void Print(int charts, const std::vector<Pair>& pairs) {
    for (size_t i = 0; i < pairs.size(); ++i)
        std::printf("%d charts, round %zu: add-root %.3f s, check %.3f s, ratio check/add-root "
                    "%.2f; check max RSS %ld KiB\n",
                    charts, i + 1, pairs[i].add.seconds, pairs[i].check.seconds,
                    pairs[i].check.seconds / pairs[i].add.seconds, pairs[i].check.max_rss_kb);
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int large = argc > 2 ? std::atoi(argv[2]) : 50000;
    const int rounds = 3;
    const fs::path base = fs::temp_directory_path() / "qv5_check_bench";
    const fs::path tree = Generate(base / "game", count);
    RunQv5({"--dir", (base / "game").string(), "add-root", tree.string()});  // warm the cache
    const std::vector<Pair> small = Measure(base / "game", tree, rounds);
    const bool keep = std::getenv("QV5_BENCH_KEEP") != nullptr;  // for profiling
    if (!keep) fs::remove_all(base / "game");
    Print(count, small);
    if (large <= 0) return 0;
    const fs::path big_tree = Generate(base / "large", large);
    RunQv5({"--dir", (base / "large").string(), "add-root", big_tree.string()});
    const std::vector<Pair> big = Measure(base / "large", big_tree, rounds);
    if (!keep) fs::remove_all(base / "large");
    Print(large, big);
    for (int i = 0; i < rounds; ++i)
        std::printf("round %d: ratio check/add-root %d: %.2f, %d: %.2f; ratio check RSS %d/%d: "
                    "%.2f\n",
                    i + 1, count, small[size_t(i)].check.seconds / small[size_t(i)].add.seconds,
                    large, big[size_t(i)].check.seconds / big[size_t(i)].add.seconds, large, count,
                    double(big[size_t(i)].check.max_rss_kb) /
                        double(small[size_t(i)].check.max_rss_kb));
    return 0;
}
