// The difficulty tables, each against a baseline measured in the same run,
// the two alternating round by round so that both meet the same load:
//   (a) `QV5 add-table` of a table of ENTRIES entries (page, header, data)
//       from the test HTTP server on 127.0.0.1, into a game folder whose
//       song.db holds CHARTS charts, against `curl` fetching the same three
//       files and `python3 -m json.tool` parsing the two JSON files;
//   (b) matching 10 tables of ENTRIES entries against that song.db (the
//       hashes and paths read once, then each table grouped by level and
//       matched in memory) against one plain `SELECT hash FROM song`.
// Usage: table_bench [entries=5000] [charts=50000] [rounds=5]
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chart_gen.h"
#include "library/library_hashes.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "platform/transaction.h"
#include "program_run.h"
#include "tables/table.h"
#include "tables/table_match.h"

extern char** environ;

using namespace qv5;
namespace fs = std::filesystem;
using bench::Now;

namespace {

int StartServer(const fs::path& dir, pid_t& pid) {
    return bench::StartHttpServer(QV5_HTTP_SERVER, dir.string(), pid);
}

std::string Hash(long n) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%016lx%016lx", n * 2654435761L, n + 1);
    return buf;
}

// A table as published: titles, artists and addresses of a real table's
// length, every other entry held by the library. No byte-order mark, which
// json.tool refuses.
std::string DataJson(int table, int entries) {
    std::string out = "[";
    char buf[512];
    for (int i = 0; i < entries; ++i) {
        const long chart =
            (i % 2 == 0) ? long(table) * entries + i : 10000000L + table * entries + i;
        std::snprintf(buf, sizeof buf,
                      "%s{\"level\":%s,\"md5\":\"%s\",\"sha256\":\"\",\"title\":\"Song %d of "
                      "table %d [ANOTHER]\",\"artist\":\"Artist %d / obj. someone\","
                      "\"url\":\"https://example.com/songs/%d.zip\",\"url_diff\":\"\","
                      "\"name_diff\":\"\",\"comment\":\"\",\"lr2_bmsid\":%d}",
                      i ? "," : "", i % 7 == 0 ? "\"12\"" : std::to_string(i % 25).c_str(),
                      Hash(chart).c_str(), i, table, i % 300, i, 100000 + i);
        out += buf;
    }
    return out + "]";
}

bool MakeLibrary(long charts) {
    SongLibrary library;
    library.Open("");
    Database& db = library.connection();
    Transaction t(db);
    Statement s = db.Prepare("INSERT INTO song(hash, path, title) VALUES(?, ?, ?)");
    for (long i = 0; i < charts; ++i) {
        s.Bind(1, Hash(i));
        s.Bind(2, "songs\\pack" + std::to_string(i / 500) + "\\song" + std::to_string(i / 5) +
                      "\\chart" + std::to_string(i % 5) + ".bms");
        s.Bind(3, "title " + std::to_string(i));
        if (!s.Run()) return false;
        s.Reset();
    }
    return t.Commit();
}

// The server ends with the benchmark, whichever way it ends.
struct Server {
    pid_t pid = -1;
    ~Server() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int entries = argc > 1 ? std::atoi(argv[1]) : 5000;
    const long charts = argc > 2 ? std::atol(argv[2]) : 50000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
    const fs::path root = fs::temp_directory_path() / "qv5_table_bench";
    fs::remove_all(root);
    const fs::path game = root / "game", served = root / "server";
    fs::create_directories(game / "QV5files/Config");
    fs::create_directories(game / "QV5files/Database/Score");
    fs::create_directories(served / "files/t");
    if (!SetProgramDirectory(game.string()) || !MakeLibrary(charts)) return 1;

