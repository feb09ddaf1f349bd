// What a library operation tells its caller besides its result.
#pragma once

#include <string>
#include <vector>

namespace qv5 {

struct LibraryReport {
    // Empty on success; otherwise why nothing was stored (SQLite's own text
    // where SQLite failed). The caller shows it.
    std::string error;
    // The progress asked to stop; what the operation began was rolled back.
    bool stopped = false;
    // Entries left out because their path is longer than the host allows.
    long too_long = 0;
    // Folders left out because the walk had reached them by another path
    // (links): each folder is registered once.
    long repeated = 0;
    // After a library operation that stored its rows: the song and folder
    // rows below the path it worked on (the whole library for a rescan).
    long charts = 0;
    long folders = 0;
    // Song folders that were not found (nothing registered for them).
    std::vector<std::string> missing;
};

// Sets `report`'s error; false, for a failure's return.
bool ReportError(LibraryReport& report, const std::string& error);

}  // namespace qv5
