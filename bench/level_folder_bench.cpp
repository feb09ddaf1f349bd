// The level folders of a table against a plain registration, the two
// alternating round by round so that both meet the same load:
//   (a) writing the level folder of a table of ENTRIES entries (25 levels,
//       every other entry held by the library) and registering it in
//       song.db as the table commands do: the refresh of the table's folder
//       inside the registered song folder tables\;
//   (b) registering a song folder of 50 plain folders with one chart each.
// Usage: level_folder_bench [entries=5000] [rounds=3]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chart_gen.h"
#include "library/library_hashes.h"
#include "library/library_report.h"
#include "library/song_library.h"
#include "platform/paths.h"
#include "platform/win_path.h"
#include "program_run.h"
#include "tables/level_folders.h"
#include "tables/table.h"

using namespace qv5;
namespace fs = std::filesystem;
using bench::Now;

namespace {

std::string Hash(long n) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%016lx%016lx", n * 2654435761L, n + 1);
    return buf;
}

}  // namespace

int main(int argc, char** argv) {
    const int entries = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    const fs::path game = fs::temp_directory_path() / "qv5_level_folder_bench";
    fs::remove_all(game);
    fs::create_directories(game / "QV5files/Config");
    fs::create_directories(game / "QV5files/Database/Score");
    fs::create_directories(game / "tables");
    if (!SetProgramDirectory(game.string())) return 1;

    TableHeader header;
    header.name = "Bench table";
    header.symbol = "\xE2\x98\x85";  // ★
    for (int i = 0; i < 25; ++i) header.level_order.push_back(std::to_string(i));
    TableData data;
    ChartHashes charts;
    for (int i = 0; i < entries; ++i) {
        TableEntry e;
        e.level = std::to_string(i % 25);
        e.md5 = Hash(i);
        e.md5_key = *ParseMd5(e.md5);
        e.key = EntryKey::Md5;
        if (i % 2 == 0) charts.Add(e.md5, "songs\\pack\\song" + std::to_string(i) + ".bms");
        data.entries.push_back(std::move(e));
    }

    SongLibrary library;
    LibraryReport report;
    if (!library.Open("") || !library.AddSongFolder(WinPath(kLevelFoldersRoot), nullptr, report))
        return 1;
    std::vector<double> ratios;
    double level_best = 1e9, plain_best = 1e9;
    long files = 0, plain_charts = 0;
    double write_share = 1;
    for (int r = 0; r < rounds; ++r) {
        // (b) first in odd rounds, so that neither always meets the warmer
        // caches.
        double level = 0, plain = 0;
        for (int side = 0; side < 2; ++side) {
            if ((side == 0) == (r % 2 == 0)) {
                const double start = Now();
                const WinPath folder =
                    WinPath(kLevelFoldersRoot).Join("T" + std::to_string(r)).AsFolder();
                const auto made = MakeLevelFolderFiles(header, data, charts, "2026-12-10");
                std::string error;
                LibraryReport written;
                const bool wrote = WriteLevelFolder(folder, made, error);
                const double written_at = Now();
                if (!wrote || !library.RefreshSongFolder(folder, nullptr, written)) {
                    std::fprintf(stderr, "round %d: the level folder failed: %s%s\n", r,
                                 error.c_str(), written.error.c_str());
                    return 1;
                }
                level = Now() - start;
                write_share = std::min(write_share, (written_at - start) / level);
                files = long(made.size());
            } else {
                const std::string root = "plain" + std::to_string(r);
                for (int f = 0; f < 50; ++f) {
                    const fs::path dir = game / root / ("folder" + std::to_string(f));
                    fs::create_directories(dir);
                    std::ofstream(dir / "chart.bms", std::ios::binary)
                        << "#TITLE plain " << r << " " << f << "\r\n#BPM 150\r\n#00111:0101\r\n";
                }
                const double start = Now();
                LibraryReport plain_report;
                if (!library.AddSongFolder(WinPath(root + "\\"), nullptr, plain_report)) {
                    std::fprintf(stderr, "round %d: the plain registration failed: %s\n", r,
                                 plain_report.error.c_str());
                    return 1;
                }
                plain = Now() - start;
                plain_charts = plain_report.charts;
            }
        }
        ratios.push_back(level / plain);
        level_best = std::min(level_best, level);
        plain_best = std::min(plain_best, plain);
    }
    library.Close();
    fs::remove_all(game);
    std::printf(
        "level folder of %d entries (%ld files) written and registered: best %.4f s; "
        "50 plain folders (%ld charts) registered: best %.4f s\n",
        entries, files, level_best, plain_charts, plain_best);
    std::printf("of it the files' writing (made, written, synced): at least %.0f%%\n",
                100 * write_share);
    std::printf("ratio level folders/plain folders: median %.2f (rounds:", bench::Median(ratios));
    for (double v : ratios) std::printf(" %.2f", v);
    std::printf(")\n");
    return 0;
}
