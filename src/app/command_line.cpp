#include "app/command_line.h"

#include <limits.h>
#include <signal.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include "app/command_convert.h"
#include "app/command_import.h"
#include "app/command_info.h"
#include "app/command_install.h"
#include "app/command_roots.h"
#include "app/stop_on_interrupt.h"
#include "config/config_file.h"
#include "config/tool_settings.h"
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

namespace qv5 {

const char* const kUsage =
    "Usage: QV5 [--dir GAMEDIR] [COMMAND]\n"
    "\n"
    "Without a command, starts the QV5 SETUP window (it needs a display; on a\n"
    "machine without one, run it under xvfb-run). GAMEDIR is the game folder\n"
    "holding QV5files (default: the folder of the executable).\n"
    "\n"
    "Commands (song library maintenance; a PATH is taken from the current folder):\n"
    "  add-root PATH   register the folder PATH as a song folder: scan it, infer\n"
    "                  difficulties and add it to the song folders of config.xml\n"
    "  refresh PATH    bring the library up to date for everything below PATH,\n"
    "                  which must lie in a registered song folder\n"
    "  rescan          rebuild the library from every configured song folder\n"
    "  remove-root PATH\n"
    "                  exclude the song folder PATH: its charts leave the library\n"
    "                  and the folder leaves config.xml; no file is changed\n"
    "\n"
    "Commands (song installation):\n"
    "  install ARCHIVE... --into FOLDER\n"
    "                  install the songs of the zip or rar ARCHIVEs into FOLDER,\n"
    "                  a folder of the song library, as dropping them on the\n"
    "                  window does: charts at an archive's root go into a new\n"
    "                  folder named after it; the new folder is registered.\n"
    "                  Existing files are never replaced and entries naming\n"
    "                  places outside FOLDER or links are left out (counted on\n"
    "                  stderr); a failed install leaves nothing behind. The\n"
    "                  archives are kept.\n"
    "\n"
    "Commands (players and courses):\n"
    "  import-courses FILE\n"
    "                  store the course list FILE (XML) in the course tables of\n"
    "                  song.db; the file is deleted once it has been stored\n"
    "  restore-scores ID PASSWORD IRID\n"
    "                  create the player ID with PASSWORD from the scores of the\n"
    "                  QV5IR account IRID, downloaded from the ranking service\n"
    "\n"
    "Commands (song folders; they change no file and no library row):\n"
    "  hidden-search FOLDER\n"
    "                  list the hidden charts of FOLDER (not its sub-folders): files\n"
    "                  without a chart extension that hold notes\n"
    "  info CHART      show the information panel's six lines for the chart file\n"
    "                  CHART, with the score of the player of config.xml\n"
    "\n"
    "Commands (game body, with the settings of config.xml):\n"
    "  play CHART      play the chart file CHART with QV5body.exe and wait for it\n"
    "  autoplay CHART  start QV5body.exe in autoplay on CHART and return\n"
    "\n"
    "Commands (media files, with the encoder and decoder of config.xml):\n"
    "  convert wav2ogg|ogg2wav|bmp2png|png2bmp|all FOLDER\n"
    "                  convert the files of FOLDER and its sub-folders (all: wav\n"
    "                  to ogg and bmp to png); a source is deleted once its\n"
    "                  converted twin has been written\n"
    "\n"
    "  --help          show this text\n"
    "  --screenshot FILE [--tab NAME]\n"
    "                  start the window, switch to the tab NAME (as a click\n"
    "                  would: the settings are applied), open the root folders\n"
    "                  and the first song folder, save a picture of the window\n"
    "                  to FILE (PNG) and exit\n"
    "\n"
    "Each library command changes the library completely or not at all (Ctrl-C\n"
    "stops it and leaves the library as it was), and exits with 1 and a message\n"
    "when it could not. While another program (the game) is using the library,\n"
    "it waits up to 30 seconds for it to be free.\n";

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "QV5: %s\n", message.c_str());
    return 1;
}

std::string Show(const std::string& internal) {
    return Cp932ToUtf8(internal);
}

// The library's own text, or what a stop or a skipped entry means.
int FailReport(const char* what, const LibraryReport& report) {
    return Fail(std::string(what) + ": " + report.error);
}

void WarnTooLong(const LibraryReport& report) {
    if (report.too_long > 0)
        std::fprintf(stderr,
                     "QV5: %ld entries left out: their paths are longer than the system "
                     "allows\n",
                     report.too_long);
}

