// The placement of additional charts against the baselines it must keep up
// with, each pair alternating round by round so that both meet the same load:
//   (a) placing one additional chart, the index built, against reading that
//       chart's header (ReadChartHeader);
//   (b) building the index of FOLDERS song folders of SOUNDS (empty) files
//       and a chart each, against `find -printf '%s %p\n'` over them;
//   (c) placing the 100 charts of one archive (ten songs' additional charts,
//       ten each, in memory as an extraction holds them) against placing
//       one chart file (the mean over each song's first chart).
// It then prints the weights and leads the rule's "certain" is drawn from.
// The tree is kept for the next run when the fourth argument is "keep".
// Usage: chart_placement_bench [folders=5000] [sounds=300] [runs=3] [keep]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chart_gen.h"
#include "library/chart_header.h"
#include "library/chart_placement.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/win_path.h"

using namespace qv5;
namespace fs = std::filesystem;
using bench::Now;

namespace {

std::string Id(size_t i) {
    static const char* kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return {kDigits[(i + 1) / 36 % 36], kDigits[(i + 1) % 36]};
}

// The sounds of song `song`: ten that every folder holds, two shared with 1%
// and 10% of the folders, the rest its own.
std::vector<std::string> SoundsOf(int song, int sounds) {
    std::vector<std::string> names;
    for (int i = 1; i <= 9; ++i) names.push_back(std::to_string(i) + ".wav");
    names.push_back("bgm.wav");
    names.push_back("kick_" + std::to_string(song % 100) + ".wav");
    names.push_back("snare_" + std::to_string(song % 10) + ".wav");
    for (int i = 0; static_cast<int>(names.size()) < sounds; ++i)
        names.push_back("s" + std::to_string(song) + "_" + std::to_string(i) + ".wav");
    return names;
}

// A chart of `sounds` over 150 measures of eight lanes, as a real chart of
// that many sounds is laid out; `variant` moves its notes.
std::string ChartOf(const std::string& title, const std::vector<std::string>& sounds, int variant) {
    std::string text = "#PLAYER 1\r\n#GENRE bench\r\n#TITLE " + title +
                       "\r\n#ARTIST bench\r\n#BPM 150\r\n#PLAYLEVEL 9\r\n#RANK 2\r\n";
    for (size_t i = 0; i < sounds.size(); ++i) text += "#WAV" + Id(i) + " " + sounds[i] + "\r\n";
    size_t next = size_t(variant);
    static const char* kLanes[] = {"01", "11", "12", "13", "14", "15", "16", "18"};
    for (int measure = 1; measure <= 150; ++measure)
        for (const char* lane : kLanes) {
            char head[16];
            std::snprintf(head, sizeof head, "#%03d%s:", measure, lane);
            text += head;
            for (int k = 0; k < 8; ++k)
                text += (k + measure + variant) % 3 == 0 ? Id(next++ % sounds.size()) : "00";
            text += "\r\n";
        }
    return text;
}

void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const int folders = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int sounds = argc > 2 ? std::atoi(argv[2]) : 300;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
    const bool keep = argc > 4 && std::string(argv[4]) == "keep";
    const fs::path game = fs::temp_directory_path() / "qv5_chart_placement_bench";
    const std::string marker =
        "tree " + std::to_string(folders) + " " + std::to_string(sounds) + "\n";
    std::string had;
    {
        std::ifstream in(game / "made.txt");
        std::getline(in, had);
    }
    const double made_start = Now();
    if (had + "\n" != marker) {
        fs::remove_all(game);
        for (int f = 0; f < folders; ++f) {
            const fs::path dir =
                game / "Songs" / ("Pack" + std::to_string(f / 100)) / ("song" + std::to_string(f));
            fs::create_directories(dir);
            const std::vector<std::string> names = SoundsOf(f, sounds);
            for (const std::string& n : names) std::ofstream(dir / n);
            Write(dir / "chart.bme", ChartOf("Song " + std::to_string(f) + " [HYPER]", names, 0));
        }
        std::ofstream(game / "made.txt") << marker;
    }
    fs::create_directories(game / "extra");
    // The additional charts: one for each of 50 songs, and an archive's 100
    // (ten songs, ten charts each).
    std::vector<std::string> singles;
    std::vector<size_t> archive_ends;  // each chart's end in the archive's bytes
    std::string archive_bytes;
    for (int i = 0; i < 50; ++i) {
        const int song = (i * 97) % folders;
        const fs::path file = game / "extra" / ("single" + std::to_string(i) + ".bme");
        Write(file,
              ChartOf("Song " + std::to_string(song) + " [ANOTHER]", SoundsOf(song, sounds), 1));
        singles.push_back("extra\\" + file.filename().string());
    }
    for (int i = 0; i < 100; ++i) {
        const int song = (i / 10 * 331) % folders;
        archive_bytes +=
            ChartOf("Song " + std::to_string(song) + " [X" + std::to_string(i % 10) + "]",
                    SoundsOf(song, sounds), 1 + i % 10);
        archive_ends.push_back(archive_bytes.size());
    }
    Write(game / "extra" / "archive.bin", archive_bytes);
    // The first chart of each of the archive's songs, as a file of its own.
    for (int k = 0; k < 10; ++k) {
        const size_t from = k == 0 ? 0 : archive_ends[size_t(k * 10 - 1)];
        Write(game / "extra" / ("one" + std::to_string(k) + ".bme"),
              archive_bytes.substr(from, archive_ends[size_t(k * 10)] - from));
    }
    if (!SetProgramDirectory(game.string())) return 1;
    std::printf("tree: %d folders of %d sounds and a chart (%.1f s to write)\n", folders, sounds,
                Now() - made_start);
    const std::string find =
        "find '" + (game / "Songs").string() + "' -printf '%s %p\\n' > /dev/null";
    bench::TimeCommand(find);  // the tree into the cache

