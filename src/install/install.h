// Installing the songs of an archive into a folder of the song library:
// inspection, extraction and registration, all or nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "install/archive.h"
#include "library/library_report.h"
#include "platform/win_path.h"
#include "player/notice.h"

namespace qv5 {

class SongLibrary;
class Progress;

// The kind a dropped path names by its extension (any case).
std::optional<ArchiveKind> ArchiveKindOfPath(const WinPath& path);

// The archive's file name without its last four characters.
std::string ArchiveBaseName(const std::string& archive);

// True when the folder directly holds a chart file (sub-folders not searched).
bool HoldsChartFiles(const WinPath& dir);

struct InstallResult {
    enum class Status { Installed, LibraryMissing, NoChart, Refused, ExtractFailed, LibraryFailed };
    Status status = Status::Refused;
    ArchiveKind kind = ArchiveKind::Zip;
    Inspection inspection = Inspection::NoChart;
    int extraction = 0;        // the extraction's result value
    std::string folder_name;   // the new folder's name
    std::string new_folder;    // its path, with a trailing "\"
    std::string command_line;  // what the extraction was given
    ExtractReport extract;
    LibraryReport library;
    std::string error;  // CP932, for the failures

    bool installed() const { return status == Status::Installed; }
};

// Installs `archive` (internal path) into the registered folder `destination`
// (internal path, trailing "\" optional): the charts at the archive's root go
// into a folder named after the archive, a folder of the archive is taken
// as it is. The folder is then scanned, given difficulties and brought up to
// date in the song library in one transaction. Whatever fails after the
// extraction began (a write, a stop, the library) removes what it extracted
// and leaves the library as it was.
InstallResult InstallArchive(SongLibrary& library, ArchiveKind kind, const WinPath& archive,
                             const WinPath& destination, Progress* progress = nullptr,
                             const ExtractOptions& options = {});

// What the window or the command line shows after an install, in order: the
// failure (for a missing archive library, the window then offers it), or the
// report of entries that were not extracted. Nothing for a plain success.
std::vector<Notice> InstallNotices(const InstallResult& result);

}  // namespace qv5
