// The difficulty table commands: add-table, update-tables, remove-table and
// tables. The tables' texts are UTF-8 (see tables/table.h); the program's
// own texts are CP932 from the catalogue and converted for the terminal.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "cli/command_parse.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/stop_on_interrupt.h"
#include "config/config_file.h"
#include "library/library_hashes.h"
#include "library/song_library.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "tables/table_fetch.h"
#include "tables/table_jobs.h"
#include "tables/table_match.h"
#include "tables/table_store.h"

namespace qv5 {
namespace {

// A table's text for a line of the terminal.
std::string Shown(const std::string& utf8) {
    return EscapeControls(utf8);
}

// A text of the catalogue (CP932) for the terminal.
std::string Said(const std::string& cp932) {
    return Cp932ToUtf8(cp932);
}

int Fail(const char* command, const std::string& cp932) {
    std::fprintf(stderr, "QV5: %s: %s\n", command, Said(cp932).c_str());
    return 1;
}

// The charts of song.db by hash; an empty map, said once, when there is no
// library to match against.
ChartHashes ReadLibrary() {
    ChartHashes charts;
    std::string error;
    if (!PathExists(kSongDbPath)) {
        std::fprintf(
            stderr, "QV5: %s\n",
            Said(Tr("Tables", "曲データベース（song.db）がないので、所持数はすべて 0 です。"))
                .c_str());
        return charts;
    }
    SongLibrary library;
    if (!library.OpenForReading() || !library.ReadChartHashes(charts, error))
        std::fprintf(
            stderr, "QV5: %s %s\n",
            Said(Tr("Tables", "曲データベースを読めないので、所持数はすべて 0 です。")).c_str(),
            error.c_str());
    return charts;
}

KeptTables LoadTables() {
    KeptTables kept = LoadKeptTables();
    for (const std::string& p : kept.problems) std::fprintf(stderr, "QV5: %s\n", Said(p).c_str());
    return kept;
}

// The table NAME names: its name as its header gives it, else its symbol
// when one table alone has it. Null, after saying why, when none or several.
const KeptTable* FindTable(const KeptTables& kept, const std::string& name, const char* command) {
    std::vector<const KeptTable*> by_name, by_symbol;
    for (const KeptTable& t : kept.tables) {
        if (t.header.name == name) by_name.push_back(&t);
        if (!t.header.symbol.empty() && t.header.symbol == name) by_symbol.push_back(&t);
    }
    const auto& found = by_name.empty() ? by_symbol : by_name;
    if (found.size() == 1) return found.front();
    Fail(command,
         Arg(found.empty()
                 ? Tr("Tables", "「%1」という表はありません。")
                 : Tr("Tables", "「%1」に当たる表が複数あります。名前で指定してください。"),
             {Utf8ToCp932Lossy(Shown(name))}));
    return nullptr;
}

std::string Counts(long held, long total) {
    return std::to_string(held) + " / " + std::to_string(total);
}

long HeldCount(const std::vector<LevelGroup>& groups) {
    long held = 0;
    for (const LevelGroup& g : groups) held += g.held;
    return held;
}

void PrintLevels(const KeptTable& t, const std::vector<LevelGroup>& groups) {
    for (const LevelGroup& g : groups)
        std::printf("%s\t%s\n", Shown(t.header.symbol + g.level).c_str(),
                    Counts(g.held, long(g.entries.size())).c_str());
}

// What was left out of the table or can never be held, on stderr.
void PrintSkipped(const TableData& d) {
    const struct {
        long count;
        const char* text;
    } notes[] = {
        {d.without_level, QT_TRANSLATE_NOOP("Tables", "レベルのない %1 件は除きました。")},
        {d.not_entries, QT_TRANSLATE_NOOP("Tables", "譜面でない %1 件は除きました。")},
        {d.unmatchable, QT_TRANSLATE_NOOP("Tables", "正しい md5 のない %1 件は照合できません。")},
        {d.sha256_only, QT_TRANSLATE_NOOP("Tables", "sha256 だけの %1 件は照合できません。")},
    };
    for (const auto& n : notes)
        if (n.count > 0)
            std::fprintf(stderr, "QV5: %s\n",
                         Said(Arg(Tr("Tables", n.text), {std::to_string(n.count)})).c_str());
}

const char* StatusWord(const TableEntry& e, const ChartHashes& charts) {
    if (IsHeld(e, charts)) return "held";
    if (e.key == EntryKey::Sha256Only) return "sha256 only";
    if (e.key == EntryKey::None) return "cannot be matched";
    return "missing";
}

std::string StatusText(const TableEntry& e, const ChartHashes& charts) {
    if (IsHeld(e, charts)) return Tr("Tables", "所持");
    if (e.key == EntryKey::Sha256Only) return Tr("Tables", "sha256 のみ");
    if (e.key == EntryKey::None) return Tr("Tables", "照合不可");
    return Tr("Tables", "未所持");
}

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

void PrintJson(const QJsonObject& o) {
    std::printf("%s\n", QJsonDocument(o).toJson(QJsonDocument::Compact).constData());
}

struct TablesOptions {
    std::string name, level;
    bool has_name = false, has_level = false, missing = false, json = false;
};

bool ReadOptions(const CommandCall& call, TablesOptions& o, std::string& error) {
    o.json = call.Has("--json");
    o.missing = call.Has("--missing");
    if (const auto level = call.Value("--level")) {
        o.level = *level;
        o.has_level = true;
    }
    if (!call.args.empty()) {
        o.name = call.args[0];
        o.has_name = true;
    }
    if ((o.has_level || o.missing) && !o.has_name) {
        error = "--level and --missing need a table NAME";
        return false;
    }
    return true;
}

int ListTables(const KeptTables& kept, const ChartHashes& charts, bool json) {
    QJsonArray list;
    for (const KeptTable& t : kept.tables) {
        const auto groups = GroupByLevel(t.header, t.data, charts);
        const long held = HeldCount(groups), total = long(t.data.entries.size());
        if (json) {
            QJsonArray levels;
            for (const LevelGroup& g : groups)
                levels.append(QJsonObject{{"level", Q(g.level)},
                                          {"total", qint64(g.entries.size())},
                                          {"held", qint64(g.held)}});
            list.append(QJsonObject{{"name", Q(t.header.name)},
                                    {"symbol", Q(t.header.symbol)},
                                    {"levels", levels},
                                    {"total", qint64(total)},
                                    {"held", qint64(held)},
                                    {"updated", Q(t.updated)},
                                    {"source", Q(t.source)}});
            continue;
        }
        std::printf("%s\t%s\t%s\t%s\t%s\t%s\n", Shown(t.header.name).c_str(),
                    Shown(t.header.symbol).c_str(),
                    Said(Arg(Tr("Tables", "%1 レベル"), {std::to_string(groups.size())})).c_str(),
                    Counts(held, total).c_str(), t.updated.c_str(), Shown(t.source).c_str());
    }
    if (json) PrintJson(QJsonObject{{"tables", list}});
    return 0;
}

int ShowTable(const KeptTable& t, const ChartHashes& charts, const TablesOptions& o) {
    auto groups = GroupByLevel(t.header, t.data, charts);
    if (o.has_level) {
        std::erase_if(groups, [&](const LevelGroup& g) {
            return g.level != o.level && t.header.symbol + g.level != o.level;
        });
        if (groups.empty())
            return Fail("tables", Arg(Tr("Tables", "この表にレベル「%1」はありません。"),
                                      {Utf8ToCp932Lossy(Shown(o.level))}));
    }
    const bool entries = o.has_level || o.missing;
    QJsonArray levels;
    for (const LevelGroup& g : groups) {
        if (!entries && !o.json) {
            std::printf("%s\t%s\n", Shown(t.header.symbol + g.level).c_str(),
                        Counts(g.held, long(g.entries.size())).c_str());
            continue;
        }
        QJsonArray list;
        for (const TableEntry* e : g.entries) {
            const bool held = IsHeld(*e, charts);
            if (o.missing && held) continue;
            const std::vector<std::string> paths = HeldPaths(*e, charts);
            if (o.json) {
                QJsonArray where;
                for (const std::string& p : paths) where.append(Q(Cp932ToUtf8(p)));
                list.append(QJsonObject{{"md5", Q(e->md5)},
                                        {"status", StatusWord(*e, charts)},
                                        {"title", Q(e->title)},
                                        {"artist", Q(e->artist)},
                                        {"url", Q(e->url)},
                                        {"url_diff", Q(e->url_diff)},
                                        {"held", held},
                                        {"paths", where}});
                continue;
            }
            std::string places;
            for (const std::string& p : paths)
                places += (places.empty() ? "" : "; ") + ShownPath(p);
            std::printf("%s\t%s\t%s\t%s\t%s\t%s\t%s\n", Shown(t.header.symbol + g.level).c_str(),
                        Said(StatusText(*e, charts)).c_str(), Shown(e->title).c_str(),
                        Shown(e->artist).c_str(), EscapeControls(places).c_str(),
                        Shown(e->url).c_str(), Shown(e->url_diff).c_str());
        }
        levels.append(QJsonObject{{"level", Q(g.level)},
                                  {"total", qint64(g.entries.size())},
                                  {"held", qint64(g.held)},
                                  {"entries", list}});
    }
    if (o.json) {
        const auto all = GroupByLevel(t.header, t.data, charts);
        PrintJson(QJsonObject{{"name", Q(t.header.name)},
                              {"symbol", Q(t.header.symbol)},
                              {"source", Q(t.source)},
                              {"updated", Q(t.updated)},
                              {"total", qint64(t.data.entries.size())},
                              {"held", qint64(HeldCount(all))},
                              {"without_level", qint64(t.data.without_level)},
                              {"unmatchable", qint64(t.data.unmatchable)},
                              {"sha256_only", qint64(t.data.sha256_only)},
                              {"courses", qint64(t.header.courses.size())},
                              {"last_changes", Q(Cp932ToUtf8(TableChangesText(t.changes)))},
                              {"changes", QJsonObject{{"first", t.changes.first},
                                                      {"added", qint64(t.changes.added.size())},
                                                      {"removed", qint64(t.changes.removed.size())},
                                                      {"moved", qint64(t.changes.moved.size())}}},
                              {"levels", levels}});
    }
    return 0;
}

// The note of a job that left song.db alone on purpose.
void PrintNote(const TableJobResult& r) {
    if (!r.note.empty()) std::fprintf(stderr, "QV5: %s\n", Said(r.note).c_str());
}

}  // namespace

int RunAddTable(const CommandCall& call) {
    std::string error;
    const auto source = TableSource(call.args[0], call.start_dir, error);
    if (!source) return Fail("add-table", error);
    FetchedTable fetched;
    {
        TerminalProgress progress("bytes received");
        StopOnInterrupt stop(progress);
        if (!FetchTable(*source, TableHttpOptions(), progress, fetched, error))
            return Fail("add-table", error);
    }
    const ChartHashes charts = ReadLibrary();
    TerminalProgress progress("charts read");
    StopOnInterrupt stop(progress);
    TableJobResult result;
    const bool done = AddTable(fetched, charts, nullptr, progress, result);
    if (!result.kept_now) return Fail("add-table", result.error);
    const KeptTable& kept = result.kept;
    const auto groups = GroupByLevel(kept.header, kept.data, charts);
    std::printf("%s\t%s\t%s\t%s\n", Shown(kept.header.name).c_str(),
                Shown(kept.header.symbol).c_str(),
                Said(Arg(Tr("Tables", "%1 レベル"), {std::to_string(groups.size())})).c_str(),
                Counts(HeldCount(groups), long(kept.data.entries.size())).c_str());
    PrintLevels(kept, groups);
    PrintSkipped(kept.data);
    PrintNote(result);
    if (!done) return Fail("add-table", result.error);
    return 0;
}

int RunUpdateTables(const CommandCall& call) {
    const KeptTables kept = LoadTables();
    std::vector<const KeptTable*> chosen;
    int failed = 0;
    if (call.args.empty()) {
        for (const KeptTable& t : kept.tables) chosen.push_back(&t);
    } else {
        for (const std::string& name : call.args) {
            const KeptTable* t = FindTable(kept, name, "update-tables");
            if (t)
                chosen.push_back(t);
            else
                ++failed;
        }
    }
    const ChartHashes charts = chosen.empty() ? ChartHashes() : ReadLibrary();
    TerminalProgress progress("bytes received");
    StopOnInterrupt stop(progress);
    int updated = 0;
    for (const KeptTable* old : chosen) {
        FetchedTable fetched;
        std::string error;
        TableJobResult result;
        const bool done = FetchTable(old->source, TableHttpOptions(), progress, fetched, error) &&
                          UpdateTable(*old, fetched, charts, nullptr, progress, result);
        if (result.kept_now)
            std::printf("%s\t%s\n", Shown(result.kept.header.name).c_str(),
                        Said(TableChangesText(result.kept.changes)).c_str());
        PrintNote(result);
        if (!done) {
            std::fprintf(stderr, "QV5: update-tables: %s: %s\n", Shown(old->header.name).c_str(),
                         Said(error.empty() ? result.error : error).c_str());
            ++failed;
            if (progress.StopRequested()) break;
            continue;
        }
        ++updated;
    }
    std::fprintf(stderr, "update-tables: %s\n",
                 Said(Arg(Tr("Tables", "%1 / %2 の表を更新しました。"),
                          {std::to_string(updated), std::to_string(updated + failed)}))
                     .c_str());
    return failed == 0 ? 0 : 1;
}

int RunRemoveTable(const CommandCall& call) {
    const KeptTables kept = LoadTables();
    const KeptTable* t = FindTable(kept, call.args[0], "remove-table");
    if (!t) return 1;
    TerminalProgress progress("charts read");
    StopOnInterrupt stop(progress);
    TableJobResult result;
    const bool done = RemoveTable(*t, nullptr, progress, result);
    PrintNote(result);
    if (!done) return Fail("remove-table", result.error);
    std::printf("%s\n", Said(Arg(Tr("Tables", "表「%1」を削除しました。"),
                                 {Utf8ToCp932Lossy(Shown(t->header.name))}))
                            .c_str());
    return 0;
}

int RunTables(const CommandCall& call) {
    TablesOptions o;
    std::string error;
    if (!ReadOptions(call, o, error)) return UsageError(*call.command, error);
    const KeptTables kept = LoadTables();
    if (!o.has_name) return ListTables(kept, ReadLibrary(), o.json);
    const KeptTable* t = FindTable(kept, o.name, "tables");
    if (!t) return 1;
    return ShowTable(*t, ReadLibrary(), o);
}

}  // namespace qv5
