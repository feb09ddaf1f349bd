// `hidden-search FOLDER` and `info CHART`: the folder menu's hidden chart
// search and the information panel, for scripts. Neither changes anything.
#include <limits.h>
#include <stdlib.h>

#include <cstdio>

#include "browser/hidden_search.h"
#include "browser/song_info.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "config/config_record.h"
#include "library/display_text.h"
#include "library/song_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/win_path.h"
#include "player/player_db.h"

namespace qv5 {
namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "QV5: %s\n", message.c_str());
    return 1;
}

int HiddenSearch(const std::string& host, const std::string& start_dir) {
    std::string error;
    auto folder = CommandLinePath(host, start_dir, error);
    if (!folder) return Fail(error);
    if (!IsDirectory(*folder)) return Fail("not a folder: " + host);
    *folder = WinPath(*folder).AsFolder().text();
    HiddenSearchResult result;
    {
        TerminalProgress progress("files read");
        result = FindHiddenCharts(WinPath(*folder), progress);
    }
    for (const std::string& name : result.names)
        std::printf("%s\n", EscapeControls(ShownPath(*folder + name)).c_str());
    std::fprintf(stderr, "hidden-search: %s in %s\n",
                 Counted(long(result.names.size()), "hidden chart").c_str(),
                 ShownPath(*folder).c_str());
    return 0;
}

int Info(const ConfigRecord& config, const std::string& host, const std::string& start_dir) {
    std::string error;
    auto chart = CommandLinePath(host, start_dir, error);
    if (!chart) return Fail(error);
    if (IsDirectory(*chart)) return Fail("not a chart file: " + host);
    if (!IsDirectory("QV5files\\Database"))
        return Fail("no QV5files/Database folder in " + ShownPath(ProgramDirectory()));
    SongLibrary library;
    library.Open(ExistingPlayerDb(config.id));
    const SongInfo lines = SongInfoLines(library, WinPath(*chart));
    library.Close();
    if (lines[0].empty()) return Fail("cannot read the chart " + host);
    for (const std::string& line : lines)
        std::printf("%s\n", EscapeControls(DisplayText(line)).c_str());
    return 0;
}

}  // namespace

int RunHiddenSearch(const CommandCall& call) {
    ConfigRecord config;
    LoadCommandConfig(config);
    return HiddenSearch(call.args[0], call.start_dir);
}

int RunInfo(const CommandCall& call) {
    ConfigRecord config;
    LoadCommandConfig(config);
    return Info(config, call.args[0], call.start_dir);
}

}  // namespace qv5
