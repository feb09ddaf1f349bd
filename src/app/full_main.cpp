// The full program: the window, and the commands that need Qt. The quick
// program hands it every command line it does not run itself; a command of
// the quick program's that arrives here (a command line without a game
// folder) goes back to it once the remembered game folder is known.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command_language.h"
#include "cli/command_table.h"
#include "platform/paths.h"
#include "platform/translation.h"
#include "window/main/about.h"
#include "window/main/application.h"
#include "window/main/game_folder.h"

namespace {

constexpr const char* kQuickProgram = "QV5";

}  // namespace

int main(int argc, char** argv) {
    using namespace qv5;
    if (StartedAsAnother("QV5-full")) return 127;
    const CommandLine line = ReadCommandLine(argc, argv);
    if (!line.error.empty()) {
        std::fprintf(stderr, "QV5: %s\n", line.error.c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(HelpText(line.rest).c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    }
    const std::string dir = line.dir_given ? line.dir : ExecutableHostDirectory();
    const std::string start_dir = CurrentHostDirectory();
    if (!line.rest.empty()) {
        const Command* command = CommandOf(line.rest);
        if (!command) return 2;
        // A command that makes its game folder is the quick program's.
        if (!command->needs_game_folder)
            return HandOver(kQuickProgram, std::vector<std::string>(argv, argv + argc));
        const std::optional<std::string> game = CommandLineGameFolder(dir, line.dir_given);
        if (!game) return 1;
        if (!command->handler) {
            std::vector<std::string> args = {kQuickProgram, "--dir", *game};
            args.insert(args.end(), line.rest.begin(), line.rest.end());
            return HandOver(kQuickProgram, args);
        }
        if (!SetProgramDirectory(*game)) {
            std::fprintf(stderr, "QV5: cannot use the folder %s\n", game->c_str());
            return 2;
        }
        UseLanguage(CommandLineLanguage());
        return RunCommand(*command, line.rest, start_dir);
    }
    return Application().Run(
        argc, argv, WindowStart{dir, line.dir_given, line.screenshot, line.tab, start_dir});
}
