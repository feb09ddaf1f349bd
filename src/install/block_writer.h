// Writes the blocks of one file on a second thread while the caller unpacks
// the next ones: unpacking and the kernel's copy of the data overlap.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qv5 {

class BlockWriter {
  public:
    BlockWriter();
    ~BlockWriter();
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Blocks go to `fd` until Finish().
    void Begin(int fd);
    // Queues a copy of the block, waiting while two are queued. False when a
    // write has failed already (Finish() says why).
    bool Put(const void* data, size_t size, std::int64_t offset);
    // Waits until every queued block is written: 0, or the errno of the first
    // write that failed (ENOSPC for a write that wrote nothing).
    int Finish();

  private:
    struct Block {
        std::string bytes;
        std::int64_t offset = 0;
    };
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Block> queue_;
    std::vector<std::string> spare_;
    bool busy_ = false;  // the thread is writing a block taken off the queue
    bool quit_ = false;
    int fd_ = -1;
    int error_ = 0;
    std::thread thread_;
};

}  // namespace qv5
