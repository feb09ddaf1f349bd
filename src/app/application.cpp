#include "app/application.h"

#include <QApplication>
#include <cstdio>
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

}  // namespace

int Application::Run(int argc, char** argv) {
    std::string dir = ExecutableHostDirectory();
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
    if (!rest.empty()) return RunCommandLine(rest);
    QApplication app(argc, argv);
    SetUi(MakeQtUiService());
    MainWindow dlg;
    InstallWaitNote(&dlg);
    dlg.InitDialog();
    dlg.exec();
    return 0;
}

}  // namespace qv5
