// The application object: program directory and main window.
#pragma once

#include <string>

namespace qv5 {

// How the window was asked for on the command line.
struct WindowStart {
    std::string dir;  // --dir, or the executable's folder
    bool dir_given = false;
    std::string screenshot, tab = "MAIN";  // --screenshot FILE [--tab NAME]
    std::string start_dir;                 // the host folder the program started in
};

class Application {
  public:
    // Runs the window; returns the process exit code.
    int Run(int argc, char** argv, const WindowStart& start);
};

}  // namespace qv5
