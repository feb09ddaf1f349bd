#include "cli/command_songs.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unordered_set>

#include "cli/command_parse.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "config/config_record.h"
#include "library/library_hashes.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/win_path.h"
#include "player/player_db.h"
#include "tables/level_folder_files.h"

namespace qv5 {
namespace {

bool ReadInt(const std::string& text, std::int32_t& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::stoi(text);
    return true;
}

// "A-B", "A-", "-B" or "A".
bool ReadLevelRange(const std::string& text, SongFilter& f) {
    const size_t dash = text.find('-');
    std::int32_t a = 0, b = 0;
    if (dash == std::string::npos) {
        if (!ReadInt(text, a)) return false;
        f.level_min = f.level_max = a;
        return true;
    }
    const std::string low = text.substr(0, dash), high = text.substr(dash + 1);
    if (low.empty() && high.empty()) return false;
    if (!low.empty()) {
        if (!ReadInt(low, a)) return false;
        f.level_min = a;
    }
    if (!high.empty()) {
        if (!ReadInt(high, b)) return false;
        f.level_max = b;
    }
    return true;
}

bool ReadDifficulty(const std::string& text, std::int32_t& value) {
    for (std::int32_t d = 1; d <= 5; ++d)
        if (text == DifficultyName(d) || text == std::to_string(d)) {
            value = d;
            return true;
        }
    return false;
}

}  // namespace

std::optional<SongsOptions> ParseSongsOptions(const CommandCall& call, std::string& wrong) {
    SongsOptions o;
    for (const auto& [name, v] : call.options) {
        bool ok = true;
        if (name == "--table") {
            o.table = v;
        } else if (name == "--mode") {
            ok = ReadInt(v, o.filter.mode) && o.filter.mode > 0;
        } else if (name == "--level") {
            ok = ReadLevelRange(v, o.filter);
        } else if (name == "--difficulty") {
            ok = ReadDifficulty(v, o.filter.difficulty);
        } else if (name == "--sort") {
            const bool reverse = !v.empty() && v[0] == '-';
            const auto column = ColumnByKey(reverse ? v.substr(1) : v);
            ok = column.has_value();
            if (column) {
                o.sort = *column;
                o.descending = DescendingFirst(*column) != reverse;
            }
        } else {
            o.tsv = o.tsv || name == "--tsv";
            o.filter.favorites = o.filter.favorites || name == "--favorites";
            o.filter.not_played = o.filter.not_played || name == "--not-played";
            o.filter.not_cleared = o.filter.not_cleared || name == "--not-cleared";
            o.filter.new_only = o.filter.new_only || name == "--new";
        }
        if (!ok) {
            wrong = name;
            return std::nullopt;
        }
    }
    std::string words;
    for (const std::string& a : call.args) {
        if (!words.empty()) words += ' ';
        words += a;
    }
    o.filter.words = words;
    return o;
}

std::optional<std::vector<std::string>> TableLevelMd5s(const std::vector<LevelFolderLevel>& levels,
                                                       const std::string& choice,
                                                       std::string& error) {
    const auto named = [&levels](const std::string& name) {
        return std::any_of(levels.begin(), levels.end(),
                           [&](const LevelFolderLevel& l) { return l.table == name; });
    };
    std::string name = LevelFileText(choice), level;
    bool has_level = false;
    if (const size_t colon = choice.rfind(':'); !named(name) && colon != std::string::npos) {
        name = LevelFileText(choice.substr(0, colon));
        level = LevelFileText(choice.substr(colon + 1));
        has_level = true;
    }
    if (!named(name)) {
        error = "no table \"" + Cp932ToUtf8(name) + "\" among the level folders in " +
                std::string(kLevelFoldersRoot);
        return std::nullopt;
    }
    std::vector<std::string> md5s;
    bool found = false;
    for (const LevelFolderLevel& l : levels) {
        if (l.table != name || (has_level && l.title != level)) continue;
        found = true;
        md5s.insert(md5s.end(), l.md5s.begin(), l.md5s.end());
    }
    if (!found) {
        error =
            "no level \"" + Cp932ToUtf8(level) + "\" in the table \"" + Cp932ToUtf8(name) + "\"";
        return std::nullopt;
    }
    return md5s;
}

// One chart a line: a tab or line break in a name or a header text would
// break the line up, and an escape sequence would reach the terminal.
std::string SongsLine(const SongTable& table, size_t row, bool tsv) {
    if (tsv) {
        // The path as the game and song.db name it, which scripts match;
        // the host path last.
        std::string line = EscapeControls(table.Cell(row, SongColumn::Path));
        for (int c = 0; c < kSongColumns; ++c) {
            if (static_cast<SongColumn>(c) == SongColumn::Path) continue;
            line += '\t';
            line += EscapeControls(table.Cell(row, static_cast<SongColumn>(c)));
        }
        return line + '\t' + EscapeControls(ShownPath(table.ChartPath(row)));
    }
    std::string line = EscapeControls(ShownPath(table.ChartPath(row)));
    for (SongColumn c : {SongColumn::Title, SongColumn::Artist, SongColumn::Level,
                         SongColumn::ExLevel, SongColumn::Mode, SongColumn::Lamp,
                         SongColumn::Rate}) {
        const std::string cell = table.Cell(row, c);
        if (!cell.empty()) line += "  " + EscapeControls(cell);
    }
    return line;
}

// Prints the rows of the library of config's player; exits 0 when the
// library could be read (whether or not any row passed).
int RunSongs(const CommandCall& call) {
    ConfigRecord config;
    LoadCommandConfig(config);
    std::string error;
    std::string wrong;
    auto options = ParseSongsOptions(call, wrong);
    if (!options) return WrongValue(call, wrong, *call.Value(wrong));
    if (!IsDirectory("QV5files\\Database")) {
        std::fprintf(stderr, "QV5: no QV5files/Database folder in %s\n",
                     ShownPath(ProgramDirectory()).c_str());
        return 1;
    }
    options->filter.new_hours = config.titleflash;
    options->filter.now = std::time(nullptr);
    SongLibrary library;
    library.Open(ExistingPlayerDb(config.id));
    SongTable table;
    ChartHashes charts;
    const bool loaded =
        table.Load(library, &error) && (!options->table || library.ReadChartHashes(charts, error));
    library.Close();
    if (!loaded) {
        std::fprintf(stderr, "QV5: cannot read the song library: %s\n", error.c_str());
        return 1;
    }
    auto rows =
        FilterRows(table, SortedRows(table, options->sort, options->descending), options->filter);
    if (options->table) {
        const auto md5s = TableLevelMd5s(ReadLevelFolders(), *options->table, error);
        if (!md5s) {
            std::fprintf(stderr, "QV5: %s\n", error.c_str());
            return 1;
        }
        // The table's charts as the level folder's command selects them:
        // every row of a listed hash, whatever its path.
        std::unordered_set<std::uint32_t> listed;
        for (const std::string& md5 : *md5s)
            if (const auto key = ParseMd5(md5))
                for (const std::string& path : charts.PathsOf(*key))
                    if (const std::ptrdiff_t row = table.Find(WinPath(path)); row >= 0)
                        listed.insert(std::uint32_t(row));
        std::erase_if(rows, [&listed](std::uint32_t row) { return !listed.count(row); });
    }
    if (options->tsv) {
        std::string header = "path";
        for (int c = 0; c < kSongColumns; ++c)
            if (static_cast<SongColumn>(c) != SongColumn::Path)
                header += std::string("\t") + ColumnKey(static_cast<SongColumn>(c));
        std::printf("%s\thost_path\n", header.c_str());
    }
    for (std::uint32_t row : rows) std::printf("%s\n", SongsLine(table, row, options->tsv).c_str());
    std::fprintf(stderr, "songs: %zu / %s\n", rows.size(), Counted(long(table.size()), "chart").c_str());
    return 0;
}

}  // namespace qv5
