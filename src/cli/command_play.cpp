// `play CHART` and `autoplay CHART`: the chart commands of the folder tree for
// scripts. The settings are taken as config.xml holds them.
#include <cstdio>

#include "browser/game_body.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "config/config_file.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

// The chart as the folder tree would name it: relative to the program
// directory when inside it, else absolute.
std::optional<std::string> ChartPath(const std::string& host, std::string& error) {
    const auto resolved = RealHostPath(host);
    if (!resolved) {
        error = "no such chart: " + host;
        return std::nullopt;
    }
    auto internal = FromHostPath(*resolved);
    if (!internal) {
        error = "the path cannot be represented in Shift-JIS: " + host;
        return std::nullopt;
    }
    if (IsDirectory(*internal)) {
        error = "not a chart file: " + host;
        return std::nullopt;
    }
    const std::string& dir = ProgramDirectory();
    if (internal->compare(0, dir.size(), dir) == 0) internal->erase(0, dir.size());
    return internal;
}

// `play CHART` waits for the game; `autoplay CHART` does not.
int PlayCommand(const std::string& command, const std::string& host_chart) {
    std::string error;
    auto chart = ChartPath(host_chart, error);
    if (!chart) {
        std::fprintf(stderr, "QV5: %s\n", error.c_str());
        return 1;
    }
    if (!CommandLineCarries(*chart)) {
        std::fprintf(stderr,
                     "QV5: the chart path holds a double quote, which the Windows command line "
                     "cannot carry to the game body; nothing was started: %s\n",
                     ShownPath(*chart).c_str());
        return 1;
    }
    const bool play = command == "play";
    ProcessResult r = Processes().Run(
        play ? PlayChartCommandLine(WinPath(*chart)) : AutoplayCommandLine(WinPath(*chart)),
        play ? Wait::Yes : Wait::No);
    if (!r.started) {
        std::fprintf(stderr, "QV5: %s\n", Cp932ToUtf8(r.error).c_str());
        return 1;
    }
    // A script is told how the game ended: its status is the command's.
    if (play && r.exit_code != 0) {
        const std::string status = std::to_string(r.exit_code);
        std::fprintf(stderr, "QV5: %s\n",
                     Cp932ToUtf8(Arg(Tr("PlayCommand", "%1 は終了コード %2 で終了しました。"),
                                     {kGameBody, status}))
                         .c_str());
        return r.exit_code > 0 && r.exit_code < 256 ? r.exit_code : 1;
    }
    return 0;
}

}  // namespace

int RunPlay(const CommandCall& call) {
    ConfigRecord config;
    LoadCommandConfig(config);
    return PlayCommand("play", FromStartDir(call.args[0], call.start_dir));
}

int RunAutoplay(const CommandCall& call) {
    ConfigRecord config;
    LoadCommandConfig(config);
    return PlayCommand("autoplay", FromStartDir(call.args[0], call.start_dir));
}

}  // namespace qv5
