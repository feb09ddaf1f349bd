#include "cli/library_commands.h"

#include <limits.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>

#include "cli/command_line.h"
#include "cli/stop_on_interrupt.h"
#include "config/config_file.h"
#include "library/difficulty.h"
#include "library/encodings.h"
#include "library/refresh.h"
#include "library/rescan.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/transaction.h"
#include "platform/tr.h"

namespace qv5 {

int CommandFailed(const std::string& message) {
    std::fprintf(stderr, "QV5: %s\n", message.c_str());
    return 1;
}

std::string FromStartDir(const std::string& host, const std::string& start_dir) {
    return !host.empty() && host.front() == '/' ? host : start_dir + "/" + host;
}

int FinishCommand(int code) {
    // A summary that never arrived is a failure too (a full disk, a closed pipe).
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        CommandFailed("cannot write the output");
        return code == 0 ? 1 : code;
    }
    return code;
}

namespace {

std::string Show(const std::string& internal) {
    return Cp932ToUtf8(internal);
}

// The library's own text, or what a stop or a skipped entry means.
int FailReport(const char* what, const LibraryReport& report) {
    return CommandFailed(std::string(what) + ": " + report.error);
}

void WarnSkipped(const LibraryReport& report) {
    if (report.too_long > 0)
        std::fprintf(stderr,
                     "QV5: %ld entries left out: their paths are longer than the system "
                     "allows\n",
                     report.too_long);
    if (report.repeated > 0)
        std::fprintf(stderr,
                     "QV5: %ld folders met again through links were left out: each "
                     "folder is registered once\n",
                     report.repeated);
}

// A folder as a dropped folder is stored, with a trailing "\".
bool ToLibraryPath(const std::string& host, const std::string& start_dir, std::string& out,
                   std::string& error) {
    auto internal = CommandLinePath(host, start_dir, error, "no such folder");
    if (!internal) return false;
    if (IsDirectory(*internal)) *internal += '\\';
    out = *internal;
    return true;
}

// A wait for another program's lock is told on `progress` (may be null).
bool OpenLibrary(const ConfigRecord& config, std::string& error, Progress* progress = nullptr) {
    if (!IsDirectory("QV5files\\Database")) {
        error = "no QV5files/Database folder in " + Show(ProgramDirectory());
        return false;
    }
    OpenSongLibrary(config.id);
    Database& db = SongLibrary();
    bool writable = db.IsOpen() && sqlite3_db_readonly(db.handle(), "main") == 0;
    if (writable) {
        BusyReporting busy(db, progress);
        Transaction probe(db);
        writable = probe.ok() && probe.Commit();
    }
    if (!writable) {
        error = "cannot write the song library " + std::string(kSongDbPath);
        if (!db.LastError().empty()) error += ": " + db.LastError();
        return false;
    }
    return true;
}

int Count(const char* table, const std::string& prefix) {
    return CountRowsBelow(table, prefix);
}

// The duplicate rule of the root list; empty when `path` may be added.
std::string RootConflict(const ConfigRecord& config, const std::string& path) {
    for (int i = 0; i < config.path_count; ++i) {
        const std::string& root = config.path[i];
        if (root == path)
            return Show(Tr("LibraryCommands", "このフォルダは既に登録されています。")) + " " +
                   Show(path);
        if (!root.empty() && path.compare(0, root.size(), root) == 0)
            return Show(Tr("LibraryCommands", "親フォルダが既に登録されています。")) + " " +
                   Show(root);
    }
    if (config.path_count >= kMaxSongFolders) return "1000 song folders are registered already";
    return std::string();
}

// The registration and its difficulty pass commit together, and config.xml
// gains the root right after, both under config.xml's lock: the list never
// names a root whose rows are not stored, and a rescan (which reads the list
// under that lock once it holds the library) sees the root with its rows.
int AddRoot(ConfigRecord& config, ConfigState state, const std::string& host,
            const std::string& start_dir) {
    std::string path, error;
    if (!ToLibraryPath(host, start_dir, path, error)) return CommandFailed(error);
    if (path.back() != '\\') return CommandFailed("not a folder: " + host);
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
        if (!OpenLibrary(config, error, &progress)) return CommandFailed(error);
        Database& db = SongLibrary();
        Transaction tx(db);
        if (!tx.ok()) return CommandFailed("cannot write the song library: " + db.LastError());
        if (RegisterRootFolder(db, path, &progress, &report) == 0)
            return FailReport("the folder was not registered", report);
        if (!AssignFolderDifficulties(db, path))
            return CommandFailed("the folder was not registered: " + db.LastError());
        bool committed = false;
        const bool saved = UpdateConfig(
            config,
            [&](ConfigRecord& fresh, std::string& why) {
                bool listed = false;  // added meanwhile by another run
                for (int i = 0; i < fresh.path_count; ++i) listed |= fresh.path[i] == path;
                if (!listed) why = RootConflict(fresh, path);
                if (!why.empty()) return false;
                if (!tx.Commit()) {
                    why = db.LastError();
                    return false;
                }
                committed = true;
                if (!listed) fresh.path[fresh.path_count++] = path;
                return true;
            },
            error);
        if (!committed) return CommandFailed("the folder was not registered: " + error);
        if (!saved)
            return CommandFailed("the folder is registered, but not added to config.xml: " + error);
    }
    WarnSkipped(report);
    std::printf("add-root: %d charts in %d folders registered from %s\n", Count("song", path),
                Count("folder", path), Show(path).c_str());
    return 0;
}

