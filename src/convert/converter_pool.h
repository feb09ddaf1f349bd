// The external converters of one pass, run side by side: up to one per
// processor. Once the pass is asked to stop, no more start and those running
// finish; one that has used no processor time for a few seconds is taken for
// hung and ended (SIGTERM to its process group, SIGKILL a few seconds later).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/progress.h"

namespace qv5::convert {

class ConverterPool {
  public:
    // Told whether the converter exited 0; false when it could not start,
    // failed, was killed or was ended here.
    using Settle = std::function<void(bool exited_zero)>;

    ConverterPool(Progress& progress, int slots);
    // Waits for what still runs (Finish).
    ~ConverterPool();
    ConverterPool(const ConverterPool&) = delete;
    ConverterPool& operator=(const ConverterPool&) = delete;

    enum class Start { Started, Failed, Stopped };
    // Starts `command_line` once fewer than `slots` run, settling those that
    // end meanwhile; `settle` runs once it has ended. Failed when it could
    // not start, Stopped when the stop was asked for before it could (while
    // it waited for a slot, say): `settle` has run then already.
    Start Run(const std::string& command_line, Settle settle);
    // Waits until every converter has ended and is settled.
    void Finish();

  private:
    using Clock = std::chrono::steady_clock;
    struct Running {
        std::unique_ptr<ChildProcess> child;
        Settle settle;
        std::int64_t cpu = -1;  // as last seen, -1 before the stop
        Clock::time_point idle_since{}, ended_at{};
        bool ending = false, killed = false;
    };
    // Waits until at least one converter has ended, and settles those ended.
    void SettleOne();
    void Watch(Running& r, Clock::time_point now);

    Progress& progress_;
    size_t slots_;
    std::vector<Running> running_;
};

}  // namespace qv5::convert
