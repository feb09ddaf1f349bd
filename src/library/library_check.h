// The library check: what stands between the song folders and what the game
// can play. Reads the disk and song.db and changes neither: duplicate
// charts, files a chart uses that its folder lacks, charts that cannot be
// read, names the library cannot hold, and rows or charts out of date.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv5 {

class SongLibrary;
class Progress;

enum class CheckKind { Duplicates, Missing, Unreadable, Names, OutOfDate };
inline constexpr int kCheckKinds = 5;
// The order findings come in: the small groups a player can act on at once
// first, the missing files (often thousands of them) last.
inline constexpr CheckKind kReportOrder[kCheckKinds] = {
    CheckKind::OutOfDate, CheckKind::Unreadable, CheckKind::Names, CheckKind::Duplicates,
    CheckKind::Missing};
// The word of each kind on the command line and in reports.
const char* CheckKindWord(CheckKind kind);

enum class CheckReason {
    SameHash,                // Duplicates: files of one song hash
    MissingFiles,            // Missing: names a chart uses that its folder lacks
    EmptyHash,               // Unreadable: a song row without a hash
    NoNotes,                 // Unreadable: a chart file without notes
    CannotOpen,              // Unreadable: a chart file that cannot be read
    TooLarge,                // Unreadable: a chart file larger than any chart
    NoShiftJisForm,          // Names: a name without a Shift-JIS form
    TooLong,                 // Names: a path longer than the system allows
    RowWithoutFile,          // OutOfDate: a song row whose file is gone
    FolderRowWithoutFolder,  // OutOfDate: a folder row whose folder (or file) is gone
    ChartNotInLibrary,       // OutOfDate: a chart file without a song row
    SongFolderMissing,       // OutOfDate: a song folder of the list that does not exist
};
CheckKind KindOf(CheckReason reason);
const char* CheckReasonWord(CheckReason reason);

struct CheckFile {
    std::string path;  // internal
    std::int64_t size = 0;
};

struct CheckFinding {
    CheckReason reason;
    // Internal path (CP932) of the chart, row or folder; for names the folder
    // that holds the entry.
    std::string path;
    // Names: the entry's host path and the first character without a form
    // (both UTF-8). Duplicates: the song hash in `detail`.
    std::string host_path, detail;
    // Missing: how many names are missing, and the first few of them (CP932).
    long count = 0;
    std::vector<std::string> names;
    // Duplicates: every file of the hash.
    std::vector<CheckFile> files;
};

struct CheckOptions {
    // The song folders to walk, as config.xml lists them (a custom-folder
    // file is checked for its existence only).
    std::vector<std::string> roots;
    // The kinds to look for; all by default.
    bool kinds[kCheckKinds] = {true, true, true, true, true};
    bool Wants(CheckKind kind) const { return kinds[int(kind)]; }
};

struct CheckResult {
    // Grouped by kind (in kReportOrder), each kind by path.
    std::vector<CheckFinding> findings;
    long charts = 0, folders = 0;  // read and walked
    bool stopped = false;          // the progress asked to stop: what was found so far
    std::string error;             // the library could not be read (nothing checked)
    long Count(CheckKind kind) const;
};

// The missing-file findings of one chart folder ("cat01\song00050\").
struct MissingGroup {
    std::string folder;           // internal, with its trailing "\"
    long charts = 0, files = 0;   // charts with missing files, and the files they miss
    std::vector<size_t> findings;  // indices into CheckResult::findings, by path
};
// The missing-file findings of `result` by chart folder, in path order.
std::vector<MissingGroup> MissingByFolder(const CheckResult& result);

// How many names of a chart's missing files a finding keeps.
inline constexpr size_t kMissingNamesKept = 5;

// Checks the song folders against the disk and the library (only read).
// Charts are read on worker threads, each once; `progress` (may be null)
// hears of charts read and the folder walked, and may stop the check, which
// then returns what it found so far.
CheckResult CheckLibrary(SongLibrary& library, const CheckOptions& options, Progress* progress);

}  // namespace qv5