// Below a registered root, or a row of its own; nullopt when the library
// cannot be read (a damaged file), which is an error, not a "no".
std::optional<bool> IsRegistered(const std::string& path) {
    Statement s = SongLibrary().Prepare(
        "SELECT 1 FROM folder WHERE path = ?1 OR (parent = ?2 AND substr(?1, 1, length(path)) = "
        "path) UNION ALL SELECT 1 FROM song WHERE path = ?1");
    if (!s) return std::nullopt;
    s.Bind(1, path);
    s.Bind(2, std::string(kRootKey));
    const bool found = s.Step();
    if (s.Failed()) return std::nullopt;
    return found;
}

int Refresh(const ConfigRecord& config, const std::string& host, const std::string& start_dir) {
    std::string path, error;
    if (!ToLibraryPath(host, start_dir, path, error)) return CommandFailed(error);
    if (!OpenLibrary(config, error)) return CommandFailed(error);
    const std::optional<bool> registered = IsRegistered(path);
    if (!registered)
        return CommandFailed("cannot read the song library " + std::string(kSongDbPath) + ": " +
                             SongLibrary().LastError());
    if (!*registered) return CommandFailed("not in a registered song folder: " + Show(path));
    LibraryReport report;
    {
        TerminalProgress progress("charts read");
        StopOnInterrupt stop(progress);
        if (!RefreshFolder(path, &progress, &report))
            return FailReport("the library was left as it was", report);
    }
    WarnSkipped(report);
    std::printf("refresh: %d charts in %d folders below %s\n", Count("song", path),
                Count("folder", path), Show(path).c_str());
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
    std::vector<std::string> missing;
    LibraryReport report;
    {
        TerminalProgress progress("charts read");
        StopOnInterrupt stop(progress);
        Database& db = SongLibrary();
        if (!OpenLibrary(first, error, &progress)) return CommandFailed(error);
        BusyReporting busy(db, &progress);
        Transaction tx(db);
        if (!tx.ok()) return CommandFailed("cannot write the song library: " + db.LastError());
        {
            FolderLock lock(kConfigFolder);
            if (LoadConfig(config) == ConfigState::Unreadable)
                return CommandFailed(std::string(kConfigPath) +
                                     " cannot be read any more; the library was left as it was.");
        }
        const std::vector<std::string> roots(config.path.begin(),
                                             config.path.begin() + config.path_count);
        if (!RescanLibrary(db, roots, &progress, &report, &missing))
            return FailReport("the library was left as it was", report);
        if (!tx.Commit()) return CommandFailed("the library was left as it was: " + db.LastError());
    }
    for (const std::string& root : missing)
        std::fprintf(stderr, "QV5: song folder not found: %s\n", Show(root).c_str());
    WarnSkipped(report);
    std::printf("rescan: %d charts in %d folders from %d song folders\n", Count("song", ""),
                Count("folder", ""), config.path_count);
    return missing.empty() ? 0 : 1;
}

}  // namespace

bool IsLibraryCommand(const std::vector<std::string>& args) {
    if (args.empty()) return false;
    const std::string& c = args[0];
    return ((c == "add-root" || c == "refresh") && args.size() == 2) ||
           (c == "rescan" && args.size() == 1);
}

std::optional<int> RunLibraryCommand(const std::vector<std::string>& args,
                                     const std::string& start_dir) {
    if (!IsLibraryCommand(args)) return std::nullopt;
    const std::string& command = args[0];
    ConfigRecord config;
    const ConfigState state = LoadConfig(config);
    if (state == ConfigState::Unreadable) CommandFailed(UnreadableConfigMessage());
    if (command == "add-root") return AddRoot(config, state, args[1], start_dir);
    if (command == "refresh") return Refresh(config, args[1], start_dir);
    return Rescan(config, state);
}

std::optional<std::string> CommandLinePath(const std::string& host, const std::string& start_dir,
                                           std::string& error, const char* missing) {
    const std::string full = FromStartDir(host, start_dir);
    char resolved[PATH_MAX];
    if (!realpath(full.c_str(), resolved)) {
        error = std::string(missing) + ": " + host;
        return std::nullopt;
    }
    auto internal = FromHostPath(resolved);
    if (!internal) {
        error = "the path cannot be represented in Shift-JIS: " + host;
        return std::nullopt;
    }
    const std::string& dir = ProgramDirectory();
    if (internal->size() > dir.size() && internal->compare(0, dir.size(), dir) == 0)
        internal->erase(0, dir.size());
    return internal;
}

}  // namespace qv5
