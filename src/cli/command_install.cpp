// The install command: archives into a folder of the song library, as a drop
// on the window does, without the window.
#include <cstdio>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/stop_on_interrupt.h"
#include "config/config_file.h"
#include "install/install.h"
#include "library/encodings.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/win_path.h"
#include "player/player_db.h"

namespace qv5 {
namespace {

int Fail(const std::string& utf8) {
    std::fprintf(stderr, "QV5: %s\n", utf8.c_str());
    return 1;
}

void Print(const Notice& n) {
    std::fprintf(stderr, "QV5: %s\n", Cp932ToUtf8(n.text).c_str());
}

int Install(const std::vector<std::string>& archives, const std::string& into,
            const std::string& start_dir) {
    std::string error;
    auto folder = CommandLinePath(into, start_dir, error);
    if (!folder) return Fail(error);
    if (!IsDirectory(*folder)) return Fail("not a folder: " + into);
    *folder = WinPath(*folder).AsFolder().text();
    ConfigRecord config;
    LoadConfig(config);
    if (!IsDirectory("QV5files\\Database"))
        return Fail("no QV5files/Database folder in " + Cp932ToUtf8(ProgramDirectory()));
    SongLibrary library;
    if (!library.Open(ExistingPlayerDb(config.id))) return Fail("cannot open the song library");
    const auto root = library.SongFolderHolding(WinPath(*folder));
    if (!root)
        return Fail("not inside a registered song folder: " + Cp932ToUtf8(*folder) +
                    " (register its song folder with add-root first)");
    // As a drop on it: a song folder (one that holds charts) gets the new
    // songs beside it, in its parent; a root has no parent and keeps them.
    if (*folder != *root && HoldsChartFiles(WinPath(*folder))) {
        const std::string parent = ParentPath(*folder);
        std::fprintf(stderr, "QV5: %s holds charts; installing beside it, into %s\n",
                     Cp932ToUtf8(*folder).c_str(), Cp932ToUtf8(parent).c_str());
        *folder = parent;
    }
    int failed = 0;
    for (const std::string& host : archives) {
        auto archive = CommandLinePath(host, start_dir, error);
        auto kind = archive ? ArchiveKindOfPath(WinPath(*archive)) : std::nullopt;
        if (!archive || !kind) {
            Fail(archive ? "not a zip or rar archive: " + host : error);
            ++failed;
            continue;
        }
        InstallResult r;
        {
            // The progress line is taken off the terminal before anything
            // is printed below it.
            TerminalProgress progress("entries");
            StopOnInterrupt stop(progress);
            r = InstallArchive(library, *kind, WinPath(*archive), WinPath(*folder), &progress);
        }
        for (const Notice& n : InstallNotices(r)) Print(n);
        if (!r.installed()) {
            ++failed;
            continue;
        }
        std::printf(
            "install: %s -> %s (%s, %s in the folder)\n", host.c_str(),
            Cp932ToUtf8(r.new_folder).c_str(), Counted(r.extract.files, "file").c_str(),
            Counted(library.CountRowsBelow("song", WinPath(r.new_folder)), "chart").c_str());
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace

// ARCHIVE... --into FOLDER, with --into given once, anywhere.
int RunInstall(const CommandCall& call) {
    const std::vector<std::string>& args = call.args;
    std::vector<std::string> archives;
    std::optional<std::string> into;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--into" && i + 1 < args.size() && !into)
            into = args[++i];
        else if (args[i] == "--into")
            return kWrongUsage;
        else
            archives.push_back(args[i]);
    }
    if (!into || archives.empty()) return kWrongUsage;
    return Install(archives, *into, call.start_dir);
}

}  // namespace qv5
