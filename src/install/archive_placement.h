// An archive of additional charts: charts made for songs the player has,
// which come without most of the sounds they use. The archive is extracted
// into a staging folder of its own first; each chart then goes into the song
// folder whose files it uses (library/chart_placement.h), with the files
// beside it in the archive that it uses and that folder lacks. An archive
// whose charts bring their sounds is a new song, installed as any other.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "install/archive.h"
#include "library/chart_placement.h"
#include "library/library_report.h"
#include "platform/win_path.h"

namespace qv5 {

class Progress;
class SongLibrary;

struct StagedChart {
    WinPath chart;  // in the staging folder
    std::optional<Placement> placement;
    long used = 0, beside = 0;  // names it uses, and those the archive has beside it
    bool Placed() const { return placement && placement->certain; }
};

struct StagedArchive {
    WinPath staging;  // folder form; empty until extracted
    ExtractReport extract;
    std::vector<StagedChart> charts;
    // Most of what the charts use is not in the archive: additional charts.
    bool Additional() const;
};

// Whether `archive` may be one of additional charts, told from its entries
// without extracting it: its charts (read into memory) use names that for
// the most part no file of the archive has, anywhere in it. False for an
// archive that brings its sounds, which is then installed as a new song
// without being staged first; true when it cannot be read (staging says
// why). Where this says no, the staging would find no additional charts.
bool MayHoldAdditionalCharts(ArchiveKind kind, const WinPath& archive);

// Extracts `archive` into a new staging folder below QV5files and places
// each of its charts by `index`. False (with a CP932 message) when the
// archive cannot be extracted or holds no chart; the staging folder is then
// gone already.
bool StageArchive(ArchiveKind kind, const WinPath& archive, const SongFolderIndex& index,
                  Progress* progress, StagedArchive& staged, std::string& error);

// Deletes the staging folder and what was extracted into it.
void DropStaging(StagedArchive& staged);

// What PlaceStagedCharts did with each chart, for the summary.
struct ChartPut {
    WinPath chart;     // in the staging folder
    std::string into;  // the folder it went into (folder form); empty: left out
    std::string name;  // its name there
    bool renamed = false, already_there = false, placed = false;
    long files = 0;  // files it brought
};

// Copies each placed chart, and the files beside it that it uses and its
// song folder lacks, into that folder; the others into `rest` (a folder of
// the archive's name made below it, as an install makes one) when given,
// else they are left out. Nothing is ever replaced; a chart whose name is
// taken by other bytes gets a free one ("name (2).bme"). Then every folder
// written is registered in song.db. All or nothing: on a failure every file
// copied is deleted again and the folders' rows brought back. `index` takes
// in what was copied.
bool PlaceStagedCharts(SongLibrary& library, SongFolderIndex& index, const StagedArchive& staged,
                       const std::optional<WinPath>& rest, const std::string& archive_base,
                       Progress* progress, std::vector<ChartPut>& puts, std::string& error);

}  // namespace qv5
