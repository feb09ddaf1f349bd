// Reads charts on worker threads, ahead of the one thread that stores them:
// charts come back in the order they were handed in, so rows are written
// exactly as a one-by-one scan writes them.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "library/chart_record.h"

namespace qv5 {

// What a chart's folder adds to its record, the same for every chart in it.
struct ChartFolder {
    std::string directory, parent_directory;
    std::int32_t txt = 0;
};

struct ChartJob {
    // Given by the caller (`adddate` and `folder` are carried along; no
    // folder: the worker looks its facts up as it reads the chart).
    std::string path;
    std::int32_t adddate = 0;
    std::shared_ptr<const ChartFolder> folder;
    // False when `date` is given and the worker is not to look it up.
    bool find_date = true;
    // Filled by a worker: the file's own facts (see ReadChartFile), and the
    // library time of its last write (-1 when it cannot be looked up).
    ChartRecord record;
    std::int32_t date = -1;
    bool read = false;
};

class ChartPipeline {
  public:
    explicit ChartPipeline(unsigned workers);
    // Drops the jobs not yet taken and joins every worker.
    ~ChartPipeline();
    ChartPipeline(const ChartPipeline&) = delete;
    ChartPipeline& operator=(const ChartPipeline&) = delete;

    // Jobs handed in and not yet taken back (caller's thread only).
    size_t pending() const { return order_.size(); }
    void Submit(ChartJob job);
    // The oldest job once it is read, waiting at most `wait`; nullopt when
    // none is pending or it is not read yet.
    std::optional<ChartJob> TakeFront(std::chrono::milliseconds wait);

  private:
    struct Slot {
        ChartJob job;
        bool done = false;
    };
    void Work();

    std::mutex mutex_;
    std::condition_variable work_, done_;
    std::deque<std::unique_ptr<Slot>> order_;  // caller's order; owned here
    std::deque<Slot*> todo_;                   // not yet picked by a worker
    bool stop_ = false;
    std::atomic<bool> cancel_{false};  // read between the pieces of a large chart
    bool waiting_ = false;  // the caller waits in TakeFront
    unsigned workers_;      // set before any worker starts
    std::vector<std::thread> threads_;
};

// Worker threads worth running beside the thread that stores rows.
unsigned ChartReadWorkers();

}  // namespace qv5
