// The program as it is started. The library commands (add-root, refresh,
// rescan) run here, on the song library alone; everything else, the window
// included, is the full program beside this one, which takes over this
// process with the same arguments. Loading Qt and the libraries of the window
// costs more than an unchanged refresh of thousands of charts.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/command_language.h"
#include "cli/library_commands.h"
#include "platform/paths.h"

namespace {

constexpr const char* kFullProgram = "QV5-full";

// The library command of `[--dir DIR] COMMAND ARGS...`, with its folder;
// false for any other command line (options included), which the full
// program handles.
// A command line without a folder, when the executable's folder is no game
// folder, is the full program's too: it knows the remembered game folder.
bool LibraryCommandLine(int argc, char** argv, std::string& dir, std::vector<std::string>& args) {
    int i = 1;
    if (i + 1 < argc && std::strcmp(argv[i], "--dir") == 0) {
        dir = argv[i + 1];
        i += 2;
    } else if (struct stat st{};
               stat((dir + "/QV5files").c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return false;
    }
    for (; i < argc; ++i) {
        if (argv[i][0] == '-' && argv[i][1] == '-') return false;
        args.emplace_back(argv[i]);
    }
    return qv5::IsLibraryCommand(args);
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = qv5::ExecutableHostDirectory();
    std::vector<std::string> args;
    if (LibraryCommandLine(argc, argv, dir, args)) {
        const std::string start_dir = qv5::CurrentHostDirectory();
        if (!qv5::SetProgramDirectory(dir)) {
            std::fprintf(stderr, "QV5: cannot use the folder %s\n", dir.c_str());
            return 2;
        }
        qv5::UseQuickLanguage(qv5::CommandLineLanguage());
        return qv5::FinishCommand(*qv5::RunLibraryCommand(args, start_dir));
    }
    const std::string full = qv5::ExecutableHostDirectory() + "/" + kFullProgram;
    execv(full.c_str(), argv);
    std::fprintf(stderr, "QV5: cannot start %s: %s\n", full.c_str(), std::strerror(errno));
    return 127;
}
