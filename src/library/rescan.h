// The full rescan: the library rebuilt from the registered roots.
#pragma once

#include <string>
#include <vector>

#include "library/library_report.h"

namespace qv5 {

class Database;
class Progress;

// Empties folder and song and registers every root, then runs the
// difficulty pass as a registration does, in one transaction: a reader (the
// game body) sees the old library until the new one is complete, and a
// failure, a stop request or a kill leaves the old one. A chart whose path
// and file (hash) are unchanged keeps its favourite mark and its added date
// (ChartMarks), so an unchanged tree gives the rows it had. Roots that do
// not exist are skipped and listed in `report.missing`. False when it
// failed or was stopped (see `report`).
bool RescanLibrary(Database& db, const std::vector<std::string>& roots, Progress* progress,
                   LibraryReport& report);

}  // namespace qv5
