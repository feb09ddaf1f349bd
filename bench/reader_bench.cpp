// A reader beside a full rescan, as the game body is when it lists its
// folders while the library is rebuilt: it polls every 10 ms with a
// connection of its own that does not wait, and counts the polls the
// library refuses. The rescan keeps its changes in memory until COMMIT, so
// the reader should be refused only while that COMMIT runs. Usage:
//   reader_bench [charts=50000] [rounds=1]
// Prints, per round, the rescan's time and its COMMIT's, and the refusals
// (count, how many before the COMMIT began, total time refused).
// QV5_BENCH_KEEP=1 keeps the generated tree for the next run.
#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "chart_gen.h"
#include "library/encodings.h"
#include "library/rescan.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "platform/transaction.h"
#include "platform/win_path.h"

// The song library the benchmark works on.
static qv5::SongLibrary& BenchLibrary() {
    static qv5::SongLibrary library;
    return library;
}

namespace fs = std::filesystem;
using qv5::bench::Now;

namespace {

constexpr double kPollSeconds = 0.010;

// The layout of library_bench, with small charts: the reader meets the
// library's writes, not the reading of the charts.
void Generate(const fs::path& tree, int count) {
    fs::remove_all(tree);
    for (int i = 0; i < count; ++i) {
        const fs::path dir =
            tree / ("pack" + std::to_string(i / 500)) / ("song" + std::to_string(i / 10));
        if (i % 10 == 0) {
            fs::create_directories(dir);
            std::ofstream(dir / "folderinfo.txt", std::ios::binary)
                << "#TITLE Song " << i / 10 << "\r\n#GENRE bench\r\n";
        }
        std::ofstream(dir / ("chart" + std::to_string(i % 10) + ".bms"), std::ios::binary)
            << qv5::bench::MakeChart(i, 2000 + (i * 7919u) % 4000);
    }
}

struct Poll {
    double at;
    bool refused;
};

// Polls the song.db at `host` until `done`, each poll a game-like listing
// of the root folders on a connection that never waits.
std::vector<Poll> ReadBeside(const std::string& host, const std::atomic<bool>& done) {
    std::vector<Poll> polls;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(host.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "the reader cannot open %s\n", host.c_str());
        return polls;
    }
    const std::string sql =
        std::string("SELECT title, path FROM folder WHERE parent = '") + qv5::kRootKey + "'";
    while (!done.load()) {
        const double start = Now();
        sqlite3_stmt* s = nullptr;
        int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
        while (rc == SQLITE_OK || rc == SQLITE_ROW) rc = sqlite3_step(s);
        sqlite3_finalize(s);
        polls.push_back({start, rc == SQLITE_BUSY || rc == SQLITE_LOCKED});
        const double next = start + kPollSeconds;
        while (Now() < next && !done.load())
            std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    sqlite3_close(db);
    return polls;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 50000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 1;
    const fs::path game = fs::temp_directory_path() / "qv5_reader_bench";
    const fs::path made = game / ("charts-" + std::to_string(count));
    if (!fs::exists(made)) {  // kept from a run with QV5_BENCH_KEEP=1
        fs::remove_all(game);
        fs::create_directories(game / "QV5files/Config");
        fs::create_directories(game / "QV5files/Database/Score");
        Generate(game / "songs", count);
        std::ofstream{made};
    }
    fs::remove(game / "QV5files/Database/song.db");
    qv5::SetProgramDirectory(game.string());
    BenchLibrary().Open("");
    qv5::Database& db = BenchLibrary().connection();
    const std::string root = qv5::WinPath::FromHost((game / "songs").string())->AsFolder().text();
    qv5::LibraryReport registered;
    if (!qv5::RegisterRootFolder(db, qv5::WinPath(root), nullptr, registered) ||
        !registered.missing.empty()) {
        std::fprintf(stderr, "the tree was not registered\n");
        return 1;
    }
    const std::string host = (game / "QV5files/Database/song.db").string();
    std::printf("charts: %d, reader polling every %.0f ms\n", count, kPollSeconds * 1000);
    for (int round = 0; round < rounds; ++round) {
        std::atomic<bool> done{false};
        std::vector<Poll> polls;
        std::thread reader([&] { polls = ReadBeside(host, done); });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a few polls before
        const double start = Now();
        double commit_start = 0, end = 0;
        bool ok = false;
        {
            // As the rescan command runs it: the rebuild inside a
            // transaction whose COMMIT is timed apart.
            qv5::Transaction tx(db);
            qv5::LibraryReport report;
            ok = tx.ok() && qv5::RescanLibrary(db, {root}, nullptr, report);
            commit_start = Now();
            ok = ok && tx.Commit();
            end = Now();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a few polls after
        done = true;
        reader.join();
        if (!ok) std::fprintf(stderr, "the rescan failed: %s\n", db.LastError().c_str());
        long refused = 0, before_commit = 0;
        double refused_time = 0;
        for (size_t i = 0; i < polls.size(); ++i) {
            if (!polls[i].refused) continue;
            ++refused;
            if (polls[i].at < commit_start) ++before_commit;
            // Refused until the next try.
            refused_time += (i + 1 < polls.size() ? polls[i + 1].at : end) - polls[i].at;
        }
        qv5::Statement pages = db.Prepare("PRAGMA page_count");
        std::printf(
            "round %d: rescan %.3f s, COMMIT %.0f ms; song.db %d pages; %zu polls, refused "
            "%ld (%ld before COMMIT), refused for %.0f ms in total\n",
            round + 1, end - start, (end - commit_start) * 1000, pages.Step() ? pages.Int(0) : -1,
            polls.size(), refused, before_commit, refused_time * 1000);
    }
    BenchLibrary().Close();
    if (!std::getenv("QV5_BENCH_KEEP")) fs::remove_all(game);
    return 0;
}
