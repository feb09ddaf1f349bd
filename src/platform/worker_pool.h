// Worker threads that the library's chart readers and the install's block
// writer hand their work to: a fixed number of threads, a bounded queue (a
// producer that runs ahead waits), a stop that leaves queued work
// unstarted, and a task's exception handed to the caller instead of ending
// the program.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace qv5 {

class WorkerPool {
  public:
    // `worker`: the number (below threads()) of the thread that runs it, for
    // scratch state kept per thread.
    using Task = std::function<void(unsigned worker)>;

    // At least one thread, and at least one queued task. When the system
    // gives fewer threads than asked, the pool runs with those it got.
    WorkerPool(unsigned threads, size_t queue_limit);
    // Stops, then joins every thread.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    unsigned threads() const { return static_cast<unsigned>(threads_.size()); }

    // Queues the task, waiting while `queue_limit` tasks wait to start.
    // False, the task dropped, once the pool is stopped.
    bool Submit(Task task);
    // Tasks not started are dropped and never start; running ones finish.
    // cancelled() turns true, so a long task can give up between its pieces.
    void Stop();
    bool cancelled() const { return cancel_.load(std::memory_order_relaxed); }
    const std::atomic<bool>& cancel_flag() const { return cancel_; }

    // A task has thrown since the last Wait().
    bool failed() const { return failed_.load(std::memory_order_acquire); }
    // Waits until no task is queued or running, then rethrows the first
    // exception a task threw since the last Wait() (and forgets it).
    void Wait();

  private:
    void Run(unsigned worker);

    const size_t queue_limit_;
    std::mutex mutex_;
    std::condition_variable work_;   // a task queued, or the stop
    std::condition_variable space_;  // a task taken off the queue, or the stop
    std::condition_variable idle_;   // a task finished
    std::deque<Task> queue_;
    size_t running_ = 0;
    bool stopped_ = false;
    std::exception_ptr error_;
    std::atomic<bool> failed_{false};
    std::atomic<bool> cancel_{false};
    std::vector<std::thread> threads_;
};

// In which order PoolResults hands results back.
enum class ResultOrder {
    Submitted,  // as the tasks were submitted: a task done early waits for those before it
    Finished,   // as they finish
};

// A pool whose tasks return a value that the submitting thread takes back.
// Submit, Take and in_flight() belong to one thread.
template <class R>
class PoolResults {
  public:
    using Job = std::function<R(unsigned worker, const std::atomic<bool>& cancel)>;

    PoolResults(unsigned threads, size_t queue_limit, ResultOrder order)
        : order_(order), pool_(threads, queue_limit) {}
    // The pool goes first (its member is the last): its threads are joined
    // before the slots they write to.
    ~PoolResults() { pool_.Stop(); }
    PoolResults(const PoolResults&) = delete;
    PoolResults& operator=(const PoolResults&) = delete;

    unsigned threads() const { return pool_.threads(); }
    // Submitted and not yet taken back (dropped ones by a stop included).
    size_t in_flight() const { return in_flight_; }

    // Waits while the pool's queue is full; false once stopped.
    bool Submit(Job job) {
        auto slot = std::make_shared<Slot>();
        auto run = [this, slot, job = std::move(job)](unsigned worker) {
            std::optional<R> value;
            std::exception_ptr error;
            try {
                value.emplace(job(worker, pool_.cancel_flag()));
            } catch (...) {
                error = std::current_exception();
            }
            {
                std::lock_guard lock(mutex_);
                slot->value = std::move(value);
                slot->error = error;
                slot->done = true;
                if (order_ == ResultOrder::Finished) finished_.push_back(slot);
            }
            done_.notify_all();
        };
        if (order_ == ResultOrder::Submitted) submitted_.push_back(slot);
        if (!pool_.Submit(std::move(run))) {
            if (order_ == ResultOrder::Submitted) submitted_.pop_back();
            return false;
        }
        ++in_flight_;
        return true;
    }

    // The next result (the oldest task's, or any finished one's), waiting up
    // to `wait` for it; nullopt when there is none yet. A task's exception
    // is rethrown here, in its place among the results.
    std::optional<R> Take(std::chrono::milliseconds wait) {
        std::shared_ptr<Slot> slot;
        {
            std::unique_lock lock(mutex_);
            if (order_ == ResultOrder::Submitted) {
                if (submitted_.empty()) return std::nullopt;
                Slot* front = submitted_.front().get();
                if (!Await(lock, wait, [front] { return front->done; })) return std::nullopt;
                slot = std::move(submitted_.front());
                submitted_.pop_front();
            } else {
                if (in_flight_ == 0) return std::nullopt;
                if (!Await(lock, wait, [this] { return !finished_.empty(); })) return std::nullopt;
                slot = std::move(finished_.front());
                finished_.pop_front();
            }
        }
        --in_flight_;
        if (slot->error) std::rethrow_exception(slot->error);
        return std::move(slot->value);
    }

    void Stop() { pool_.Stop(); }
    bool cancelled() const { return pool_.cancelled(); }

  private:
    struct Slot {
        std::optional<R> value;
        std::exception_ptr error;
        bool done = false;
    };

    // A look without a wait stays a look: no timed wait, no unlocking.
    template <class Ready>
    bool Await(std::unique_lock<std::mutex>& lock, std::chrono::milliseconds wait, Ready ready) {
        if (ready()) return true;
        return wait.count() > 0 && done_.wait_for(lock, wait, ready);
    }

    const ResultOrder order_;
    std::mutex mutex_;
    std::condition_variable done_;
    std::deque<std::shared_ptr<Slot>> submitted_;  // Submitted: the caller's order
    std::deque<std::shared_ptr<Slot>> finished_;   // Finished: as they were done
    size_t in_flight_ = 0;                         // the caller's thread only
    WorkerPool pool_;
};

}  // namespace qv5
