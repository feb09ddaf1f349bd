#include "platform/worker_pool.h"

namespace qv5 {

WorkerPool::WorkerPool(unsigned threads, size_t queue_limit)
    : queue_limit_(queue_limit < 1 ? 1 : queue_limit) {
    if (threads < 1) threads = 1;
    threads_.reserve(threads);
    for (unsigned i = 0; i < threads; ++i) {
        try {
            threads_.emplace_back([this, i] { Run(i); });
        } catch (...) {
            // Fewer threads do the same work; none at all would hang it.
            if (threads_.empty()) throw;
            break;
        }
    }
}

WorkerPool::~WorkerPool() {
    Stop();
    for (std::thread& t : threads_) t.join();
}

bool WorkerPool::Submit(Task task) {
    {
        std::unique_lock lock(mutex_);
        space_.wait(lock, [this] { return stopped_ || queue_.size() < queue_limit_; });
        if (stopped_) return false;
        queue_.push_back(std::move(task));
    }
    work_.notify_one();
    return true;
}

void WorkerPool::Stop() {
    std::deque<Task> dropped;
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        cancel_.store(true, std::memory_order_relaxed);
        dropped.swap(queue_);
    }
    work_.notify_all();
    space_.notify_all();
    idle_.notify_all();
    // `dropped` goes out of scope unlocked: what the tasks hold is freed
    // without keeping the workers waiting.
}

void WorkerPool::Wait() {
    std::exception_ptr error;
    {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return queue_.empty() && running_ == 0; });
        error = std::exchange(error_, nullptr);
        failed_.store(false, std::memory_order_release);
    }
    if (error) std::rethrow_exception(error);
}

void WorkerPool::Run(unsigned worker) {
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return stopped_ || !queue_.empty(); });
        // The stop is looked at before each task starts: what is queued then
        // is never started.
        if (stopped_) return;
        Task task = std::move(queue_.front());
        queue_.pop_front();
        ++running_;
        lock.unlock();
        space_.notify_one();
        std::exception_ptr error;
        try {
            task(worker);
        } catch (...) {
            error = std::current_exception();
        }
        task = nullptr;  // its captures are freed before it counts as done
        lock.lock();
        --running_;
        if (error && !error_) {
            error_ = error;
            failed_.store(true, std::memory_order_release);
        }
        if (running_ == 0 && queue_.empty()) idle_.notify_all();
    }
}

}  // namespace qv5