    for (int run = 0; run < runs; ++run) {
        // (b) the index against find, alternating.
        double best_find = 1e9, best_build = 1e9;
        SongFolderIndex index;
        for (int round = 0; round < 3; ++round) {
            best_find = std::min(best_find, bench::TimeCommand(find));
            const double start = Now();
            SongFolderIndex built;
            built.Build({"Songs"}, nullptr);
            best_build = std::min(best_build, Now() - start);
            if (round == 2) index = std::move(built);
        }
        // (a) one chart placed against its header read.
        double best_header = 1e9, best_place = 1e9;
        long certain = 0;
        for (int round = 0; round < 5; ++round) {
            double start = Now();
            for (const std::string& chart : singles) {
                ChartRecord record;
                ReadChartHeader(record, chart);
            }
            best_header = std::min(best_header, (Now() - start) / double(singles.size()));
            start = Now();
            certain = 0;
            for (const std::string& chart : singles) {
                const auto p = PlaceChart(index, WinPath(chart));
                certain += p && p->certain;
            }
            best_place = std::min(best_place, (Now() - start) / double(singles.size()));
        }
        // (c) an archive's 100 charts, as its extraction holds them in
        // memory, against one chart file; the archive's read is told apart.
        double best_one = 1e9, best_hundred = 1e9, best_read = 1e9;
        for (int round = 0; round < 5; ++round) {
            double start = Now();
            for (int k = 0; k < 10; ++k)
                PlaceChart(index, WinPath("extra\\one" + std::to_string(k) + ".bme"));
            best_one = std::min(best_one, (Now() - start) / 10);
            start = Now();
            std::string bytes;
            ReadWholeFile("extra\\archive.bin", bytes);
            best_read = std::min(best_read, Now() - start);
            std::vector<std::string_view> charts;
            for (size_t k = 0, from = 0; k < archive_ends.size(); from = archive_ends[k++])
                charts.push_back(std::string_view(bytes).substr(from, archive_ends[k] - from));
            start = Now();
            const auto placed = PlaceCharts(index, charts);
            best_hundred = std::min(best_hundred, Now() - start);
            if (std::count_if(placed.begin(), placed.end(),
                              [](const auto& p) { return p && p->certain; }) != 100)
                std::printf("archive: not every chart placed\n");
        }
        std::printf(
            "run %d: index of %zu folders %.3f s, find %.3f s; one chart placed %.1f us"
            " (%ld of %zu certain), header %.1f us; archive of 100 %.2f ms (its %.1f MB read"
            " %.2f ms more), one %.1f us\n",
            run + 1, index.FolderCount(), best_build, best_find, best_place * 1e6, certain,
            singles.size(), best_header * 1e6, best_hundred * 1e3,
            double(archive_bytes.size()) / 1e6, best_read * 1e3, best_one * 1e6);
        std::printf("ratio place/header: %.2f (at most 2)\n", best_place / best_header);
        std::printf("ratio index/find: %.2f (at most 1.5)\n", best_build / best_find);
        std::printf("ratio archive of 100/one: %.2f (at most 20)\n", best_hundred / best_one);
        if (run + 1 < runs) continue;

        // The figures of the rule: weights and leads of right placements, of
        // charts of common names, and of charts of songs the library lacks.
        double own_weight = 1e9, own_lead = 1e9;
        for (const std::string& chart : singles) {
            const auto p = PlaceChart(index, WinPath(chart));
            if (!p) continue;
            own_weight = std::min(own_weight, p->weight);
            own_lead = std::min(own_lead, p->lead);
        }
        std::vector<std::string> common;
        for (int i = 1; i <= 9; ++i) common.push_back(std::to_string(i) + ".wav");
        common.push_back("bgm.wav");
        const auto c = PlaceChartBytes(index, ChartOf("common", common, 0));
        // A song the library lacks: its own names, the common ones and the
        // shared kick and snare of an existing song.
        double lacking_weight = 0;
        long lacking_fit = 0;
        for (int i = 0; i < 20; ++i) {
            std::vector<std::string> names = SoundsOf(folders + i, 40);
            names[10] = "kick_" + std::to_string(i) + ".wav";
            names[11] = "snare_" + std::to_string(i % 10) + ".wav";
            const auto p = PlaceChartBytes(index, ChartOf("lacking", names, 0));
            if (p) {
                ++lacking_fit;
                lacking_weight = std::max(lacking_weight, p->weight);
            }
        }
        // A song the library lacks that shares all but three of its names
        // with the 50 songs of one kick: 12 of 15 found there, which fits.
        double shared_weight = 0, shared_lead = 0;
        long shared_certain = 0, shared_fit = 0;
        for (int i = 0; i < 20; ++i) {
            std::vector<std::string> names = SoundsOf(i, 12);
            for (int k = 0; k < 3; ++k)
                names.push_back("own" + std::to_string(i) + "_" + std::to_string(k) + ".wav");
            const auto p = PlaceChartBytes(index, ChartOf("shared", names, 0));
            if (!p) continue;
            ++shared_fit;
            shared_weight = std::max(shared_weight, p->weight);
            shared_lead = std::max(shared_lead, p->lead);
            shared_certain += p->certain;
        }
        std::printf(
            "figures: own chart weight >= %.1f, lead >= %.2f; common names only: %s,"
            " weight %.4f, certain %s\n",
            own_weight, own_lead, c ? "a folder fits" : "no fit", c ? c->weight : 0.0,
            c && c->certain ? "yes" : "no");
        std::printf(
            "figures: lacking songs (20): %ld fit, weight <= %.2f; 12 of 15 names"
            " shared with 50 folders (20): %ld fit, weight <= %.2f, lead <= %.2f,"
            " %ld certain\n",
            lacking_fit, lacking_weight, shared_fit, shared_weight, shared_lead, shared_certain);
    }
    if (!keep) fs::remove_all(game);
    return 0;
}
