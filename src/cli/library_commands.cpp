// add-root, refresh and rescan: the commands that need no more than the song
// library and config.xml.
#include <sqlite3.h>

#include <cstdio>

#include "browser/root_registration.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/stop_on_interrupt.h"
#include "config/config_file.h"
#include "library/encodings.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/transaction.h"
#include "platform/win_path.h"
#include "player/player_db.h"

namespace qv5 {
namespace {

std::string Show(const std::string& internal) {
    return ShownPath(internal);
}

// The library's own text, or what a stop or a skipped entry means.
int FailReport(const char* what, const LibraryReport& report) {
    return CommandFailed(std::string(what) + ": " + report.error);
}

void WarnSkipped(const LibraryReport& report) {
    if (report.too_long > 0)
        std::fprintf(stderr,
                     "QV5: %s left out: their paths are longer than the system allows\n",
                     Counted(report.too_long, "entry").c_str());
    if (report.repeated > 0)
        std::fprintf(stderr,
                     "QV5: %s met again through links were left out: each folder is "
                     "registered once\n",
                     Counted(report.repeated, "folder").c_str());
}

// A folder as a dropped folder is stored, with a trailing "\".
bool ToLibraryPath(const std::string& host, const std::string& start_dir, std::string& out,
                   std::string& error) {
    auto internal = CommandLinePath(host, start_dir, error, "no such folder");
    if (!internal) return false;
    if (IsDirectory(*internal)) *internal = WinPath(*internal).AsFolder().text();
    out = *internal;
    return true;
}

// A wait for another program's lock is told on `progress` (may be null).
bool OpenLibrary(SongLibrary& library, const ConfigRecord& config, std::string& error,
                 Progress* progress = nullptr) {
    return OpenLibraryForChanges(library, config, error, progress);
}

// RegisterRoot (root_registration.h) stores the rows and the list entry together.
int AddRoot(ConfigRecord& config, ConfigState state, const std::string& host,
            const std::string& start_dir) {
    std::string path, error;
    if (!ToLibraryPath(host, start_dir, path, error)) return CommandFailed(error);
    if (!WinPath(path).IsFolderForm()) return CommandFailed("not a folder: " + host);
    if (state == ConfigState::Unreadable)
        return CommandFailed(
            std::string(kConfigPath) +
            " cannot be read; add-root would lose its song folders. Mend or remove it.");
    if (std::string conflict = RootConflict(config, path); !conflict.empty())
        return CommandFailed(conflict);
    LibraryReport report;
    {
        TerminalProgress progress("charts read");
        StopOnInterrupt stop(progress);
        SongLibrary library;
        if (!OpenLibrary(library, config, error, &progress)) return CommandFailed(error);
        if (!RegisterRoot(library, config, path, &progress, report, error))
            return CommandFailed(error);
    }
    WarnSkipped(report);
    std::printf("add-root: %s in %s registered from %s\n", Counted(report.charts, "chart").c_str(),
                Counted(report.folders, "folder").c_str(), Show(path).c_str());
    return 0;
}

int Refresh(const ConfigRecord& config, const std::string& host, const std::string& start_dir) {
    std::string path, error;
    if (!ToLibraryPath(host, start_dir, path, error)) return CommandFailed(error);
    SongLibrary library;
    if (!OpenLibrary(library, config, error)) return CommandFailed(error);
    const std::optional<bool> registered = library.IsInLibrary(WinPath(path));
    if (!registered)
        return CommandFailed("cannot read the song library " + std::string(kSongDbPath) + ": " +
                             library.LastError());
    if (!*registered) return CommandFailed("not in a registered song folder: " + Show(path));
    LibraryReport report;
    {
        TerminalProgress progress("charts read");
        StopOnInterrupt stop(progress);
        if (!library.RefreshSongFolder(WinPath(path), &progress, report))
            return FailReport("the library was left as it was", report);
    }
    WarnSkipped(report);
    std::printf("refresh: %s in %s below %s\n", Counted(report.charts, "chart").c_str(),
                Counted(report.folders, "folder").c_str(), Show(path).c_str());
    return 0;
}

// The song folders are read again once the library's write lock is held,
// under config.xml's lock: an add-root or remove-root has then either stored
// its rows and changed the list already, or waits for this rescan to end.
int Rescan(const ConfigRecord& first, ConfigState state) {
    if (state == ConfigState::Unreadable)
        return CommandFailed(
            std::string(kConfigPath) +
            " cannot be read, so its song folders are unknown; the library was left as "
            "it was. Mend or remove the file.");
    std::string error;
    ConfigRecord config;
    LibraryReport report;
    {
        TerminalProgress progress("charts read");
        StopOnInterrupt stop(progress);
        SongLibrary library;
        if (!OpenLibrary(library, first, error, &progress)) return CommandFailed(error);
        bool unreadable = false;
        auto read_list = [&](std::vector<std::string>& roots, std::string&) {
            FolderLock lock(kConfigFolder);
            if (LoadConfig(config) == ConfigState::Unreadable) return !(unreadable = true);
            roots.assign(config.path.begin(), config.path.begin() + config.path_count);
            return true;
        };
        if (!library.RescanSongFolders(read_list, &progress, report)) {
            if (unreadable)
                return CommandFailed(std::string(kConfigPath) +
                                     " cannot be read any more; the library was left as it was.");
            return FailReport("the library was left as it was", report);
        }
    }
    for (const std::string& root : report.missing)
        std::fprintf(stderr, "QV5: song folder not found: %s\n", Show(root).c_str());
    WarnSkipped(report);
    std::printf("rescan: %s in %s from %s\n", Counted(report.charts, "chart").c_str(),
                Counted(report.folders, "folder").c_str(),
                Counted(config.path_count, "song folder").c_str());
    return report.missing.empty() ? 0 : 1;
}

}  // namespace

int RunAddRoot(const CommandCall& call) {
    ConfigRecord config;
    const ConfigState state = LoadConfig(config);
    if (state == ConfigState::Unreadable) CommandFailed(UnreadableConfigMessage());
    return AddRoot(config, state, call.args[0], call.start_dir);
}

int RunRefresh(const CommandCall& call) {
    ConfigRecord config;
    LoadCommandConfig(config);
    return Refresh(config, call.args[0], call.start_dir);
}

int RunRescan(const CommandCall&) {
    ConfigRecord config;
    const ConfigState state = LoadConfig(config);
    if (state == ConfigState::Unreadable) CommandFailed(UnreadableConfigMessage());
    return Rescan(config, state);
}

}  // namespace qv5
