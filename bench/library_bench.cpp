// The song library against the floor of its work, in one run on the same files:
//   1. add-root of a generated tree vs md5sum over its charts,
//   2. refresh with nothing changed vs a stat walk (find -printf),
//   3. refresh after touching 1% of the charts vs the unchanged refresh,
//   4. peak memory and time per chart of add-root at two library sizes
//      (against md5sum's time per chart at the larger size),
//   5. how often a progress window hears of a scan (in this process, offscreen).
// Each timing is the best of three (two at the larger size; twenty and ten for
// the refreshes), measured alternately with its baseline. Usage:
//   library_bench [charts=5000] [large=50000]   (large=0 skips step 4's second size)
// QV5_BENCH_KEEP=1 leaves the generated trees in place for profiling.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chart_gen.h"
#include "library/refresh.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "program_run.h"
#include "window/common/progress_window.h"

// The song library the benchmark works on.
static qv5::SongLibrary& BenchLibrary() {
    static qv5::SongLibrary library;
    return library;
}

namespace fs = std::filesystem;
using qv5::bench::Now;

namespace {

using Run = qv5::bench::ProgramRun;

Run RunQv5(const std::vector<std::string>& args, bool quiet = false) {
    return qv5::bench::RunProgram(QV5_EXE, args, quiet);
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

Run AddRoot(const Library& lib) {
    fs::remove(lib.game / "QV5files/Database/song.db");
    fs::remove(lib.game / "QV5files/Config/config.xml");
    return RunQv5({"--dir", lib.game.string(), "add-root", lib.tree.string()});
}

void Touch(const std::vector<std::string>& charts, time_t when) {
    for (size_t i = 0; i < charts.size(); i += 100) {
        struct utimbuf t {
            when, when
        };
        utime(charts[i].c_str(), &t);
    }
}

// Forwards to a progress window and keeps the times it was called at.
class TimedProgress final : public qv5::Progress {
  public:
    explicit TimedProgress(qv5::Progress& window) : window_(window) {}
    void Update(long done, long total, const std::string& current) override {
        times_.push_back(Now());
        window_.Update(done, total, current);
    }
    void SetStatus(const std::string& text) override { window_.SetStatus(text); }
    // Redraws a second when the window redraws at most every `redraw` s,
    // and the longest time without any report.
    void Rates(double start, double end, double redraw, double& per_second, double& gap) const {
        double last_draw = -1e9, previous = start;
        long draws = 0;
        gap = 0;
        for (double t : times_) {
            gap = std::max(gap, t - previous);
            previous = t;
            if (t - last_draw >= redraw) {
                ++draws;
                last_draw = t;
            }
        }
        gap = std::max(gap, end - previous);
        per_second = draws / std::max(end - start, 1e-9);
    }

  private:
    qv5::Progress& window_;
    std::vector<double> times_;
};

// Registers the tree in this process with an offscreen progress window,
// then refreshes it unchanged (best of three): the library's own work
// without the start of a process.
void InProcess(const Library& lib, double& per_second, double& gap, double& seconds,
               double& refresh) {
    fs::remove(lib.game / "QV5files/Database/song.db");
    const std::string old_dir = fs::current_path().string();
    qv5::SetProgramDirectory(lib.game.string());
    BenchLibrary().Open("");
    {
        qv5::ProgressWindow window(nullptr, "bench");
        TimedProgress progress(window);
        const double start = Now();
        qv5::LibraryReport report;
        qv5::RegisterRootFolder(BenchLibrary().connection(),
                                qv5::WinPath(*qv5::FromHostPath(lib.tree.string())), &progress,
                                report);
        const double end = Now();
        seconds = end - start;
        progress.Rates(start, end, 0.1, per_second, gap);
    }
    refresh = 1e9;
    for (int i = 0; i < 3; ++i) {
        const double start = Now();
        qv5::LibraryReport report;
        qv5::RefreshFolder(BenchLibrary().connection(),
                           qv5::WinPath(*qv5::FromHostPath(lib.tree.string())), nullptr, report);
        refresh = std::min(refresh, Now() - start);
    }
    BenchLibrary().Close();
    fs::current_path(old_dir);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int large = argc > 2 ? std::atoi(argv[2]) : 50000;
    const bool keep = std::getenv("QV5_BENCH_KEEP") != nullptr;
    const fs::path base = fs::temp_directory_path() / "qv5_library_bench";
    Library lib = Generate(base / "game", count);
    const std::string md5 =
        "xargs -a '" + (lib.game / "charts.txt").string() + "' -d '\\n' md5sum > /dev/null";
    const std::string walk = "find '" + lib.tree.string() + "' -printf '%T@ %s %p\\n' > /dev/null";
    qv5::bench::TimeCommand(md5);  // warm the cache

    // Each pair is measured side by side, three times, the best of each
    // kept: both sides then meet the same load from other programs.
    double md5_time = 1e9;
    Run add;
    add.seconds = 1e9;
    for (int i = 0; i < 3; ++i) {
        md5_time = std::min(md5_time, qv5::bench::TimeCommand(md5));
        const Run r = AddRoot(lib);
        if (r.code != 0) std::fprintf(stderr, "add-root failed (%d)\n", r.code);
        if (r.seconds < add.seconds) add = r;
    }

    // A refresh takes some milliseconds: more rounds, so one stall of the
    // machine does not decide the figure.
    double walk_time = 1e9, refresh_time = 1e9;
    for (int i = 0; i < 10; ++i) {
        walk_time = std::min(walk_time, qv5::bench::TimeCommand(walk));
        Run r = RunQv5({"--dir", lib.game.string(), "refresh", lib.tree.string()});
        if (r.code != 0) std::fprintf(stderr, "refresh failed (%d)\n", r.code);
        refresh_time = std::min(refresh_time, r.seconds);
    }

    // Touch 1% of the charts (a later write time than their registration),
    // each round later than the refresh before it.
    double touched_time = 1e9;
    for (int i = 0; i < 10; ++i) {
        // An unchanged refresh first: the charts the last round touched get
        // back a time before their reading (a later one would still be newer
        // than the row, and they would be read again).
        Touch(lib.charts, time(nullptr) - 86400);
        const Run unchanged = RunQv5({"--dir", lib.game.string(), "refresh", lib.tree.string()});
        refresh_time = std::min(refresh_time, unchanged.seconds);
        Touch(lib.charts, time(nullptr) + 3600 * (i + 1));
        Run r = RunQv5({"--dir", lib.game.string(), "refresh", lib.tree.string()});
        if (r.code != 0 || unchanged.code != 0) std::fprintf(stderr, "refresh failed\n");
        touched_time = std::min(touched_time, r.seconds);
    }

    // The floor of a library command: starting the program and its libraries
    // (a refresh of a folder that is not there fails at once).
    double start_up = 1e9;
    for (int i = 0; i < 10; ++i)
        start_up = std::min(
            start_up,
            RunQv5({"--dir", lib.game.string(), "refresh", (lib.game / "missing").string()}, true)
                .seconds);

    Touch(lib.charts, time(nullptr) - 86400);  // unchanged again for what follows
    double rate = 0, gap = 0, scan_seconds = 0, refresh_in_process = 0;
    InProcess(lib, rate, gap, scan_seconds, refresh_in_process);

    std::printf("charts: %d, folders: %d\n", count, count / 10);
    std::printf("add-root %.3f s, md5sum %.3f s\n", add.seconds, md5_time);
    std::printf("refresh (unchanged) %.3f s, find -printf %.3f s\n", refresh_time, walk_time);
    std::printf("refresh after touching %zu charts: %.3f s\n", (lib.charts.size() + 99) / 100,
                touched_time);
    std::printf("ratio add-root/md5sum: %.2f\n", add.seconds / md5_time);
    std::printf("ratio refresh/find: %.2f\n", refresh_time / walk_time);
    std::printf("ratio touched-refresh/unchanged-refresh: %.2f\n", touched_time / refresh_time);
    std::printf("library command start-up %.3f s; ratio refresh less start-up/find: %.2f\n",
                start_up, (refresh_time - start_up) / walk_time);
    std::printf(
        "refresh (unchanged, in this process) %.3f s; ratio in-process refresh/find: %.2f\n",
        refresh_in_process, refresh_in_process / walk_time);
    std::printf("progress window during a %.2f s scan: %.1f redraws/s, longest silence %.0f ms\n",
                scan_seconds, rate, gap * 1000);
    std::printf("add-root at %d charts: max RSS %ld KiB, %.1f us per chart\n", count,
                add.max_rss_kb, add.seconds / count * 1e6);
    if (!keep) fs::remove_all(base / "game");
    if (large > 0) {
        Library big = Generate(base / "large", large);
        const std::string big_md5 =
            "xargs -a '" + (big.game / "charts.txt").string() + "' -d '\\n' md5sum > /dev/null";
        double big_md5_time = 1e9;
        Run big_add;
        big_add.seconds = 1e9;
        for (int i = 0; i < 2; ++i) {
            big_md5_time = std::min(big_md5_time, qv5::bench::TimeCommand(big_md5));
            const Run r = AddRoot(big);
            if (r.seconds < big_add.seconds) big_add = r;
        }
        std::printf("add-root at %d charts: max RSS %ld KiB, %.1f us per chart (md5sum %.1f)\n",
                    large, big_add.max_rss_kb, big_add.seconds / large * 1e6,
                    big_md5_time / large * 1e6);
        std::printf("ratio RSS %d/%d charts: %.2f\n", large, count,
                    double(big_add.max_rss_kb) / double(add.max_rss_kb));
        std::printf("ratio time per chart %d/%d charts: %.2f\n", large, count,
                    (big_add.seconds / large) / (add.seconds / count));
        if (!keep) fs::remove_all(base / "large");
    }
    return 0;
}
