#include "install/block_writer.h"

#include <errno.h>
#include <unistd.h>

#include <system_error>
#include <utility>

namespace qv5 {

namespace {
// Blocks waiting for the writer while it writes another.
constexpr size_t kQueued = 2;

// One block, on the pool's thread: a failure is thrown, for Finish() to give.
void Write(const std::string& bytes, std::int64_t offset, int fd) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = pwrite(fd, p, left, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::system_error(n < 0 ? errno : ENOSPC, std::generic_category());
        p += n;
        left -= static_cast<size_t>(n);
        offset += n;
    }
}

}  // namespace

BlockWriter::BlockWriter() : pool_(1, kQueued) {}

// Blocks still queued (a stop between Put and Finish) are dropped unwritten.
BlockWriter::~BlockWriter() = default;

void BlockWriter::Begin(int fd) {
    fd_ = fd;
}

bool BlockWriter::Put(const void* data, size_t size, std::int64_t offset) {
    if (pool_.failed()) return false;
    std::string bytes;
    {
        std::lock_guard lock(spare_mutex_);
        if (!spare_.empty()) {
            bytes = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    bytes.assign(static_cast<const char*>(data), size);
    const int fd = fd_;
    return pool_.Submit([this, bytes = std::move(bytes), offset, fd](unsigned) mutable {
        // After a failure what is still queued is dropped unwritten; the
        // failed block's buffer goes with its exception.
        if (!pool_.failed()) Write(bytes, offset, fd);
        std::lock_guard lock(spare_mutex_);
        spare_.push_back(std::move(bytes));
    });
}

int BlockWriter::Finish() {
    int error = 0;
    try {
        pool_.Wait();
    } catch (const std::system_error& e) {
        error = e.code().value();
    }
    fd_ = -1;
    return error;
}

}  // namespace qv5
