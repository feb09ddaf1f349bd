#include "support/library_rows.h"

#include "library/song_library.h"
#include "platform/database.h"
#include "support/temp_game.h"
#include "support/test_library.h"

namespace qv5::test {

namespace {

// Runs `read` on a prepared statement of `sql` on `db`; false when it cannot
// be prepared.
template <typename Read>
bool WithStatement(Database& db, std::string_view sql, const Binds& binds, Read read) {
    Statement s = db.Prepare(sql);
    if (!s) return false;
    if (binds) binds(s);
    read(s);
    return true;
}

// Runs `read` on a statement of `sql` on its own connection to `file`.
template <typename Read>
bool WithStatement(const DbFile& file, std::string_view sql, const Binds& binds, Read read) {
    Database db;
    if (!db.Open(file.path, Database::Mode::OpenExisting)) return false;
    return WithStatement(db, sql, binds, read);
}

template <typename Where>
std::int64_t Int(Where& where, std::string_view sql, const Binds& binds, std::int64_t none) {
    std::int64_t value = none;
    WithStatement(where, sql, binds, [&](Statement& s) {
        if (s.Step()) value = s.Int64(0);
    });
    return value;
}

template <typename Where>
std::string Text(Where& where, std::string_view sql, const Binds& binds, std::string_view none) {
    std::string value(none);
    WithStatement(where, sql, binds, [&](Statement& s) {
        if (s.Step()) value = s.Text(0);
    });
    return value;
}

template <typename Where>
std::vector<std::string> Rows(Where& where, std::string_view sql, const Binds& binds) {
    std::vector<std::string> rows;
    WithStatement(where, sql, binds, [&](Statement& s) {
        while (s.Step()) {
            std::string row;
            for (int c = 0; c < s.Columns(); ++c) row += (c ? "|" : "") + s.Text(c);
            rows.push_back(std::move(row));
        }
    });
    return rows;
}

}  // namespace

DbFile SongDbFile(const std::string& game_host) {
    return {game_host + "/QV5files/Database/song.db"};
}
DbFile SongDbFile(const TempGame& game) {
    return SongDbFile(game.host());
}
DbFile ProgramSongDb() {
    return {kSongDbPath};
}

std::int64_t QueryInt(Database& db, std::string_view sql, const Binds& binds, std::int64_t none) {
    return Int(db, sql, binds, none);
}
std::int64_t QueryInt(const DbFile& file, std::string_view sql, const Binds& binds,
                      std::int64_t none) {
    return Int(file, sql, binds, none);
}
std::int64_t QueryInt(std::string_view sql, const Binds& binds, std::int64_t none) {
    return Int(TestDb(), sql, binds, none);
}

std::string QueryText(Database& db, std::string_view sql, const Binds& binds,
                      std::string_view none) {
    return Text(db, sql, binds, none);
}
std::string QueryText(const DbFile& file, std::string_view sql, const Binds& binds,
                      std::string_view none) {
    return Text(file, sql, binds, none);
}
std::string QueryText(std::string_view sql, const Binds& binds, std::string_view none) {
    return Text(TestDb(), sql, binds, none);
}

std::vector<std::string> QueryRows(Database& db, std::string_view sql, const Binds& binds) {
    return Rows(db, sql, binds);
}
std::vector<std::string> QueryRows(const DbFile& file, std::string_view sql, const Binds& binds) {
    return Rows(file, sql, binds);
}
std::vector<std::string> QueryRows(std::string_view sql, const Binds& binds) {
    return Rows(TestDb(), sql, binds);
}

std::int64_t SongsLike(const DbFile& file, const std::string& pattern) {
    return QueryInt(file, "SELECT count(*) FROM song WHERE path LIKE ?1",
                    [&](Statement& s) { s.Bind(1, pattern); });
}

std::vector<std::string> PathsUnder(const std::string& table, const std::string& prefix) {
    return QueryRows("SELECT path FROM " + table + " WHERE " + PrefixCondition(1),
                     [&](Statement& s) { BindPrefix(s, 1, prefix); });
}

}  // namespace qv5::test
