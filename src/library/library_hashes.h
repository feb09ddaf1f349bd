// The charts of song.db by their hash, for the difficulty tables: read once
// and matched in memory, so that no text of a table reaches a statement.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/database.h"

namespace qv5 {

// The song rows' paths (CP932, as stored) under their hash (md5 of the chart,
// 32 hexadecimal digits, lowered here). Rows whose hash is empty are left out. False, with SQLite's
// text in `error`, when song.db cannot be read.
using ChartHashes = std::unordered_map<std::string, std::vector<std::string>>;
bool ReadChartHashes(Database& db, ChartHashes& out, std::string& error);

}  // namespace qv5
