#include "install/block_writer.h"

#include <errno.h>
#include <unistd.h>

namespace qv5 {

namespace {
constexpr size_t kQueued = 2;
}

BlockWriter::BlockWriter() : thread_([this] { Run(); }) {}

BlockWriter::~BlockWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BlockWriter::Begin(int fd) {
    std::lock_guard<std::mutex> lock(mutex_);
    fd_ = fd;
    error_ = 0;
}

bool BlockWriter::Put(const void* data, size_t size, std::int64_t offset) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < kQueued || error_ != 0; });
    if (error_ != 0) return false;
    Block block;
    if (!spare_.empty()) {
        block.bytes = std::move(spare_.back());
        spare_.pop_back();
    }
    block.bytes.assign(static_cast<const char*>(data), size);
    block.offset = offset;
    queue_.push_back(std::move(block));
    changed_.notify_all();
    return true;
}

int BlockWriter::Finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return (queue_.empty() && !busy_) || error_ != 0; });
    // After a failure what is still queued is dropped unwritten.
    for (Block& b : queue_) spare_.push_back(std::move(b.bytes));
    queue_.clear();
    changed_.wait(lock, [this] { return !busy_; });
    fd_ = -1;
    return error_;
}

void BlockWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (queue_.empty()) return;  // quit with nothing left to write
        Block block = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        const int fd = fd_;
        const bool failed = error_ != 0;
        lock.unlock();
        int error = 0;
        const char* p = block.bytes.data();
        size_t left = failed ? 0 : block.bytes.size();
        std::int64_t offset = block.offset;
        while (left > 0) {
            const ssize_t n = pwrite(fd, p, left, offset);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error = n < 0 ? errno : ENOSPC;
                break;
            }
            p += n;
            left -= static_cast<size_t>(n);
            offset += n;
        }
        lock.lock();
        busy_ = false;
        if (error != 0 && error_ == 0) error_ = error;
        spare_.push_back(std::move(block.bytes));
        changed_.notify_all();
    }
}

}  // namespace qv5
