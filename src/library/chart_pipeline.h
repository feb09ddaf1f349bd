// Reads charts on worker threads, ahead of the one thread that stores them:
// charts come back in the order they were handed in, so rows are written
// exactly as a one-by-one scan writes them.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/chart_record.h"
#include "platform/worker_pool.h"

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

// What each worker keeps from batch to batch.
struct ChartReadScratch;

class ChartPipeline {
  public:
    explicit ChartPipeline(unsigned workers);
    // Drops the jobs not yet taken and joins every worker.
    ~ChartPipeline();
    ChartPipeline(const ChartPipeline&) = delete;
    ChartPipeline& operator=(const ChartPipeline&) = delete;

    // Jobs handed in and not yet taken back (caller's thread only).
    size_t pending() const { return pending_; }
    void Submit(ChartJob job);
    // The oldest job once it is read, waiting at most `wait`; nullopt when
    // none is pending or it is not read yet.
    std::optional<ChartJob> TakeFront(std::chrono::milliseconds wait);

  private:
    using Batch = std::vector<ChartJob>;
    // Hands the batch being gathered to the pool.
    void Send();

    size_t pending_ = 0;
    Batch gathering_;             // the newest jobs, not yet handed to the pool
    std::deque<ChartJob> taken_;  // the rest of the oldest batch read
    std::vector<std::unique_ptr<ChartReadScratch>> scratch_;  // one per worker
    // Last: its workers are joined before the scratch they use goes.
    PoolResults<Batch> pool_;
};

// Worker threads worth running beside the thread that stores rows.
unsigned ChartReadWorkers();

}  // namespace qv5
