#include "library/chart_pipeline.h"

#include <algorithm>

#include "library/chart_parse.h"
#include "library/encodings.h"
#include "library/file_hash.h"
#include "library/md5_batch.h"
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
    cancel_.store(true, std::memory_order_relaxed);  // a large chart being read
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

}  // namespace

void ChartPipeline::Work() {
    // Read copies rather than mappings: a mapping is read twice (parse, then
    // hash) and a chart saved in between gives a row of two versions.
    std::vector<FileBuffer> buffers(kBatch);
    std::vector<Slot*> batch;
    std::vector<bool> copied;  // batch places read into their buffer
    Md5Batch md5;
    auto hash = [&] {
        md5.Run();
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
        copied.assign(batch.size(), false);
        for (size_t i = 0; i < batch.size(); ++i) {
            ChartJob& job = batch[i]->job;
            // One open gives the bytes, the size and (unless known) the date.
            if (!ReadChart(job, buffers[i], cancel_)) continue;
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
            ChartJob& job = batch[i]->job;
            for (int again = 0; copied[i] && again < 3 && !buffers[i].StillAsRead(job.path);
                 ++again) {
                copied[i] = ReadChart(job, buffers[i], cancel_);
                if (copied[i]) job.record.hash = Md5Hex(buffers[i].view());
            }
        }
        {
            std::lock_guard lock(mutex_);
            for (Slot* slot : batch) slot->done = true;
        }
        done_.notify_all();
    }
}

}  // namespace qv5
