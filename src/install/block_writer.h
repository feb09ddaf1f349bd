// Writes the blocks of one file on a second thread while the caller unpacks
// the next ones: unpacking and the kernel's copy of the data overlap.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/worker_pool.h"

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
    std::mutex spare_mutex_;
    std::vector<std::string> spare_;  // written blocks' buffers, for the next ones
    int fd_ = -1;
    // Last: its thread is joined before the buffers it gives back go.
    WorkerPool pool_;
};

}  // namespace qv5
