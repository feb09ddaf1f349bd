// `init DIR`: the ready game folder the window's chooser offers to make, for
// scripts (the demo folder is made this way).
#include <cstdio>

#include "browser/game_folder_setup.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "platform/text.h"

namespace qv5 {

int RunInit(const CommandCall& call) {
    const std::string dir = TidyHostPath(FromStartDir(call.args[0], call.start_dir));
    std::string error;
    if (!MakeGameFolder(dir, error)) return CommandFailed(Cp932ToUtf8(error));
    std::printf(
        "init: %s is a game folder: QV5files with its folders, and the empty song folder songs "
        "registered. Put QV5body.exe beside QV5files to play; the window asks for the first "
        "player.\n",
        dir.c_str());
    return 0;
}

}  // namespace qv5