    const std::string data = DataJson(0, entries);
    std::ofstream(served / "files/t/table.html")
        << "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>bench</title>"
           "<meta name=\"bmstable\" content=\"header.json\"></head><body></body></html>";
    std::ofstream(served / "files/t/header.json")
        << "{\"name\":\"Bench table\",\"symbol\":\"★\",\"data_url\":\"data.json\","
           "\"level_order\":[0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24]}";
    std::ofstream(served / "files/t/data.json", std::ios::binary) << data;
    Server server;
    const int port = StartServer(served, server.pid);
    if (port <= 0) return 1;
    setenv("no_proxy", "127.0.0.1", 1);
    const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/t/";
    const std::string baseline = "curl -sf '" + base + "table.html' >/dev/null && curl -sf '" +
                                 base +
                                 "header.json' | python3 -m json.tool >/dev/null && curl -sf '" +
                                 base + "data.json' | python3 -m json.tool >/dev/null";

    // (a) add-table against curl and json.tool.
    bench::TimeCommand(baseline);  // warm the caches of both
    std::vector<double> add_ratios;
    double add_best = 1e9, base_best = 1e9;
    for (int r = 0; r < rounds; ++r) {
        fs::remove_all(game / "QV5files/Tables");
        const bench::ProgramRun add = bench::RunProgram(
            QV5_EXE, {"--dir", game.string(), "add-table", base + "table.html"}, true);
        const double plain = bench::TimeCommand(baseline);
        if (add.code != 0 || plain < 0) {
            std::fprintf(stderr, "round %d failed (add-table %d)\n", r, add.code);
            return 1;
        }
        add_ratios.push_back(add.seconds / plain);
        add_best = std::min(add_best, add.seconds);
        base_best = std::min(base_best, plain);
    }

    // (b) 10 tables matched against one plain read of the hashes.
    std::vector<TableData> tables(10);
    TableHeader header;
    for (int i = 0; i < 25; ++i) header.level_order.push_back(std::to_string(i));
    for (int t = 0; t < 10; ++t) {
        std::string error;
        if (!ReadTableData(DataJson(t, entries), tables[t], error)) return 1;
    }
    Database db;
    SongLibrary songs;
    if (!db.Open(kSongDbPath, Database::Mode::ReadOnly) || !songs.OpenForReading()) return 1;
    std::vector<double> match_ratios, only_ratios;
    long held = 0, rows = 0;
    for (int r = 0; r < rounds; ++r) {
        double start = Now();
        Statement s = db.Prepare("SELECT hash FROM song");
        rows = 0;
        while (s.Step()) rows += s.Text(0).size() == 32;
        const double select = Now() - start;
        start = Now();
        ChartHashes library;
        std::string error;
        if (!songs.ReadChartHashes(library, error)) return 1;
        const double read = Now() - start;
        held = 0;
        for (const TableData& t : tables)
            for (const LevelGroup& g : GroupByLevel(header, t, library)) held += g.held;
        const double match = Now() - start - read;
        match_ratios.push_back((read + match) / select);
        only_ratios.push_back(match / select);
    }
    fs::remove_all(root);
    std::printf(
        "(a) add-table of %d entries, %ld charts in song.db: best %.3f s; curl + json.tool "
        "best %.3f s\n",
        entries, charts, add_best, base_best);
    std::printf("ratio add-table/(curl+json.tool): median %.2f (rounds:",
                bench::Median(add_ratios));
    for (double v : add_ratios) std::printf(" %.2f", v);
    std::printf(")\n");
    std::printf("(b) 10 tables x %d entries against %ld charts: %ld held, %ld hashes selected\n",
                entries, charts, held, rows);
    std::printf("ratio match in memory/SELECT hash: median %.2f (rounds:",
                bench::Median(only_ratios));
    for (double v : only_ratios) std::printf(" %.2f", v);
    std::printf(")\n");
    std::printf("ratio read hashes and paths once + match/SELECT hash: median %.2f (rounds:",
                bench::Median(match_ratios));
    for (double v : match_ratios) std::printf(" %.2f", v);
    std::printf(")\n");
    return 0;
}
