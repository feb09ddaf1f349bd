// Reading back what the program stored: the value of one query, as text or as
// an integer, or every row of a query with its columns joined by '|'. A query
// runs on the song library this process has open (TestDb()), on a given
// connection, or on the database file at a host path, opened afresh as another
// program would read it. Text comes back as CP932, NULL as empty text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv5 {
class Database;
class Statement;
}  // namespace qv5

namespace qv5::test {

class TempGame;

// A database file, by host path or by the program's internal path.
struct DbFile {
    std::string path;
};
// The song.db of a game folder.
DbFile SongDbFile(const std::string& game_host);
DbFile SongDbFile(const TempGame& game);
// The song.db of the program directory.
DbFile ProgramSongDb();

// Binds a query's parameters (from 1), e.g. with BindPrefix.
using Binds = std::function<void(Statement&)>;

// The first column of the first row; `none` when there is no row, or the
// query (or the file) cannot be read.
std::int64_t QueryInt(Database& db, std::string_view sql, const Binds& binds = {},
                      std::int64_t none = -1);
std::int64_t QueryInt(const DbFile& file, std::string_view sql, const Binds& binds = {},
                      std::int64_t none = -1);
std::int64_t QueryInt(std::string_view sql, const Binds& binds = {}, std::int64_t none = -1);

std::string QueryText(Database& db, std::string_view sql, const Binds& binds = {},
                      std::string_view none = "<none>");
std::string QueryText(const DbFile& file, std::string_view sql, const Binds& binds = {},
                      std::string_view none = "<none>");
std::string QueryText(std::string_view sql, const Binds& binds = {},
                      std::string_view none = "<none>");

// Each row as "a|b|c", every column of the query; none when it cannot be read.
std::vector<std::string> QueryRows(Database& db, std::string_view sql, const Binds& binds = {});
std::vector<std::string> QueryRows(const DbFile& file, std::string_view sql,
                                   const Binds& binds = {});
std::vector<std::string> QueryRows(std::string_view sql, const Binds& binds = {});

// The number of song rows whose path is LIKE `pattern` (CP932), -1 when the
// file cannot be read.
std::int64_t SongsLike(const DbFile& file, const std::string& pattern);

// The paths of the rows of `table` (song, folder) under the folder path
// `prefix`, compared as the library compares them, in the song library this
// process has open; in the library's order.
std::vector<std::string> PathsUnder(const std::string& table, const std::string& prefix);

}  // namespace qv5::test
