#include "app/application.h"

#include <unistd.h>

#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_window.h"
#include "platform/paths.h"
#include "platform/qt_ui_service.h"
#include "platform/wait_note.h"

namespace qv5 {
namespace {

void PrintHelp() {
    std::fputs(kUsage, stdout);
}

std::string CurrentDirectory() {
    std::string dir(4096, '\0');
    while (!getcwd(dir.data(), dir.size())) {
        if (errno != ERANGE) return ".";
        dir.resize(dir.size() * 2);
    }
    dir.resize(std::char_traits<char>::length(dir.c_str()));
    return dir;
}

// Qt aborts when it finds no display; say what to do instead.
bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

int Application::Run(int argc, char** argv) {
    std::string dir = ExecutableHostDirectory();
    const std::string start_dir = CurrentDirectory();
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            PrintHelp();
            return 0;
        }
        if (a == "--dir") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "QV5: --dir needs a folder\n");
                return 2;
            }
            dir = argv[++i];
        } else {
            rest.push_back(a);
        }
    }
    if (!SetProgramDirectory(dir)) {
        std::fprintf(stderr, "QV5: cannot use the folder %s\n", dir.c_str());
        return 2;
    }
    if (!rest.empty()) return RunCommandLine(rest, start_dir);
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "QV5: no display to show the window on. Run it under xvfb-run "
                     "(xvfb-run QV5), or give a command (QV5 --help).\n");
        return 1;
    }
    QApplication app(argc, argv);
    SetUi(MakeQtUiService());
    MainWindow dlg;
    InstallWaitNote(&dlg);
    dlg.InitDialog();
    dlg.exec();
    return 0;
}

}  // namespace qv5
