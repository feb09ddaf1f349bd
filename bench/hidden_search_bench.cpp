// The hidden chart search over a folder of audio-sized files and a few hidden
// charts, against the header reader's full read of every candidate.
// Usage: hidden_search_bench [files=40] [megabytes each=8]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "browser/hidden_search.h"
#include "chart_gen.h"
#include "library/chart_header.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"

using namespace qv5;

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 40;
    const size_t megabytes = argc > 2 ? static_cast<size_t>(std::atoi(argv[2])) : 8;
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "qv5_hidden_bench";
    fs::remove_all(root);
    fs::create_directories(root / "song");
    std::mt19937 gen(1);
    size_t total = 0;
    for (int i = 0; i < count; ++i) {
        // Compressed audio looks like random bytes.
        std::string bytes(megabytes << 20, '\0');
        for (char& c : bytes) c = static_cast<char>(gen() & 0xFF);
        std::ofstream(root / "song" / ("sound" + std::to_string(i) + ".ogg"), std::ios::binary)
            << bytes;
        total += bytes.size();
    }
    for (int i = 0; i < 4; ++i) {
        const std::string chart = bench::MakeChart(static_cast<std::uint32_t>(i), 200000);
        std::ofstream(root / "song" / ("hidden" + std::to_string(i) + ".bm_"), std::ios::binary)
            << chart;
        total += chart.size();
    }
    if (!SetProgramDirectory(root.string())) return 1;
    std::vector<DirEntry> entries;
    ListFolder("song\\", entries);

    double best_full = 1e9, best_search = 1e9;
    size_t found_full = 0, found_search = 0;
    for (int round = 0; round < 3; ++round) {
        double start = bench::Now();
        found_full = 0;
        for (const DirEntry& e : entries) {
            ChartRecord r;
            ReadChartHeader(r, "song\\" + e.name);
            found_full += r.note_count > 0;
        }
        best_full = std::min(best_full, bench::Now() - start);
        start = bench::Now();
        NullProgress progress;
        found_search = FindHiddenCharts(WinPath("song"), progress).names.size();
        best_search = std::min(best_search, bench::Now() - start);
    }
    fs::remove_all(root);
    std::printf("files: %zu, bytes: %zu, hidden charts: %zu (full read %zu)\n", entries.size(),
                total, found_search, found_full);
    std::printf("full read: %.3f s, hidden search: %.3f s\n", best_full, best_search);
    std::printf("ratio full read/hidden search: %.1f\n", best_full / best_search);
    return found_full == found_search ? 0 : 1;
}
