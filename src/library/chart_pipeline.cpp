#include "library/chart_pipeline.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "library/chart_parse.h"
#include "library/encodings.h"
#include "library/file_hash.h"
#include "library/md5_batch.h"
#include "platform/files.h"

namespace qv5 {

namespace {

// Charts one task reads before it hashes them side by side: as many as
// Md5Batch hashes at once.
constexpr size_t kBatch = 8;
// Batches waiting for a worker at most: more than a scan keeps ahead, so
// the scan's own read-ahead is what holds it back.
constexpr size_t kQueuedBatches = 32;
// Bytes one worker holds at most before it hashes what it has read.
constexpr size_t kBatchBytes = 16 << 20;
// Buffers that grew past this are given back after each batch.
constexpr size_t kKeptBufferBytes = 1 << 20;

}  // namespace

unsigned ChartReadWorkers() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores < 1 ? 1 : cores > 4 ? 4 : cores;
}

// Kept by each worker from batch to batch: the buffers keep their memory
// (up to kKeptBufferBytes each).
struct ChartReadScratch {
    // Read copies rather than mappings: a mapping is read twice (parse, then
    // hash) and a chart saved in between gives a row of two versions.
    std::vector<FileBuffer> buffers = std::vector<FileBuffer>(kBatch);
    std::vector<bool> copied;  // batch places read into their buffer
    Md5Batch md5;
};

namespace {

// A chart read into `buffer`, the one copy of its bytes that both its facts
// and (by the caller) its hash come from: false when there are no bytes to
// hash (unreadable, changing all the while it is read, or too large to hold
// and read piece by piece).
bool ReadChart(ChartJob& job, FileBuffer& buffer, const std::atomic<bool>& cancel) {
    if (buffer.Read(job.path, kWholeReadBytes)) {
        if (job.find_date) job.date = LibraryTime(buffer.write_time());
        ParseChartFile(job.record, job.path, buffer.view());
        if (!job.folder) AddFolderFacts(job.record, job.path);
        job.read = true;
        return true;
    }
    if (job.find_date) {
        // A chart still being saved has no time yet: the next refresh reads it.
        const auto time = buffer.changing() ? std::nullopt : WriteTime(job.path);
        job.date = time ? LibraryTime(*time) : -1;
    }
    if (buffer.too_large()) {
        job.read = ReadChartFile(job.record, job.path, buffer, &cancel);
        if (job.read && !job.folder) AddFolderFacts(job.record, job.path);
    } else {
        job.record = ChartRecord{};
        job.read = false;
    }
    return false;
}

void ReadBatch(std::vector<ChartJob>& batch, ChartReadScratch& scratch,
               const std::atomic<bool>& cancel) {
    std::vector<FileBuffer>& buffers = scratch.buffers;
    std::vector<bool>& copied = scratch.copied;
    Md5Batch& md5 = scratch.md5;
    auto hash = [&] {
        md5.Run();
        for (FileBuffer& b : buffers)
            if (b.view().size() > kKeptBufferBytes) b.Release();
    };
    size_t held = 0;
    copied.assign(batch.size(), false);
    for (size_t i = 0; i < batch.size(); ++i) {
        ChartJob& job = batch[i];
        // One open gives the bytes, the size and (unless known) the date.
        if (!ReadChart(job, buffers[i], cancel)) continue;
        copied[i] = true;
        const std::string_view bytes = buffers[i].view();
        md5.Add(bytes, &job.record.hash);
        held += bytes.size();
        if (held > kBatchBytes) {
            hash();
            held = 0;
        }
    }
    hash();
    // A chart whose save stood still halfway while it was read has moved
    // on since: read alone again, it gives a row of the file as it is.
    for (size_t i = 0; i < batch.size(); ++i) {
        ChartJob& job = batch[i];
        for (int again = 0; copied[i] && again < 3 && !buffers[i].StillAsRead(job.path); ++again) {
            copied[i] = ReadChart(job, buffers[i], cancel);
            if (copied[i]) job.record.hash = Md5Hex(buffers[i].view());
        }
    }
}

}  // namespace

ChartPipeline::ChartPipeline(unsigned workers)
    : pool_(workers < 1 ? 1 : workers, kQueuedBatches, ResultOrder::Submitted) {
    for (unsigned i = 0; i < pool_.threads(); ++i)
        scratch_.push_back(std::make_unique<ChartReadScratch>());
    gathering_.reserve(kBatch);
}

// The pool's stop: batches not started are dropped, a large chart being
// read gives up between its pieces; the workers are joined.
ChartPipeline::~ChartPipeline() = default;

void ChartPipeline::Send() {
    if (gathering_.empty()) return;
    Batch batch = std::exchange(gathering_, {});
    gathering_.reserve(kBatch);
    pool_.Submit(
        [this, batch = std::move(batch)](unsigned worker, const std::atomic<bool>& cancel) mutable {
            ReadBatch(batch, *scratch_[worker], cancel);
            return std::move(batch);
        });
}

void ChartPipeline::Submit(ChartJob job) {
    gathering_.push_back(std::move(job));
    ++pending_;
    // Charts are hashed eight side by side: a batch goes once it is full.
    if (gathering_.size() >= kBatch) Send();
}

std::optional<ChartJob> ChartPipeline::TakeFront(std::chrono::milliseconds wait) {
    if (taken_.empty()) {
        auto batch = pool_.Take({});
        if (!batch && wait.count() > 0) {
            // The caller waits: a worker with nothing to do takes what there is,
            // however little; while every worker is busy the batch still fills.
            if (pool_.in_flight() < pool_.threads()) Send();
            batch = pool_.Take(wait);
        }
        if (!batch) return std::nullopt;
        for (ChartJob& job : *batch) taken_.push_back(std::move(job));
    }
    ChartJob job = std::move(taken_.front());
    taken_.pop_front();
    --pending_;
    return job;
}

}  // namespace qv5
