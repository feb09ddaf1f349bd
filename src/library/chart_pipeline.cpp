#include "library/chart_pipeline.h"

#include <algorithm>

#include "library/chart_parse.h"
#include "library/encodings.h"
#include "library/file_hash.h"
#include "library/md5_batch.h"
#include "platform/file_map.h"
#include "platform/files.h"

namespace qv5 {

namespace {

// Charts one worker reads before it hashes them side by side.
constexpr size_t kBatch = 16;
// As many as Md5Batch hashes at once.
constexpr size_t kFullBatch = 8;
// Bytes one worker holds at most before it hashes what it has read.
constexpr size_t kBatchBytes = 16 << 20;
// Buffers that grew past this are given back after each batch.
constexpr size_t kKeptBufferBytes = 1 << 20;

}  // namespace

unsigned ChartReadWorkers() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores < 1 ? 1 : cores > 4 ? 4 : cores;
}

ChartPipeline::ChartPipeline(unsigned workers) : workers_(workers < 1 ? 1 : workers) {
    threads_.reserve(workers_);
    for (unsigned i = 0; i < workers_; ++i) threads_.emplace_back([this] { Work(); });
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
    bool wake;
    {
        std::lock_guard lock(mutex_);
        todo_.push_back(slot.get());
        order_.push_back(std::move(slot));
        wake = todo_.size() % kFullBatch == 0 || waiting_;
    }
    if (wake) work_.notify_one();
}

std::optional<ChartJob> ChartPipeline::TakeFront(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    if (order_.empty()) return std::nullopt;
    Slot* front = order_.front().get();
    if (!front->done) {
        if (wait.count() == 0) return std::nullopt;
        // The caller waits: the workers take what there is, however little.
        waiting_ = true;
        work_.notify_all();
        const bool done = done_.wait_for(lock, wait, [front] { return front->done; });
        waiting_ = false;
        if (!done) return std::nullopt;
    }
    ChartJob job = std::move(front->job);
    order_.pop_front();
    return job;
}

namespace {

// What a chart's bytes give its job, however they were read.
void Parse(ChartJob& job, std::string_view bytes, const FileTime& time) {
    if (job.find_date) job.date = LibraryTime(time);
    ParseChartFile(job.record, job.path, bytes);
    if (!job.folder) AddFolderFacts(job.record, job.path);
    job.read = true;
}

// A chart read through a copy of its bytes: false when there are no bytes
// to hash (unreadable, or too large to hold and read piece by piece).
bool ReadCopied(ChartJob& job, FileBuffer& buffer) {
    if (!buffer.Read(job.path, kWholeReadBytes)) {
        if (job.find_date) {
            const auto time = WriteTime(job.path);
            job.date = time ? LibraryTime(*time) : -1;
        }
        if (buffer.too_large()) {
            job.read = ReadChartFile(job.record, job.path, buffer);
            if (job.read && !job.folder) AddFolderFacts(job.record, job.path);
        } else {
            job.record = ChartRecord{};
            job.read = false;
        }
        return false;
    }
    Parse(job, buffer.view(), buffer.write_time());
    return true;
}

}  // namespace

void ChartPipeline::Work() {
    std::vector<FileBuffer> buffers(kBatch);
    FileMaps maps(kBatch);
    std::vector<Slot*> batch;
    std::vector<size_t> mapped;  // batch places hashed from their mapping
    Md5Batch md5;
    auto hash = [&] {
        md5.Run();
        // A chart cut short while it was mapped was partly zeros: read again.
        for (size_t i : mapped) {
            ChartJob& job = batch[i]->job;
            if (!maps.intact(i) && ReadCopied(job, buffers[i]))
                job.record.hash = Md5Hex(buffers[i].view());
        }
        mapped.clear();
        maps.UnmapAll();
        for (FileBuffer& b : buffers)
            if (b.view().size() > kKeptBufferBytes) b.Release();
    };
    for (;;) {
        batch.clear();
        {
            std::unique_lock lock(mutex_);
            // Charts are hashed eight side by side: a worker waits for that
            // many, unless the caller is waiting for what is there.
            work_.wait(lock, [this] {
                return stop_ || todo_.size() >= kFullBatch || (waiting_ && !todo_.empty());
            });
            if (stop_) return;
            const size_t share = std::min(todo_.size(), kBatch);
            for (size_t i = 0; i < share; ++i) {
                batch.push_back(todo_.front());
                todo_.pop_front();
            }
            // What is left may be another worker's batch already.
            if (todo_.size() >= kFullBatch || (waiting_ && !todo_.empty())) work_.notify_one();
        }
        // The batch's slots are this worker's alone until they are marked done.
        size_t held = 0;
        for (size_t i = 0; i < batch.size(); ++i) {
            ChartJob& job = batch[i]->job;
            // One open gives the bytes, the size and (unless known) the date.
            FileTime time;
            std::string_view bytes;
            if (const auto view = maps.Map(i, job.path, &time)) {
                bytes = *view;
                Parse(job, bytes, time);
                mapped.push_back(i);
            } else if (ReadCopied(job, buffers[i])) {
                bytes = buffers[i].view();
            } else {
                continue;
            }
            md5.Add(bytes, &job.record.hash);
            held += bytes.size();
            if (held > kBatchBytes) {
                hash();
                held = 0;
            }
        }
        hash();
        {
            std::lock_guard lock(mutex_);
            for (Slot* slot : batch) slot->done = true;
        }
        done_.notify_all();
    }
}

}  // namespace qv5
