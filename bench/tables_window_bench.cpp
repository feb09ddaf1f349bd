// The tables window on a large library, against one plain "SELECT * FROM
// song" over the same library in the same process, alternating run by run:
//   open    the window made over TABLES kept tables of ENTRIES entries each,
//           the library's charts and the player's scores read, the biggest
//           table's levels with their lamp bars shown and painted (goal: at
//           most 2x the select);
//   switch  another table chosen, its levels and first level's entries shown
//           and painted (goal: at most 0.5x).
// The library: CHARTS charts, 40% of them scored; the tables' entries held
// for seven in ten, the others missing, 25 levels a table.
// Usage: tables_window_bench [CHARTS=50000] [TABLES=10] [ENTRIES=5000] [RUNS=5]
#include <stdlib.h>

#include <QApplication>
#include <QPixmap>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "chart_gen.h"
#include "library/encodings.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "program_run.h"
#include "tables/table_fetch.h"
#include "tables/table_store.h"
#include "window/tables/tables_window.h"

namespace {

std::string Hash(long n) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%016lx%016lx", n * 2654435761L + 1, n * 40503L + 7);
    return buf;
}

bool FillLibrary(qv5::SongLibrary& library, int charts) {
    qv5::Database& db = library.connection();
    db.Exec("BEGIN");
    qv5::Statement s = db.Prepare(
        "INSERT INTO song (hash,title,subtitle,genre,artist,subartist,level,date,path,folder,"
        "stagefile,banner,backbmp,parent,maxbpm,minbpm,random,longnote,judge,mode,bga,difficulty,"
        "favorite,type,txt,karinotes,adddate,exlevel) "
        "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    qv5::Statement score =
        db.Prepare("INSERT INTO score (hash,clear,perfect,great,totalnotes) VALUES(?,?,?,?,?)");
    for (int i = 0; i < charts; ++i) {
        const int song = i / 5;
        const std::string folder =
            "songs\\Artist " + std::to_string(song % 700) + "\\Song " + std::to_string(song) + "\\";
        s.ExecuteRow(Hash(i), "Song Title Number " + std::to_string(song), "[HYPER]",
                     "Genre " + std::to_string(song % 50), "Artist " + std::to_string(song % 700),
                     "obj: someone", 1 + i % 12, 1700000000 + i,
                     folder + "chart_" + std::to_string(i % 5) + ".bme", qv5::PathKey(folder),
                     "stage.bmp", "banner.png", std::string(), qv5::PathKey("songs\\"), 180, 120, 0,
                     0, 2, 7, 1, 1 + i % 5, 0, 0, 0, 500 + i % 1500, 1700000000 + i, i % 4);
        s.Reset();
        if (i % 5 < 2) {  // 40%: 20,000 of 50,000
            score.ExecuteRow(Hash(i), i % 6, 400, 100, 500 + i % 1500);
            score.Reset();
        }
    }
    return db.Exec("COMMIT");
}

// A table as a fetch gives it, kept through the store as add-table keeps it.
bool KeepBenchTable(int t, int entries, int charts) {
    qv5::FetchedTable f;
    f.source = "https://example.org/table" + std::to_string(t) + "/";
    f.header_bytes = R"({"name":"Bench table )" + std::to_string(t) + R"(","symbol":"t)" +
                     std::to_string(t) + R"(","data_url":"data.json"})";
    std::string data = "[";
    for (int i = 0; i < entries; ++i) {
        // Seven in ten held: spread over the library; the rest unknown.
        const long n =
            i % 10 < 7 ? (long(i) * 7919 + t * 104729L) % charts : charts + long(i) + t * 1000000L;
        data += (i ? "," : "") + std::string(R"({"level":")") + std::to_string(i * 25 / entries) +
                R"(","md5":")" + Hash(n) + R"(","title":"Entry )" + std::to_string(i) +
                R"(","artist":"someone","url":"https://example.org/d)" + std::to_string(i) +
                R"(.zip","url_diff":"","comment":""})";
    }
    f.data_bytes = data + "]";
    std::string error;
    if (!qv5::ReadTableHeader(f.header_bytes, f.header, error) ||
        !qv5::ReadTableData(f.data_bytes, f.data, error))
        return false;
    qv5::KeptTable kept;
    return qv5::KeepTable(f, qv5::TableChanges{}, nullptr, kept, error);
}

