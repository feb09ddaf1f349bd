// Rules of the registered root folder list and of the paths the folder tree
// hands to the file system. No widgets here: the command line uses them too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win_path.h"

namespace qv5 {

// The longest path the tree's commands accept, in bytes. A longer one is
// refused rather than cut: a cut path names a different entry.
inline constexpr size_t kMaxTreePath = 259;
bool PathTooLong(std::string_view path);
// "パスが長すぎます…" with the path, for the refusal.
std::string PathTooLongMessage(const std::string& path);

// A path in the form a dropped folder is stored: relative to the program
// directory when inside it, with a trailing "\" when `folder`.
std::string StoredRootPath(std::string path, bool folder);

// The duplicate rule: the message to show when `path` (as it will be stored)
// equals a root or lies below one, empty when it may be added.
std::string RootConflictMessage(const std::vector<std::string>& roots, const std::string& path);

// The window's root list brought in step with what another program (a
// command beside the window) did to the list in config.xml. `shown` is the
// window's list, `read` the file's list when the window last read it, `now`
// the file's list at present. The window's own changes since `read` (roots it
// added or removed) stay; of the others, roots gone from the file leave and
// roots new in the file are appended, in the file's order.
std::vector<std::string> MergeRootLists(const std::vector<std::string>& shown,
                                        const std::vector<std::string>& read,
                                        const std::vector<std::string>& now);

// An internal path made absolute against the program directory.
std::string AbsolutePath(const std::string& path);
// True when some root is `folder` itself or lies below it (both forms of a
// path are compared absolute).
bool HoldsRoot(const std::vector<std::string>& roots, const WinPath& folder);

// A name that stays one entry of its folder: not empty, not "." or "..",
// no separator.
bool IsPlainName(std::string_view name);

}  // namespace qv5
