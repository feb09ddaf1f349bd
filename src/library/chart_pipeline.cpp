#include "library/chart_pipeline.h"

#include "library/chart_parse.h"
#include "library/encodings.h"
#include "platform/files.h"

namespace qv5 {

unsigned ChartReadWorkers() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores < 1 ? 1 : cores > 4 ? 4 : cores;
}

ChartPipeline::ChartPipeline(unsigned workers) {
    if (workers < 1) workers = 1;
    threads_.reserve(workers);
    for (unsigned i = 0; i < workers; ++i) threads_.emplace_back([this] { Work(); });
}

ChartPipeline::~ChartPipeline() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        todo_.clear();
    }
    work_.notify_all();
    // A slot a worker still reads stays alive in order_ until the join.
    for (std::thread& t : threads_) t.join();
}

void ChartPipeline::Submit(ChartJob job) {
    auto slot = std::make_unique<Slot>();
    slot->job = std::move(job);
    {
        std::lock_guard lock(mutex_);
        todo_.push_back(slot.get());
        order_.push_back(std::move(slot));
    }
    work_.notify_one();
}

std::optional<ChartJob> ChartPipeline::TakeFront(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    if (order_.empty()) return std::nullopt;
    Slot* front = order_.front().get();
    if (!front->done && !done_.wait_for(lock, wait, [front] { return front->done; }))
        return std::nullopt;
    ChartJob job = std::move(front->job);
    order_.pop_front();
    return job;
}

void ChartPipeline::Work() {
    FileBuffer buffer;
    for (;;) {
        Slot* slot;
        {
            std::unique_lock lock(mutex_);
            work_.wait(lock, [this] { return stop_ || !todo_.empty(); });
            if (stop_) return;
            slot = todo_.front();
            todo_.pop_front();
        }
        // The slot is this worker's alone until it is marked done.
        ChartJob& job = slot->job;
        const auto time = WriteTime(job.path);
        job.date = time ? LibraryTime(*time) : -1;
        job.read = ReadChartFile(job.record, job.path, buffer);
        {
            std::lock_guard lock(mutex_);
            slot->done = true;
        }
        done_.notify_all();
    }
}

}  // namespace qv5