double PlainSelect(qv5::SongLibrary& library, size_t& bytes) {
    return qv5::bench::PlainSongSelect(library, bytes);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int charts = argc > 1 ? std::atoi(argv[1]) : 50000;
    const int tables = argc > 2 ? std::atoi(argv[2]) : 10;
    const int entries = argc > 3 ? std::atoi(argv[3]) : 5000;
    const int runs = argc > 4 ? std::atoi(argv[4]) : 5;
    char dir[] = "/tmp/qv5tablesbenchXXXXXX";
    if (!mkdtemp(dir)) return 1;
    setenv("XDG_CONFIG_HOME", dir, 1);
    QApplication app(argc, argv);
    std::filesystem::create_directories(std::string(dir) + "/QV5files/Database/Score");
    qv5::SetProgramDirectory(dir);
    qv5::SongLibrary library;
    if (!library.Open("") || !FillLibrary(library, charts)) return 1;
    for (int t = 0; t < tables; ++t)
        if (!KeepBenchTable(t, entries, charts)) return 1;
    std::printf("charts: %d, scores: %d, tables: %d of %d entries\n", charts, charts / 5 * 2,
                tables, entries);

    // Where the opening goes: the kept tables read, the charts and scores.
    {
        double start = qv5::bench::Now();
        const qv5::KeptTables kept = qv5::LoadKeptTables();
        const double load = qv5::bench::Now() - start;
        start = qv5::bench::Now();
        qv5::ChartHashes hashes;
        std::string error;
        library.ReadChartHashes(hashes, error);
        const double read = qv5::bench::Now() - start;
        start = qv5::bench::Now();
        library.ReadChartScores(hashes, error);
        const double scores = qv5::bench::Now() - start;
        std::printf("parts: every kept table read whole %.4f s, charts %.4f s, scores %.4f s\n",
                    load, read, scores);
    }
    // Qt's first window of a process sets up fonts and styles once.
    delete new qv5::TablesWindow(library);
    std::vector<double> open_ratios, switch_ratios;
    double select_best = 1e9, open_best = 1e9, switch_best = 1e9;
    for (int run = 0; run < runs; ++run) {
        double select = 0, open = 0, change = 0;
        qv5::TablesWindow* window = nullptr;
        // The select first in even runs, the window first in odd ones.
        for (int side = 0; side < 2; ++side) {
            if ((side == 0) == (run % 2 == 0)) {
                size_t bytes = 0;
                select = PlainSelect(library, bytes);
            } else {
                const double start = qv5::bench::Now();
                window = new qv5::TablesWindow(library);
                window->SelectTable(0);
                window->show();
                const QPixmap painted = window->grab();
                open = qv5::bench::Now() - start;
                if (painted.isNull() || window->Levels()->topLevelItemCount() != 25) return 1;
            }
        }
        const double start = qv5::bench::Now();
        window->SelectTable(1 + run % (tables - 1));
        const QPixmap painted = window->grab();
        change = qv5::bench::Now() - start;
        if (painted.isNull()) return 1;
        delete window;
        std::printf("run %d: select %.4f s, open %.4f s (%.2fx), switch %.4f s (%.2fx)\n", run + 1,
                    select, open, open / select, change, change / select);
        open_ratios.push_back(open / select);
        switch_ratios.push_back(change / select);
        select_best = std::min(select_best, select);
        open_best = std::min(open_best, open);
        switch_best = std::min(switch_best, change);
    }
    library.Close();
    std::filesystem::remove_all(dir);
    std::printf("best: select %.4f s, open %.4f s, switch %.4f s\n", select_best, open_best,
                switch_best);
    std::printf("ratio open/select: median %.2f (goal 2); switch/select: median %.2f (goal 0.5)\n",
                qv5::bench::Median(open_ratios), qv5::bench::Median(switch_ratios));
    return 0;
}
