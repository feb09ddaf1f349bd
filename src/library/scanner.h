// Turns directories on disk into folder and song rows.
#pragma once

#include <functional>
#include <string>

namespace qv5 {

// Registers a root (a directory, given with its trailing "\", or a
// custom-folder file) in one transaction and scans below it when its row is
// new. 1, or -1 when the path does not exist.
int RegisterRootFolder(const std::string& path);
// Scans a registered directory inside the caller's transaction; returns the
// number of chart and custom-folder files for which an insert was tried.
int ScanFolder(const std::string& path, const std::string& parent_path);
// In a transaction of its own: ScanFolder on the folder containing `path`.
void ScanParentFolder(const std::string& path);

// Chart and custom-folder file names.
bool IsChartFile(const std::string& name);
bool IsCustomFolderFile(const std::string& name);

// Called as charts are read (count so far, folder being scanned); empty to
// switch off. For progress displays.
using ScanProgress = std::function<void(long charts, const std::string& folder)>;
void SetScanProgress(ScanProgress progress);

}  // namespace qv5