// Host path -> internal path as a dropped folder is stored: relative to the
// program directory when inside it, with a trailing "\" for folders. A
// relative `host` is taken from `start_dir`, as every command-line tool does.
std::string FromStartDir(const std::string& host, const std::string& start_dir) {
    return !host.empty() && host.front() == '/' ? host : start_dir + "/" + host;
}

bool ToLibraryPath(const std::string& host, const std::string& start_dir, std::string& out,
                   std::string& error) {
    const std::string full = FromStartDir(host, start_dir);
    char resolved[PATH_MAX];
    if (!realpath(full.c_str(), resolved)) {
        error = "no such folder: " + host;
        return false;
    }
    auto internal = FromHostPath(resolved);
    if (!internal) {
        error = "the path cannot be represented in Shift-JIS: " + host;
        return false;
    }
    const std::string& dir = ProgramDirectory();
    if (internal->size() >= dir.size() && internal->compare(0, dir.size(), dir) == 0)
        internal->erase(0, dir.size());
    if (IsDirectory(*internal) || internal->empty()) *internal += '\\';
    out = *internal;
    return true;
}

bool OpenLibrary(const ConfigRecord& config, std::string& error) {
    if (!IsDirectory("QV5files\\Database")) {
        error = "no QV5files/Database folder in " + Show(ProgramDirectory());
        return false;
    }
    OpenSongLibrary(config.id);
    Database& db = SongLibrary();
    bool writable = db.IsOpen() && sqlite3_db_readonly(db.handle(), "main") == 0;
    if (writable) {
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
    Statement s = SongLibrary().Prepare(std::string("SELECT count(*) FROM ") + table + " WHERE " +
                                        PrefixCondition(1));
    if (!s) return 0;
    BindPrefix(s, 1, prefix);
    return s.Step() ? s.Int(0) : 0;
}

// The duplicate rule of the root list; empty when `path` may be added.
std::string RootConflict(const ConfigRecord& config, const std::string& path) {
    for (int i = 0; i < config.path_count; ++i) {
        const std::string& root = config.path[i];
        if (root == path)
            return Show(Sj(u8"このフォルダは既に登録されています。")) + " " + Show(path);
        if (!root.empty() && path.compare(0, root.size(), root) == 0)
            return Show(Sj(u8"親フォルダが既に登録されています。")) + " " + Show(root);
    }
    if (config.path_count >= kMaxSongFolders) return "1000 song folders are registered already";
    return std::string();
}

// The registration and its difficulty pass commit together, before the root
// enters config.xml: the list never names a root whose rows are not stored.
int AddRoot(ConfigRecord& config, ConfigState state, const std::string& host,
            const std::string& start_dir) {
    std::string path, error;
    if (!ToLibraryPath(host, start_dir, path, error)) return Fail(error);
    if (path.back() != '\\') return Fail("not a folder: " + host);
    if (state == ConfigState::Unreadable)
        return Fail(std::string(kConfigPath) +
                    " cannot be read; add-root would lose its song folders. Mend or remove it.");
    if (std::string conflict = RootConflict(config, path); !conflict.empty()) return Fail(conflict);
    if (!OpenLibrary(config, error)) return Fail(error);
    LibraryReport report;
    {
        Database& db = SongLibrary();
        TerminalProgress progress("charts read");
        StopOnInterrupt stop(progress);
        Transaction tx(db);
        if (!tx.ok()) return Fail("cannot write the song library: " + db.LastError());
        if (RegisterRootFolder(db, path, &progress, &report) == 0)
            return FailReport("the folder was not registered", report);
        if (!AssignFolderDifficulties(db, path) || !tx.Commit())
            return Fail("the folder was not registered: " + db.LastError());
    }
    WarnTooLong(report);
    const bool saved = UpdateConfig(
        config,
        [&](ConfigRecord& fresh, std::string& why) {
            for (int i = 0; i < fresh.path_count; ++i)
                if (fresh.path[i] == path) return true;  // added meanwhile by another run
            why = RootConflict(fresh, path);
            if (!why.empty()) return false;
            fresh.path[fresh.path_count++] = path;
            return true;
        },
        error);
    if (!saved) return Fail("the folder is registered, but not added to config.xml: " + error);
    std::printf("add-root: %d charts in %d folders registered from %s\n", Count("song", path),
                Count("folder", path), Show(path).c_str());
    return 0;
}

// Below a registered root, or a row of its own.
bool IsRegistered(const std::string& path) {
    Statement s = SongLibrary().Prepare(
        "SELECT 1 FROM folder WHERE path = ?1 OR (parent = ?2 AND substr(?1, 1, length(path)) = "
        "path) UNION ALL SELECT 1 FROM song WHERE path = ?1");
    if (!s) return false;
    s.Bind(1, path);
    s.Bind(2, std::string(kRootKey));
    return s.Step();
}

int Refresh(const ConfigRecord& config, const std::string& host, const std::string& start_dir) {
    std::string path, error;
    if (!ToLibraryPath(host, start_dir, path, error)) return Fail(error);
    if (!OpenLibrary(config, error)) return Fail(error);
    if (!IsRegistered(path)) return Fail("not in a registered song folder: " + Show(path));
    LibraryReport report;
    {
        TerminalProgress progress("charts read");
        StopOnInterrupt stop(progress);
        if (!RefreshFolder(path, &progress, &report))
            return FailReport("the library was left as it was", report);
    }
    WarnTooLong(report);
    std::printf("refresh: %d charts in %d folders below %s\n", Count("song", path),
                Count("folder", path), Show(path).c_str());
    return 0;
}

int Rescan(const ConfigRecord& config, ConfigState state) {
    if (state == ConfigState::Unreadable)
        return Fail(std::string(kConfigPath) +
                    " cannot be read, so its song folders are unknown; the library was left as "
                    "it was. Mend or remove the file.");
    std::string error;
    if (!OpenLibrary(config, error)) return Fail(error);
    const std::vector<std::string> roots(config.path.begin(),
                                         config.path.begin() + config.path_count);
    std::vector<std::string> missing;
    LibraryReport report;
    {
        TerminalProgress progress("charts read");
        StopOnInterrupt stop(progress);
        if (!RescanLibrary(SongLibrary(), roots, &progress, &report, &missing))
            return FailReport("the library was left as it was", report);
    }
    for (const std::string& root : missing)
        std::fprintf(stderr, "QV5: song folder not found: %s\n", Show(root).c_str());
    WarnTooLong(report);
    std::printf("rescan: %d charts in %d folders from %d song folders\n", Count("song", ""),
                Count("folder", ""), config.path_count);
    return missing.empty() ? 0 : 1;
}

int Dispatch(const std::vector<std::string>& args, const std::string& start_dir) {
    if (args.empty()) return Fail("no command (see --help)");
    if (auto code = RunInstallCommand(args, start_dir)) return *code;
    std::vector<std::string> import_args = args;
    if (args.size() == 2 && args[0] == "import-courses")
        import_args[1] = FromStartDir(args[1], start_dir);
    if (auto code = RunImportCommand(import_args)) return *code;
    if (auto code = RunRootCommand(args, start_dir)) return *code;
    const std::string& command = args[0];
    ConfigRecord config;
    const ConfigState state = LoadConfig(config);
    if (state == ConfigState::Unreadable) Fail(UnreadableConfigMessage());
    if (command == "add-root" && args.size() == 2)
        return AddRoot(config, state, args[1], start_dir);
    if (command == "refresh" && args.size() == 2) return Refresh(config, args[1], start_dir);
    if (command == "rescan" && args.size() == 1) return Rescan(config, state);
    if (auto code = RunBrowserCommand(args, start_dir, config)) return *code;
    if ((command == "play" || command == "autoplay") && args.size() == 2)
        return RunPlayCommand(command, FromStartDir(args[1], start_dir));
    if (command == "convert" && args.size() == 3)
        return RunConvertCommand(ToolSettingsFrom(config), args[1], args[2], start_dir);
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

std::optional<std::string> CommandLinePath(const std::string& host, const std::string& start_dir,
                                           std::string& error) {
    const std::string full = FromStartDir(host, start_dir);
    char resolved[PATH_MAX];
    if (!realpath(full.c_str(), resolved)) {
        error = "no such file or folder: " + host;
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

int RunCommandLine(const std::vector<std::string>& args, const std::string& start_dir) {
    const int code = Dispatch(args, start_dir);
    // A summary that never arrived is a failure too (a full disk, a closed pipe).
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        Fail("cannot write the output");
        return code == 0 ? 1 : code;
    }
    return code;
}

}  // namespace qv5
