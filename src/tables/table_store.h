// The kept tables of the game folder: QV5files\Tables\<folder>\ a table,
// holding header.json and data.json as they were last fetched (the table
// works offline, and a later reader rebuilds it from them) and state.json,
// this program's own record: the source, the addresses that answered, the
// times and what the last update changed. song.db and config.xml are not
// touched: the game body reads both.
#pragma once

#include <string>
#include <vector>

#include "tables/table.h"
#include "tables/table_fetch.h"
#include "tables/table_match.h"

namespace qv5 {

inline constexpr const char* kTablesFolder = "QV5files\\Tables";

struct KeptTable {
    std::string folder;  // internal path, folder form
    std::string source, page_url, header_url, data_url;
    std::string added, updated;  // UTC, "2026-12-10 12:00:48"
    TableHeader header;
    TableData data;
    bool data_read = true;  // false when loaded without its data (LoadKeptData reads it)
    TableChanges changes;  // of the last update
};

struct KeptTables {
    std::vector<KeptTable> tables;      // in the order of their folder names
    std::vector<std::string> problems;  // a folder that cannot be read, and why (CP932)
};
// With `with_data` false, data.json is left for LoadKeptData: a window
// over many large tables reads the one it shows.
KeptTables LoadKeptTables(bool with_data = true);
// Reads the table's data.json when it was left out; false with a message
// (CP932) when it cannot be read.
bool LoadKeptData(KeptTable& table, std::string& error);

// A folder name for a table's name: its characters that a file name may
// hold in CP932 (others become "_"), at most 64 bytes, never empty, "."
// or a device name, and none of `taken`.
std::string TableFolderName(const std::string& utf8_name, const std::vector<std::string>& taken);

// Makes `fetched` the kept copy: a new table when `previous` is null
// (refused when a kept table has its name), else the new copy of
// `previous`. All or nothing: the three files are written into a new
// folder, which then takes the place of the old one in one rename; on any
// failure the previous copy stays as it was. `kept` gets the table as kept.
bool KeepTable(const FetchedTable& fetched, const TableChanges& changes, const KeptTable* previous,
               KeptTable& kept, std::string& error);

// Deletes the kept table's folder.
bool RemoveKeptTable(const KeptTable& table, std::string& error);

}  // namespace qv5
