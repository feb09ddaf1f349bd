// Ctrl-C during a command: the first one asks the running operation to stop,
// so it undoes its unfinished step and says so; a second one ends the program
// at once. SIGTERM and SIGHUP (a closed terminal, a service stop) are taken
// the same way, so that they too leave nothing half done behind.
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
        for (int i = 0; i < kCount; ++i) {
            sigaction(kSignals[i], &action, &old_[i]);
            // Started with it ignored (nohup): it stays ignored.
            if (old_[i].sa_handler == SIG_IGN) sigaction(kSignals[i], &old_[i], nullptr);
        }
    }
    ~StopOnInterrupt() {
        for (int i = 0; i < kCount; ++i) sigaction(kSignals[i], &old_[i], nullptr);
        Target() = nullptr;
    }
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

  private:
    static constexpr int kCount = 3;
    static constexpr int kSignals[kCount] = {SIGINT, SIGTERM, SIGHUP};
    static Progress*& Target() {
        static Progress* target = nullptr;
        return target;
    }
    struct sigaction old_[kCount] {};
};

}  // namespace qv5
