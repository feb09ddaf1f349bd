// remove-root: the exclusion of the folder tree's root menu, without the
// window. The folder need not exist any more: excluding a vanished folder is
// what one wants most often.
#include <limits.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "browser/root_list.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "config/config_file.h"
#include "library/chart_names.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/win_path.h"
#include "player/player_db.h"

namespace qv5 {
namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "QV5: %s\n", message.c_str());
    return 1;
}

bool Registered(const ConfigRecord& config, const std::string& path) {
    return std::find(config.path.begin(), config.path.begin() + config.path_count, path) !=
           config.path.begin() + config.path_count;
}

// The stored form of PATH as add-root stores it: resolved when it exists,
// else made absolute and tidied by its text alone; relative to the game folder
// when inside it. A text naming a stored root exactly is taken as it is.
std::optional<std::string> StoredForm(const ConfigRecord& config, const std::string& arg,
                                      const std::string& start_dir) {
    if (auto as_is = Utf8ToCp932(arg)) {
        for (const std::string& candidate : {*as_is, WinPath(*as_is).AsFolder().text()})
            if (Registered(config, candidate)) return candidate;
    }
    const std::string full = FromStartDir(arg, start_dir);
    const std::string host = RealHostPath(full).value_or(TidyHostPath(full));
    auto internal = FromHostPath(host);
    if (!internal) return std::nullopt;
    const bool file = IsCustomFolderName(*internal);
    return StoredRootPath(*internal, !file);
}

// Library rows and config.xml change together: the rows are removed in a
// transaction, committed under config.xml's lock just before the file stops
// naming the root. A commit that fails (a reader holding the library past
// the wait) leaves both as they were; a save that fails after it leaves a
// root without rows, which remove-root finishes. Rows another registered
// song folder still covers stay (see ExcludeSongFolder).
int RemoveRoot(const std::string& arg, const std::string& start_dir) {
    ConfigRecord config;
    if (LoadConfig(config) == ConfigState::Unreadable)
        return Fail(std::string(kConfigPath) + " cannot be read; mend or remove it.");
    auto path = StoredForm(config, arg, start_dir);
    if (!path) return Fail("the path cannot be represented in Shift-JIS: " + arg);
    if (!Registered(config, *path))
        return Fail("not a registered song folder: " + ShownPath(*path));
    if (!IsDirectory("QV5files\\Database"))
        return Fail("no QV5files/Database folder in " + ShownPath(ProgramDirectory()));
    SongLibrary library;
    if (!library.Open(ExistingPlayerDb(config.id)) || !library.CanWrite())
        return Fail("cannot write the song library " + std::string(kSongDbPath));
    const int charts = library.CountRowsBelow("song", WinPath(*path));
    std::vector<std::string> others;
    for (int i = 0; i < config.path_count; ++i)
        if (config.path[i] != *path) others.push_back(config.path[i]);
    std::string error;
    bool saved = false;
    auto drop_from_list = [&](const std::function<bool()>& commit, std::string& why) {
        bool committed = false;
        saved = UpdateConfig(
            config,
            [&](ConfigRecord& fresh, std::string& reason) {
                if (!(committed = commit())) {
                    reason = "the library cannot be changed: " + library.LastError();
                    return false;
                }
                auto end =
                    std::remove(fresh.path.begin(), fresh.path.begin() + fresh.path_count, *path);
                fresh.path_count = int(end - fresh.path.begin());
                return true;
            },
            error);
        if (!committed) why = error;
        return committed;
    };
    LibraryReport report;
    if (!library.ExcludeSongFolder(WinPath(*path), others, nullptr, report, drop_from_list))
        return Fail("nothing was excluded: " + report.error);
    if (!saved)
        return Fail(
            "the rows of the song folder left the library, but config.xml could not be "
            "changed: " +
            error + " (remove-root again finishes it)");
    std::printf("remove-root: %s excluded, %s removed from the library; no file changed\n",
                ShownPath(*path).c_str(), Counted(charts - report.charts, "chart").c_str());
    return 0;
}

}  // namespace

int RunRemoveRoot(const CommandCall& call) {
    return RemoveRoot(call.args[0], call.start_dir);
}

}  // namespace qv5
