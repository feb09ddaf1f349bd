#include "app/application.h"

#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/paths.h"
#include "platform/qt_ui_service.h"

namespace qv5 {
namespace {

void PrintHelp() {
    std::puts(
        "Usage: QV5 [--dir DIR]\n"
        "  Starts QV5 SETUP. DIR is the game folder holding QV5files (default: the\n"
        "  folder of the executable).");
}

}  // namespace

int CQV5config_2App::Run(int argc, char** argv) {
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
    if (!rest.empty()) {
        std::fprintf(stderr, "QV5: unknown argument %s (see --help)\n", rest[0].c_str());
        return 2;
    }
    QApplication app(argc, argv);
    SetUi(MakeQtUiService());
    CQV5config_2Dlg dlg;
    dlg.InitDialog();
    dlg.exec();
    return 0;
}

}  // namespace qv5
