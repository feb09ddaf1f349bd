// What the conversion passes share: the output's name, the case-blind lookup
// of an expected output, and the state of one pass.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "convert/conversion.h"
#include "convert/converter_pool.h"
#include "platform/files.h"

namespace qv5::convert {

// `name` with its last three letters replaced by `ext` (three letters).
std::string ReplaceLastThree(std::string_view name, std::string_view ext);

// The files of `folder` named `name` ignoring case, each with its stamp: what
// the folder held before a run, to tell afterwards what the run wrote.
struct Snapshot {
    std::string folder;
    std::vector<std::pair<std::string, std::int64_t>> files;
};
Snapshot TakeSnapshot(const std::string& folder, const std::string& name);

// The file named `name` ignoring case that was written since `before` was
// taken (new, or its stamp moved), empty or not; nullopt when none.
std::optional<std::string> WrittenSince(const Snapshot& before, const std::string& name);
// Whether the file `name` of the snapshot's folder was written since.
bool WrittenSince(const Snapshot& before, const DirEntry& entry);

// The entry of `folder` named `name` ignoring case, preferring the exact name.
std::optional<std::string> FindIgnoringCase(const std::string& folder, const std::string& name);

// The running state of one pass.
class Pass {
  public:
    explicit Pass(Progress& progress) : progress_(progress), pool_(progress, ProcessorCount()) {}

    // Before each item: shows it, and says whether to stop instead.
    bool Begin(const std::string& item);
    // Begin for a source file: once stopped, the source is kept (and
    // listed as such), as every source the pass does not convert is.
    bool BeginSource(const std::string& path);
    // Whether an earlier item of this pass produced `path` (case ignored):
    // a second source of that name would overwrite it and then be deleted.
    bool Produced(const std::string& folder, const std::string& name) const;
    void MarkProduced(const std::string& folder, const std::string& name);
    // Takes `name` (case ignored) in `folder` as the output of one source:
    // false when another source has it already, so each needs its own.
    bool Claim(const std::string& folder, const std::string& name);
    // Runs an external converter beside those already running; `settle`
    // runs once it has ended (at the latest in FinishConverters).
    void RunConverter(const std::string& command_line, ConverterPool::Settle settle);
    void FinishConverters() { pool_.Finish(); }
    void Converted() { ++report_.converted; }
    void Kept(const std::string& path) { report_.kept.push_back(path); }
    ConversionReport& report() { return report_; }

  private:
    Progress& progress_;
    ConversionReport report_;
    long done_ = 0;
    std::set<std::string> produced_;
    ConverterPool pool_;  // last: ended first, while what it settles still lives
};

// The entries of a folder in file-system order, listed once before the pass
// changes anything in it (outputs written meanwhile are not visited).
std::vector<DirEntry> ListEntries(const std::string& folder);

// Converts one bmp of a walk to `destination_name` beside it.
void ConvertOneImage(Pass& pass, const std::string& folder, const std::string& name,
                     const std::string& destination_name);

}  // namespace qv5::convert
