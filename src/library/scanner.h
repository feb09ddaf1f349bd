// Turns directories on disk into folder and song rows.
#pragma once

#include <string>

namespace qv5 {

class Progress;

// Registers a root (a directory, given with its trailing "\", or a
// custom-folder file) in one transaction and scans below it when its row is
// new. 1, or -1 when the path does not exist.
int RegisterRootFolder(const std::string& path, Progress* progress = nullptr);
// Scans a registered directory inside the caller's transaction; returns the
// number of chart and custom-folder files for which an insert was tried.
int ScanFolder(const std::string& path, const std::string& parent_path,
               Progress* progress = nullptr);
// In a transaction of its own: ScanFolder on the folder containing `path`.
void ScanParentFolder(const std::string& path);

// Chart and custom-folder file names.
bool IsChartFile(const std::string& name);
bool IsCustomFolderFile(const std::string& name);

}  // namespace qv5
