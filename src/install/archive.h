// Song archives (zip and rar): where their charts lie, and extraction into a
// song folder. Entry names become CP932 inside the program and UTF-8 on disk.
// Nothing an entry says may write outside the destination, create a link,
// or replace a file that is already there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv5 {

class Progress;

enum class ArchiveKind { Zip, Rar };

enum class Inspection { LibraryMissing, NoChart, ChartAtRoot, ChartInFolder };

// The folder name found by the last inspection; the drop handler reads it
// afterwards and may overwrite it.
std::string& SharedFolderName();

// Where the first chart of each pattern lies; LibraryMissing when this kind
// cannot be read (LoadFailureText says so). Shows nothing. `archive` is an
// internal path.
// `read_error` (may be null) gets the reason when the archive could not be
// read through; the result is then what was found before.
Inspection InspectArchive(ArchiveKind kind, const std::string& archive,
                          std::string* read_error = nullptr);

// The text before the first "/" found after the first character, else before
// the first "\" found there; empty when neither. Character by character: a
// CP932 trail byte is never a separator.
std::string FolderOfEntry(const std::string& cp932_name);

// What one extraction did, for the caller's report.
struct ExtractReport {
    long files = 0;          // files written
    long folders = 0;        // folders created
    std::int64_t bytes = 0;  // bytes written
    long kept = 0;           // entries whose file exists already: not replaced
    long unsafe = 0;         // names leading outside the destination
    long links = 0;          // symbolic and hard links, devices, FIFOs
    long unnamable = 0;      // names without a CP932 form
    long too_large = 0;      // entries beyond ExtractOptions::max_bytes
    long too_long = 0;       // names longer than the host allows
    bool encrypted = false;  // refused whole: it holds encrypted entries
    bool stopped = false;    // the progress asked to stop; all was removed
    bool no_space = false;   // an entry did not fit on the disk; all was removed
    std::int64_t max_bytes = -1;  // the limit too_large counts against (-1: none)
    std::string error;       // CP932; why the extraction failed (all removed)
    // What this extraction created (internal paths), in creation order, so
    // that a later failure can take it back.
    struct Created {
        std::string path;
        bool folder = false;
    };
    std::vector<Created> created;
    // What UndoExtraction took back from the disk, in the order it did.
    std::vector<Created> taken_back;

    long Skipped() const { return kept + unsafe + links + unnamable + too_large + too_long; }
};

struct ExtractOptions {
    // Most bytes the extraction may write in all, against archives that
    // unpack to far more than they hold: entries beyond it are left out and
    // counted. -1: no such limit. Independent of it, an entry that does not
    // fit in the free space fails the whole extraction.
    std::int64_t max_bytes = -1;
};

// Takes the command-line forms of the archiver libraries:
//   -x "ARCHIVE" "DEST/" *.*   and   -x "ARCHIVE" "DEST/BASE/" *.*
// (internal paths; "/" separates the folders to create). 0 when this kind of
// archive cannot be read (nothing is shown: LoadFailureText), 1 on success, 2 when
// the extraction failed or was stopped: then nothing of it stays on disk and
// `report.error` says why. Each file is written under a temporary name in its
// folder and renamed into place, never over an existing file, once complete:
// a process killed midway leaves no file cut short under an entry's name.
int ExtractArchive(ArchiveKind kind, const std::string& command_line, ExtractReport& report,
                   const ExtractOptions& options = {}, Progress* progress = nullptr);

// Deletes what an extraction created (files, then the folders it made, last
// first); what existed before is never touched.
void UndoExtraction(ExtractReport& report);

// What to tell when this kind of archive cannot be read: found so by the
// inspection, or by the extraction (CP932).
std::string LoadFailureText(ArchiveKind kind, bool inspection);

// Whether the linked archive library reads this kind.
bool ArchiveKindReadable(ArchiveKind kind);
// Tests: pretend a kind cannot be read (true restores).
void SetArchiveKindReadableForTesting(ArchiveKind kind, bool readable);

}  // namespace qv5
