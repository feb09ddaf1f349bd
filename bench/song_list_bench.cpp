// What the song list costs on a large library, against one plain
// "SELECT * FROM song" over the same library in the same process:
//   open      the window made, the library read into the model, the first
//             rows painted (goal: at most 2x the select);
//   activate  the window activated again with nothing changed, and painted
//             (the look for vanished files);
//   keystroke one more letter typed into the filter box (goal: at most 0.5x);
//   memory    the model's bytes against the bytes of the song table's texts
//             (goal: below 2x).
// With TABLES, that many kept tables of 5,000 entries each (12 levels, nine
// entries in ten held) are laid over the rows: their cost is in the open.
// Usage: song_list_bench [CHARTS] [RUNS] [TABLES]
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "chart_gen.h"
#include "library/display_text.h"
#include "library/encodings.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/win_path.h"
#include "program_run.h"
#include "tables/table_store.h"
#include "window/song_list/song_list_model.h"
#include "window/song_list/song_list_window.h"

// The song library the benchmark works on.
static qv5::SongLibrary& BenchLibrary() {
    static qv5::SongLibrary library;
    return library;
}

namespace {

using qv5::Sj;

// The hash of the library's chart `i`.
std::string HashOf(int i) {
    char hash[40];
    std::snprintf(hash, sizeof hash, "%08x%08x%08x%08x", i * 2654435761u, i * 40503u + 7,
                  i ^ 0x5bd1e995, i * 97u);
    return hash;
}

// A chart written in UTF-8 whose title has bytes without a Shift-JIS
// meaning: the library stored U+FFFD for them, and only the file on disk
// holds the title.
bool WriteUtf8Chart(const qv5::WinPath& path, const std::string& title, std::uint32_t seed) {
    const auto host = path.ToHost();
    if (!host) return false;
    std::filesystem::create_directories(std::filesystem::path(*host).parent_path());
    std::string chart = qv5::bench::MakeChart(seed, 30000);
    const size_t at = chart.find("#TITLE ");
    chart.replace(at, chart.find("\r\n", at) - at, "#TITLE " + title);
    std::ofstream(*host, std::ios::binary) << chart;
    return qv5::LostBytes(qv5::Cp932ToUtf8(title));
}

// Library rows as a scan leaves them: Japanese and ASCII titles, one chart
// in 17 written in UTF-8 that lost bytes (its file on disk) and one in 17
// that did not, paths of three levels, a third of them played.
bool FillLibrary(int charts) {
    qv5::Database& db = BenchLibrary().connection();
    db.Exec("BEGIN");
    qv5::Statement s = db.Prepare(
        "INSERT INTO song (hash,title,subtitle,genre,artist,subartist,level,date,path,folder,"
        "stagefile,banner,backbmp,parent,maxbpm,minbpm,random,longnote,judge,mode,bga,difficulty,"
        "favorite,type,txt,karinotes,adddate,exlevel) "
        "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    const std::string japanese[] = {Sj(u8"千本桜"), Sj(u8"恋愛サーキュレーション"),
                                    Sj(u8"ぼくらの戦争"), Sj(u8"東方萃夢想")};
    // In UTF-8, as the chart holds them: a Japanese and a Hangul title.
    const std::string utf8[] = {reinterpret_cast<const char*>(u8"恋愛サーキュレーション"),
                                reinterpret_cast<const char*>(u8"새로운 세계")};
    // One whose bytes all have a Shift-JIS meaning: shown decoded, no file read.
    const std::string kept_utf8 = "\xE6\x96\xB0\xE4\xB8\x96\xE7\x95\x8C";  // 新世界
    qv5::Statement score =
        db.Prepare("INSERT INTO score (hash,clear,perfect,great,totalnotes) VALUES(?,?,?,?,?)");
    for (int i = 0; i < charts; ++i) {
        const std::string hash = HashOf(i);
        const int song = i / 5;
        const bool written_in_utf8 = i % 17 == 0;
        std::string title = written_in_utf8 ? utf8[song % 2] + " " + std::to_string(song)
                            : i % 17 == 8   ? kept_utf8 + std::to_string(song)
                            : i % 3 == 0    ? japanese[song % 4] + " " + std::to_string(song)
                                            : "Song Title Number " + std::to_string(song);
        const std::string folder =
            "songs\\Artist " + std::to_string(song % 700) + "\\Song " + std::to_string(song) + "\\";
        const std::string path = folder + "chart_" + std::to_string(i % 5) + "_hyper.bme";
        if (written_in_utf8 &&
            !WriteUtf8Chart(qv5::WinPath(path), title, static_cast<std::uint32_t>(i)))
            return false;
        s.ExecuteRow(hash, title, "[HYPER]", "Genre " + std::to_string(song % 50),
                     "Artist " + std::to_string(song % 700), "obj: someone", 1 + i % 12,
                     1700000000 + i, path, qv5::PathKey(folder), "stage.bmp", "banner.png",
                     std::string(), qv5::PathKey("songs\\"), 180, 120, 0, 0, 2, 7, 1, 1 + i % 5,
                     i % 11 == 0 ? 1 : 0, 0, 0, 500 + i % 1500, 1700000000 + i, i % 4);
        s.Reset();
        if (i % 3 == 1) {
            score.ExecuteRow(hash, 1 + i % 5, 400, 100, 500 + i % 1500);
            score.Reset();
        }
    }
    db.Exec("COMMIT");
    return true;
}

// `tables` tables kept as the table commands keep them, each of 5,000
// entries spread over the library, one in ten of a chart it has not.
bool KeepTables(int tables, int charts) {
    for (int t = 0; t < tables; ++t) {
        qv5::FetchedTable fetched;
        fetched.source = "https://tables.example/" + std::to_string(t) + "/";
        fetched.header_bytes = "{\"name\":\"Table " + std::to_string(t) + "\",\"symbol\":\"t" +
                               std::to_string(t) + "\",\"data_url\":\"data.json\"}";
        fetched.data_bytes = "[";
        for (int e = 0; e < 5000; ++e) {
            const int chart = (e * 7919 + t * 104729) % std::max(charts, 1);
            fetched.data_bytes += std::string(e ? "," : "") + "{\"md5\":\"" +
                                  (e % 10 == 9 ? HashOf(charts + e) : HashOf(chart)) +
                                  "\",\"level\":\"" + std::to_string(1 + e % 12) +
                                  "\",\"title\":\"Song Title Number " + std::to_string(chart) +
                                  "\",\"artist\":\"Artist\",\"url\":\"https://example/\"}";
        }
        fetched.data_bytes += "]";
        std::string error;
        qv5::KeptTable kept;
        if (!qv5::ReadTableHeader(fetched.header_bytes, fetched.header, error) ||
            !qv5::ReadTableData(fetched.data_bytes, fetched.data, error) ||
            !qv5::KeepTable(fetched, qv5::TableChanges{}, nullptr, kept, error)) {
            std::fprintf(stderr, "table %d: %s\n", t, error.c_str());
            return false;
        }
    }
    return true;
}

// One plain select: every row stepped, every column read as the program
// reads it (texts converted to CP932).
double PlainSelect(size_t& bytes) {
    return qv5::bench::PlainSongSelect(BenchLibrary(), bytes);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int charts = argc > 1 ? std::atoi(argv[1]) : 50000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const int tables = argc > 3 ? std::atoi(argv[3]) : 0;
    char dir[] = "/tmp/qv5songlistbenchXXXXXX";
    if (!mkdtemp(dir)) return 1;
    setenv("XDG_CONFIG_HOME", dir, 1);  // no remembered filter from elsewhere
    QApplication app(argc, argv);
    std::filesystem::create_directories(std::string(dir) + "/QV5files/Database/Score");
    qv5::SetProgramDirectory(dir);
    BenchLibrary().Open("");
    if (!FillLibrary(charts) || !KeepTables(tables, charts)) return 1;
    const std::int64_t text_bytes = [] {
        qv5::Statement s = BenchLibrary().connection().Prepare(
            "SELECT total(length(CAST(hash AS BLOB))+length(CAST(title AS BLOB))+"
            "length(CAST(subtitle AS BLOB))+length(CAST(genre AS BLOB))+"
            "length(CAST(artist AS BLOB))+length(CAST(subartist AS BLOB))+"
            "ifnull(length(CAST(tag AS BLOB)),0)+length(CAST(path AS BLOB))+"
            "length(CAST(folder AS BLOB))+length(CAST(stagefile AS BLOB))+"
            "length(CAST(banner AS BLOB))+length(CAST(backbmp AS BLOB))+"
            "length(CAST(parent AS BLOB))) FROM song");
        return s.Step() ? s.Int64(0) : 0;
    }();

    std::printf("charts: %d, tables: %d\n", charts, tables);
    // The process's first read of the library reads the charts that lost
    // bytes; every later one takes what they gave.
    {
        size_t bytes = 0;
        const double select = PlainSelect(bytes);
        const double start = qv5::bench::Now();
        qv5::SongTable table;
        table.Load(BenchLibrary());
        const double load = qv5::bench::Now() - start;
        std::printf("first load %.3f s (%.2fx the select)\n", load, load / select);
    }
    // Qt's first window of a process sets up fonts and styles once; that is
    // no part of opening the list in a running program.
    delete new qv5::SongListWindow(BenchLibrary());
    for (int run = 1; run <= runs; ++run) {
        size_t bytes = 0;
        const double select = PlainSelect(bytes);

        // Where the opening goes: the rows read, sorted by title, filtered
        // (gone before the window opens, which holds the only table).
        {
            double start = qv5::bench::Now();
            qv5::SongTable table;
            table.Load(BenchLibrary());
            const double load = qv5::bench::Now() - start;
            start = qv5::bench::Now();
            const auto order = qv5::SortedRows(table, qv5::SongColumn::Title, false);
            const double sort = qv5::bench::Now() - start;
            start = qv5::bench::Now();
            const auto shown = qv5::FilterRows(table, order, {});
            const double filter = qv5::bench::Now() - start;
            start = qv5::bench::Now();
            qv5::ChartLevels levels;
            levels.SetTables(qv5::ReadLevelTables());
            const double read_tables = qv5::bench::Now() - start;
            start = qv5::bench::Now();
            levels.Match(BenchLibrary(), table);
            const double match = qv5::bench::Now() - start;
            std::printf(
                "run %d: load %.3f s, sort %.3f s, filter %.3f s, tables read %.3f s, matched "
                "%.3f s\n",
                run, load, sort, filter, read_tables, match);
        }

        double start = qv5::bench::Now();
        auto* window = new qv5::SongListWindow(BenchLibrary());
        window->show();
        const QPixmap painted = window->grab();
        const double open = qv5::bench::Now() - start;
        if (window->Model()->rowCount() != charts || painted.isNull()) return 1;
        // The tables, read on their own thread, laid over the rows and shown.
        while (window->ReadingTables()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const QPixmap with_tables = window->grab();
        const double tables_shown = qv5::bench::Now() - start;
        if (with_tables.isNull()) return 1;

        // "title 12": each letter re-filters.
        const QString typed = QStringLiteral("title 12");
        double worst = 0, total = 0;
        for (int k = 1; k <= typed.size(); ++k) {
            start = qv5::bench::Now();
            window->FilterEdit()->setText(typed.left(k));
            const double one = qv5::bench::Now() - start;
            worst = std::max(worst, one);
            total += one;
        }
        const size_t memory = window->Model()->MemoryBytes();
        window->FilterEdit()->clear();

        // Back to the window with nothing changed: what the activation
        // costs, painting included.
        start = qv5::bench::Now();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(window, &activate);
        const QPixmap repainted = window->grab();
        const double again = qv5::bench::Now() - start;
        if (repainted.isNull()) return 1;
        delete window;

        std::printf(
            "run %d: select %.3f s, open %.3f s (%.2fx), tables shown at %.3f s, activate %.4f s "
            "(%.2fx), keystroke "
            "mean %.4f s (%.2fx), worst %.4f s (%.2fx), memory %.1f MB for %.1f MB of text "
            "(%.2fx)\n",
            run, select, open, open / select, tables_shown, again, again / select,
            total / typed.size(), total / typed.size() / select, worst, worst / select,
            memory / 1048576.0, text_bytes / 1048576.0, double(memory) / double(text_bytes));
    }
    BenchLibrary().Close();
    std::filesystem::remove_all(dir);
    return 0;
}
