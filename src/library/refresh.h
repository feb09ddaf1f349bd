// Keeping the library in step with the disk: refresh, move and removal of
// everything below a path prefix (matched literally and case-sensitively).
#pragma once

#include <string>

namespace qv5 {

class Progress;

// Re-reads changed charts, drops vanished entries, rescans folders, re-runs
// the difficulty pass; `progress` (may be null) hears of charts read. Returns 1.
int RefreshFolder(const std::string& prefix, Progress* progress = nullptr);
// After a move or rename on disk: rewrites paths and keys below old_prefix.
void MovePaths(const std::string& old_prefix, const std::string& new_prefix);
// After a delete on disk: removes song and folder rows below prefix. Returns 1.
int RemovePaths(const std::string& prefix);

}  // namespace qv5
