// The difficulty-table levels of the song list's charts ("★12 sl3"). The
// list's rows carry no hash, so the kept tables are matched against
// song.db's hashes and laid over the rows by path. Only the window shows
// them: the `songs` command's columns are the library's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "library/library_hashes.h"

namespace qv5 {

class SongLibrary;
class SongTable;

// A kept table as the list needs it; the texts are UTF-8, as the table
// gives them.
struct ListedTable {
    std::string name, symbol;
    std::vector<std::string> levels;  // in the table's level order
};

// The filter by table: a table of ChartLevels::Tables() (-1: any chart)
// and one of its levels (-1: any).
struct LevelFilter {
    int table = -1, level = -1;
    bool operator==(const LevelFilter&) const = default;
};

// The kept tables' levels, each with the md5s it lists; levels of every
// table numbered in one run, tables in kept order, so that a chart's
// ascending numbers are its levels in shown order.
struct LevelTables {
    struct Level {
        std::uint32_t table;
        std::string text;  // the table's symbol and the level
        std::vector<Md5Key> md5s;
    };
    std::vector<ListedTable> tables;
    std::vector<std::uint32_t> first;  // per table, the number of its first level; then the end
    std::vector<Level> levels;
};
// Reads the kept tables (LoadKeptTables). Only files are read: it may run
// on a thread of its own.
LevelTables ReadLevelTables();

// What the kept tables' files are now: the folders and their state files,
// which every keep, update and removal rewrites.
std::string KeptTablesStamp();

class ChartLevels {
  public:
    // Takes tables read by ReadLevelTables; the rows are matched again by
    // Match.
    void SetTables(LevelTables tables);
    // Lays the tables over `rows`, reading song.db's hashes when a table is
    // kept. False when they cannot be read (no row is then listed).
    bool Match(SongLibrary& library, const SongTable& rows);

    const std::vector<ListedTable>& Tables() const { return read_.tables; }
    // The levels of a row, tables in kept order: "★12 sl3".
    std::string Text(std::uint32_t row) const;
    // Whether the row is listed at the table (its index in Tables()) and at
    // its level (an index into its levels; -1 for any).
    bool Listed(std::uint32_t row, int table, int level) const;
    // `order` sorted by the levels, tables in kept order, then levels in
    // each table's order; rows of no table last either way. Stable: rows
    // of the same levels stay in the order given.
    void Sort(std::vector<std::uint32_t>& order, bool descending) const;
    size_t MemoryBytes() const;

  private:
    LevelTables read_;
    // Per row, its level numbers: ids_[offsets_[row] .. offsets_[row + 1]).
    std::vector<std::uint32_t> offsets_, ids_;
};

}  // namespace qv5
