// ReadChartHeader over generated charts, against md5sum over the same files.
// Usage: chart_header_bench [charts=2000]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chart_gen.h"
#include "library/chart_header.h"
#include "platform/paths.h"

using namespace qv5;

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "qv5_header_bench";
    fs::remove_all(root);
    fs::create_directories(root);
    std::vector<std::string> files;
    size_t total = 0;
    for (int i = 0; i < count; ++i) {
        const fs::path dir = root / ("song" + std::to_string(i / 10));
        fs::create_directories(dir);
        const fs::path file = dir / ("chart" + std::to_string(i) + ".bms");
        const std::string body = bench::MakeChart(i, 20000 + (i * 7919u) % 180000);
        std::ofstream(file, std::ios::binary) << body;
        total += body.size();
        files.push_back(file.string());
    }
    if (!SetProgramDirectory(root.string())) return 1;
    const std::string list = (root / "files.txt").string();
    {
        std::ofstream out(list);
        for (const auto& f : files) out << f << '\n';
    }
    const std::string md5 = "xargs -a '" + list + "' -d '\\n' md5sum > /dev/null";
    bench::TimeCommand(md5);  // warm the cache

    double best_md5 = 1e9, best_read = 1e9;
    long notes = 0;
    for (int round = 0; round < 3; ++round) {
        best_md5 = std::min(best_md5, bench::TimeCommand(md5));
        const double start = bench::Now();
        for (const auto& f : files) {
            ChartRecord r;
            ReadChartHeader(r, *FromHostPath(f));
            notes += r.note_count;
        }
        best_read = std::min(best_read, bench::Now() - start);
    }
    fs::remove_all(root);
    std::printf("charts: %d, bytes: %zu, notes read: %ld\n", count, total, notes / 3);
    std::printf("md5sum: %.3f s, ReadChartHeader: %.3f s\n", best_md5, best_read);
    std::printf("ratio ReadChartHeader/md5sum: %.2f\n", best_read / best_md5);
    return 0;
}
