#include "app/command_line.h"

#include <limits.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include "app/command_import.h"
#include "config/config_file.h"
#include "library/difficulty.h"
#include "library/refresh.h"
#include "library/scanner.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"

namespace qv5 {

const char* const kUsage =
    "Usage: QV5 [--dir GAMEDIR] [COMMAND]\n"
    "\n"
    "Without a command, starts the QV5 SETUP window. GAMEDIR is the game folder\n"
    "holding QV5files (default: the folder of the executable).\n"
    "\n"
    "Commands (song library maintenance):\n"
    "  add-root PATH   register the folder PATH as a song folder: scan it, infer\n"
    "                  difficulties and add it to the song folders of config.xml\n"
    "  refresh PATH    bring the library up to date for everything below PATH\n"
    "  rescan          rebuild the library from every configured song folder\n"
    "\n"
    "Commands (players and courses):\n"
    "  import-courses FILE\n"
    "                  store the course list FILE (XML) in the course tables of\n"
    "                  song.db; the file is deleted once it has been stored\n"
    "  restore-scores ID PASSWORD IRID\n"
    "                  create the player ID with PASSWORD from the scores of the\n"
    "                  QV5IR account IRID, downloaded from the ranking service\n"
    "\n"
    "Commands (game body, with the settings of config.xml):\n"
    "  play CHART      play the chart file CHART with QV5body.exe and wait for it\n"
    "  autoplay CHART  start QV5body.exe in autoplay on CHART and return\n"
    "\n"
    "  --help          show this text\n";

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "QV5: %s\n", message.c_str());
    return 1;
}

std::string Show(const std::string& internal) {
    return Cp932ToUtf8(internal);
}

// Host path -> internal path as a dropped folder is stored: relative to the
// program directory when inside it, with a trailing "\" for folders.
bool ToLibraryPath(const std::string& host, std::string& out, std::string& error) {
    char resolved[PATH_MAX];
    if (!realpath(host.c_str(), resolved)) {
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
    if (!db.IsOpen() || sqlite3_db_readonly(db.handle(), "main") != 0 ||
        !db.Exec("BEGIN IMMEDIATE") || !db.Exec("COMMIT")) {
        error = "cannot write the song library " + std::string(kSongDbPath);
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

int AddRoot(ConfigRecord& config, const std::string& host) {
    std::string path, error;
    if (!ToLibraryPath(host, path, error)) return Fail(error);
    if (path.back() != '\\') return Fail("not a folder: " + host);
    for (int i = 0; i < config.path_count; ++i) {
        const std::string& root = config.path[i];
        if (root == path)
            return Fail(Show(Sj(u8"このフォルダは既に登録されています。")) + " " + Show(path));
        if (!root.empty() && path.compare(0, root.size(), root) == 0)
            return Fail(Show(Sj(u8"親フォルダが既に登録されています。")) + " " + Show(root));
    }
    if (config.path_count >= kMaxSongFolders)
        return Fail("1000 song folders are registered already");
    if (!OpenLibrary(config, error)) return Fail(error);
    {
        TerminalProgress progress("charts read");
        RegisterRootFolder(path, &progress);
        Database& db = SongLibrary();
        db.Exec("BEGIN");
        AssignFolderDifficulties(path);
        if (!db.Exec("COMMIT")) return Fail("cannot write the song library");
    }
    config.path[config.path_count++] = path;
    if (!SaveConfig(config))
        return Fail("the folder is registered, but config.xml cannot be written");
    std::printf("add-root: %d charts in %d folders registered from %s\n", Count("song", path),
                Count("folder", path), Show(path).c_str());
    return 0;
}

int Refresh(const ConfigRecord& config, const std::string& host) {
    std::string path, error;
    if (!ToLibraryPath(host, path, error)) return Fail(error);
    if (!OpenLibrary(config, error)) return Fail(error);
    {
        TerminalProgress progress("charts read");
        RefreshFolder(path, &progress);
    }
    std::printf("refresh: %d charts in %d folders below %s\n", Count("song", path),
                Count("folder", path), Show(path).c_str());
    return 0;
}

int Rescan(const ConfigRecord& config) {
    std::string error;
    if (!OpenLibrary(config, error)) return Fail(error);
    ResetSongLibrary();
    int missing = 0;
    {
        TerminalProgress progress("charts read");
        for (int i = 0; i < config.path_count; ++i)
            if (RegisterRootFolder(config.path[i], &progress) < 0) {
                std::fprintf(stderr, "QV5: song folder not found: %s\n",
                             Show(config.path[i]).c_str());
                ++missing;
            }
    }
    std::printf("rescan: %d charts in %d folders from %d song folders\n", Count("song", ""),
                Count("folder", ""), config.path_count);
    return missing ? 1 : 0;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) return Fail("no command (see --help)");
    if (auto code = RunImportCommand(args)) return *code;
    const std::string& command = args[0];
    ConfigRecord config;
    LoadConfig(config);
    if (command == "add-root" && args.size() == 2) return AddRoot(config, args[1]);
    if (command == "refresh" && args.size() == 2) return Refresh(config, args[1]);
    if (command == "rescan" && args.size() == 1) return Rescan(config);
    if ((command == "play" || command == "autoplay") && args.size() == 2)
        return RunPlayCommand(command, args[1]);
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace qv5
