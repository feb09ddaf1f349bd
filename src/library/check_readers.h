// The library check's chart reading: worker threads read each chart once,
// hash it (eight side by side, as the scanner does), run the header pass for
// its notes and collect the files it uses, which they look up in its folder.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "library/chart_references.h"
#include "platform/worker_pool.h"

namespace qv5 {

// A walked folder as its charts' readers need it.
struct CheckFolder {
    std::string dir;  // with its trailing "\"
    FolderNames names;
};

struct CheckReadJob {
    std::string path;
    std::shared_ptr<const CheckFolder> folder;
    std::uint32_t index = 0;  // the caller's number for the chart
};

struct CheckReadResult {
    std::uint32_t index = 0;
    bool opened = false;
    bool too_large = false;  // larger than any chart: left unread
    std::int32_t notes = 0;
    std::string hash;  // the song hash, empty when not opened
    std::int64_t size = 0;
    long missing = 0;                  // names used that the folder lacks
    std::vector<std::string> missing_names;  // the first kMissingNamesKept of them
};

// What each reader keeps from batch to batch.
struct CheckReadScratch;

class CheckReaders {
  public:
    // `references`: whether the files each chart uses are looked up.
    CheckReaders(unsigned workers, bool references);
    // Drops the jobs not yet taken and joins every worker.
    ~CheckReaders();
    CheckReaders(const CheckReaders&) = delete;
    CheckReaders& operator=(const CheckReaders&) = delete;

    void Submit(CheckReadJob job);
    // Jobs submitted and not yet taken back.
    size_t in_flight() const { return in_flight_; }
    // Moves the results ready into `out`, waiting up to `wait` for one when
    // none is ready (the workers then take whatever is queued).
    void Take(std::vector<CheckReadResult>& out, std::chrono::milliseconds wait);

  private:
    using Batch = std::vector<CheckReadJob>;
    using Results = std::vector<CheckReadResult>;
    // Hands the batch being gathered to the pool.
    void Send();

    const bool references_;
    size_t in_flight_ = 0;  // caller's thread only
    Batch gathering_;       // the newest jobs, not yet handed to the pool
    std::vector<std::unique_ptr<CheckReadScratch>> scratch_;  // one per worker
    // Last: its workers are joined before the scratch they use goes.
    PoolResults<Results> pool_;
};

// One chart's reading as the workers do it (for tests): opened, notes, hash,
// size and the missing names.
CheckReadResult ReadChartForCheck(const std::string& path, const CheckFolder& folder);

}  // namespace qv5
