// The program as it is started. The commands that need neither Qt nor the
// window's libraries run here; everything else, the window included, is the
// full program beside this one, which takes over this process with the same
// arguments. Loading Qt and the libraries of the window costs more than an
// unchanged refresh of thousands of charts.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/command_language.h"
#include "cli/command_table.h"
#include "platform/paths.h"
#include "platform/tr.h"

namespace {

constexpr const char* kFullProgram = "QV5-full";

bool HoldsGameFiles(const std::string& dir) {
    return qv5::IsHostDirectory(dir + "/QV5files");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qv5;
    if (StartedAsAnother("QV5")) return 127;
    const CommandLine line = ReadCommandLine(argc, argv);
    if (!line.error.empty()) {
        std::fprintf(stderr, "QV5: %s\n", line.error.c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(HelpText(line.rest).c_str(), stdout);
        return 0;
    }
    // A command line naming a command is checked here, whichever program
    // runs it. One of this program's runs here when its game folder is known
    // without the full program, which alone reads the remembered one (and
    // then hands the command back with --dir).
    if (!line.version && line.screenshot.empty() && !line.rest.empty()) {
        const Command* command = CommandOf(line.rest);
        if (!command) return 2;
        const std::string dir = line.dir_given ? line.dir : ExecutableHostDirectory();
        if (command->handler && !command->needs_game_folder) {
            // No config.xml to say the language yet: the desktop's.
            UseQuickLanguage(DesktopLanguage());
            return RunCommand(*command, line.rest, CurrentHostDirectory());
        }
        if (command->handler && (line.dir_given || HoldsGameFiles(dir))) {
            const std::string start_dir = CurrentHostDirectory();
            if (!SetProgramDirectory(dir)) {
                std::fprintf(stderr, "QV5: cannot use the folder %s\n", dir.c_str());
                return 2;
            }
            UseQuickLanguage(CommandLineLanguage());
            return RunCommand(*command, line.rest, start_dir);
        }
    }
    return HandOver(kFullProgram, std::vector<std::string>(argv, argv + argc));
}
