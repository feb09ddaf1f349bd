#include "convert/converter_pool.h"

#include <algorithm>

namespace qv5::convert {
namespace {

// A converter that uses no processor time for this long after a stop request
// only waits, for something that will not come.
constexpr std::chrono::seconds kHungAfter{3};
// How long a converter asked to end may take before it is killed.
constexpr std::chrono::seconds kKillAfter{3};
// How often the stop request and the hung converters are looked at.
constexpr std::chrono::milliseconds kLook{250};

}  // namespace

ConverterPool::ConverterPool(Progress& progress, int slots)
    : progress_(progress), slots_(static_cast<size_t>(std::max(1, slots))) {}

ConverterPool::~ConverterPool() {
    Finish();
}

ConverterPool::Start ConverterPool::Run(const std::string& command_line, Settle settle) {
    while (running_.size() >= slots_) SettleOne();
    // Asked for meanwhile (while a slot was awaited, say): this one does not
    // start either, and its source stays.
    if (progress_.StopRequested()) {
        settle(false);
        return Start::Stopped;
    }
    ProcessResult result;
    std::unique_ptr<ChildProcess> child = StartProgram(command_line, result);
    if (!child) {
        settle(false);
        return Start::Failed;
    }
    running_.push_back(Running{std::move(child), std::move(settle)});
    return Start::Started;
}

void ConverterPool::Finish() {
    while (!running_.empty()) SettleOne();
}

void ConverterPool::SettleOne() {
    for (;;) {
        std::vector<ChildProcess*> children;
        for (Running& r : running_) children.push_back(r.child.get());
        WaitForAny(children, kLook);
        const auto now = Clock::now();
        bool settled = false;
        for (size_t i = 0; i < running_.size();) {
            Running& r = running_[i];
            if (!r.child->Ended()) {
                Watch(r, now);
                ++i;
                continue;
            }
            Running done = std::move(r);
            running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(i));
            done.settle(done.child->exit_code() == 0 && !done.ending);
            settled = true;
        }
        if (settled) return;
    }
}

void ConverterPool::Watch(Running& r, Clock::time_point now) {
    if (!progress_.StopRequested()) return;
    if (r.ending) {
        if (!r.killed && now - r.ended_at >= kKillAfter) {
            r.child->Kill();
            r.killed = true;
        }
        return;
    }
    const std::int64_t cpu = r.child->CpuTime();
    if (cpu != r.cpu) {
        r.cpu = cpu;
        r.idle_since = now;
    } else if (now - r.idle_since >= kHungAfter) {
        r.child->Terminate();
        r.ending = true;
        r.ended_at = now;
    }
}

}  // namespace qv5::convert
