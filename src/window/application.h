// The application object: program directory, command line, main window.
#pragma once

namespace qv5 {

class Application {
  public:
    // Runs the program; returns the process exit code.
    int Run(int argc, char** argv);
};

}  // namespace qv5
