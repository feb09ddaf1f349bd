// Ctrl-C during a command: the first one asks the running operation to stop,
// so it undoes its unfinished step and says so; a second one ends the program
// at once.
#pragma once

#include <signal.h>

#include "platform/progress.h"

namespace qv5 {

class StopOnInterrupt {
  public:
    explicit StopOnInterrupt(Progress& progress) {
        Target() = &progress;
        struct sigaction action {};
        action.sa_handler = [](int) {
            // An atomic store: safe in a signal handler.
            if (Progress* p = Target()) p->RequestStop();
        };
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &old_);
    }
    ~StopOnInterrupt() {
        sigaction(SIGINT, &old_, nullptr);
        Target() = nullptr;
    }
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

  private:
    static Progress*& Target() {
        static Progress* target = nullptr;
        return target;
    }
    struct sigaction old_ {};
};

}  // namespace qv5
