// Reads a chart file (or a folderinfo.txt / .qv5folder file, same syntax) into
// a ChartRecord: header commands, the simplest conditional blocks, and the
// channel lines as far as key mode, tempo range, long notes and note count.
#pragma once

#include <string>
#include <string_view>

#include "library/chart_record.h"

namespace qv5 {

// Lines of 102400 bytes or more arrive in pieces of at most this many bytes.
inline constexpr size_t kLinePieceBytes = 102399;

// False when the file cannot be read; the record then holds its initial values.
// Memory stays bounded whatever the file's size: large files are read, parsed
// and hashed piece by piece, with the same result as whole.
bool ReadChartHeader(ChartRecord& record, const std::string& path);

// The header pass over bytes already read (no file-system facts, no hash).
void ParseChartHeader(ChartRecord& record, std::string_view bytes);

}  // namespace qv5
