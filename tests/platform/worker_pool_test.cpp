#include "platform/worker_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qv5 {
namespace {

using namespace std::chrono_literals;

// A minute is a hang, not a slow machine.
constexpr auto kHang = std::chrono::seconds(60);

// Holds the tasks that wait on it until it is opened.
class Gate {
  public:
    void Open() { open_.set_value(); }
    void Pass() { opened_.wait(); }

  private:
    std::promise<void> open_;
    std::shared_future<void> opened_ = open_.get_future().share();
};

void WaitFor(const std::atomic<int>& value, int at_least) {
    const auto until = std::chrono::steady_clock::now() + kHang;
    while (value.load() < at_least && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(1ms);
}

// Results in submission order whatever order the tasks finish in: the
// earlier tasks are made the slower ones.
TEST(WorkerPoolTest, SubmittedOrderIsKeptWhateverFinishesFirst) {
    struct Case {
        unsigned threads;
        int tasks;
    } cases[] = {{1, 1}, {1, 20}, {2, 7}, {3, 40}, {4, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.threads) + " threads, " + std::to_string(c.tasks) + " tasks");
        PoolResults<int> pool(c.threads, 4, ResultOrder::Submitted);
        std::vector<int> got;
        for (int i = 0; i < c.tasks; ++i) {
            ASSERT_TRUE(pool.Submit([i, n = c.tasks](unsigned, const std::atomic<bool>&) {
                std::this_thread::sleep_for(std::chrono::microseconds(50 * (n - i) % 700));
                return i * 3;
            }));
            // Some taken as they come, as a scan takes them.
            if (auto r = pool.Take(0ms)) got.push_back(*r);
        }
        while (pool.in_flight() > 0) {
            auto r = pool.Take(kHang);
            ASSERT_TRUE(r);
            got.push_back(*r);
        }
        ASSERT_EQ(got.size(), size_t(c.tasks));
        for (int i = 0; i < c.tasks; ++i) EXPECT_EQ(got[size_t(i)], i * 3);
        EXPECT_FALSE(pool.Take(0ms));
    }
}

// Finished order hands back every result once, the quick ones before a
// slow one submitted ahead of them.
TEST(WorkerPoolTest, FinishedOrderGivesQuickResultsFirst) {
    PoolResults<int> pool(2, 8, ResultOrder::Finished);
    Gate gate;
    ASSERT_TRUE(pool.Submit([&gate](unsigned, const std::atomic<bool>&) {
        gate.Pass();
        return -1;
    }));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(pool.Submit([i](unsigned, const std::atomic<bool>&) { return i; }));
    std::vector<int> got;
    while (got.size() < 5) {
        auto r = pool.Take(kHang);
        ASSERT_TRUE(r);
        got.push_back(*r);
    }
    EXPECT_EQ(pool.in_flight(), 1u);
    gate.Open();
    auto last = pool.Take(kHang);
    ASSERT_TRUE(last);
    EXPECT_EQ(*last, -1);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<int>{0, 1, 2, 3, 4}));
}

// A stop while the one thread is busy: the tasks queued behind never start,
// the running one finishes and sees the cancel flag, Submit refuses more.
TEST(WorkerPoolTest, StopLeavesQueuedTasksUnstarted) {
    for (int queued : {1, 3, 8}) {
        SCOPED_TRACE(queued);
        std::atomic<int> started{0};
        std::atomic<bool> saw_cancel{false};
        Gate gate;
        {
            WorkerPool pool(1, 16);
            ASSERT_TRUE(pool.Submit([&](unsigned) {
                ++started;
                gate.Pass();
                saw_cancel = pool.cancelled();
            }));
            WaitFor(started, 1);
            ASSERT_EQ(started.load(), 1);
            for (int i = 0; i < queued; ++i) ASSERT_TRUE(pool.Submit([&](unsigned) { ++started; }));
            pool.Stop();
            EXPECT_FALSE(pool.Submit([&](unsigned) { ++started; }));
            gate.Open();
            pool.Wait();
        }
        EXPECT_EQ(started.load(), 1);
        EXPECT_TRUE(saw_cancel.load());
    }
}

// The same through PoolResults: what a stop drops never comes back.
TEST(WorkerPoolTest, StoppedResultsNeverArrive) {
    PoolResults<int> pool(1, 8, ResultOrder::Submitted);
    Gate gate;
    std::atomic<int> started{0};
    ASSERT_TRUE(pool.Submit([&](unsigned, const std::atomic<bool>& cancel) {
        ++started;
        gate.Pass();
        return cancel.load() ? 1 : 0;
    }));
    WaitFor(started, 1);
    ASSERT_TRUE(pool.Submit([&](unsigned, const std::atomic<bool>&) { return ++started; }));
    pool.Stop();
    gate.Open();
    auto first = pool.Take(kHang);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, 1);
    EXPECT_FALSE(pool.Take(50ms));
    EXPECT_EQ(started.load(), 1);
}

// A task's exception reaches the caller, in its place, and the pool goes on
// with the other tasks (no std::terminate).
TEST(WorkerPoolTest, TaskErrorsReachTheCaller) {
    struct Case {
        ResultOrder order;
        unsigned threads;
        int failing;  // the task that throws
    } cases[] = {{ResultOrder::Submitted, 1, 0},
                 {ResultOrder::Submitted, 3, 4},
                 {ResultOrder::Finished, 2, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        PoolResults<int> pool(c.threads, 4, c.order);
        for (int i = 0; i < 10; ++i)
            ASSERT_TRUE(pool.Submit([i, &c](unsigned, const std::atomic<bool>&) -> int {
                if (i == c.failing) throw std::runtime_error("task " + std::to_string(i));
                return i;
            }));
        int results = 0, errors = 0;
        for (int taken = 0; taken < 10; ++taken) {
            try {
                auto r = pool.Take(kHang);
                ASSERT_TRUE(r);
                if (c.order == ResultOrder::Submitted) {
                    EXPECT_EQ(*r, taken);
                }
                ++results;
            } catch (const std::runtime_error& e) {
                EXPECT_EQ(std::string(e.what()), "task " + std::to_string(c.failing));
                if (c.order == ResultOrder::Submitted) {
                    EXPECT_EQ(taken, c.failing);
                }
                ++errors;
            }
        }
        EXPECT_EQ(results, 9);
        EXPECT_EQ(errors, 1);
    }
}

// A plain task's exception comes out of Wait(), once: the first of them.
TEST(WorkerPoolTest, WaitRethrowsTheFirstError) {
    WorkerPool pool(1, 4);
    std::atomic<int> ran{0};
    ASSERT_TRUE(pool.Submit([&](unsigned) { ++ran; }));
    ASSERT_TRUE(pool.Submit([&](unsigned) {
        ++ran;
        throw std::runtime_error("first");
    }));
    ASSERT_TRUE(pool.Submit([&](unsigned) {
        ++ran;
        throw std::runtime_error("second");
    }));
    try {
        pool.Wait();
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "first");
    }
    EXPECT_EQ(ran.load(), 3);
    EXPECT_FALSE(pool.failed());
    EXPECT_NO_THROW(pool.Wait());
}

// A producer ahead of the workers waits once `queue_limit` tasks wait to
// start, and goes on as soon as one starts.
TEST(WorkerPoolTest, FullQueueHoldsTheProducer) {
    for (size_t limit : {size_t{1}, size_t{2}, size_t{5}}) {
        SCOPED_TRACE(limit);
        Gate gate;
        std::atomic<int> started{0};
        WorkerPool pool(1, limit);
        ASSERT_TRUE(pool.Submit([&](unsigned) {
            ++started;
            gate.Pass();
        }));
        WaitFor(started, 1);
        for (size_t i = 0; i < limit; ++i) ASSERT_TRUE(pool.Submit([&](unsigned) { ++started; }));
        std::atomic<bool> submitted{false};
        std::thread producer([&] {
            EXPECT_TRUE(pool.Submit([&](unsigned) { ++started; }));
            submitted = true;
        });
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(submitted.load());
        gate.Open();
        producer.join();
        EXPECT_TRUE(submitted.load());
        pool.Wait();
        EXPECT_EQ(started.load(), int(limit) + 2);
    }
}

// A stop frees a producer held by a full queue.
TEST(WorkerPoolTest, StopFreesAHeldProducer) {
    Gate gate;
    std::atomic<int> started{0};
    WorkerPool pool(1, 1);
    ASSERT_TRUE(pool.Submit([&](unsigned) {
        ++started;
        gate.Pass();
    }));
    WaitFor(started, 1);
    ASSERT_TRUE(pool.Submit([](unsigned) {}));
    std::thread producer([&] { EXPECT_FALSE(pool.Submit([](unsigned) {})); });
    std::this_thread::sleep_for(50ms);
    pool.Stop();
    producer.join();
    gate.Open();
}

// No task at all: nothing to wait for, nothing to take, a clean join.
TEST(WorkerPoolTest, ZeroTasks) {
    for (unsigned threads : {0u, 1u, 4u}) {
        SCOPED_TRACE(threads);
        WorkerPool pool(threads, 0);
        EXPECT_GE(pool.threads(), 1u);
        EXPECT_NO_THROW(pool.Wait());
        EXPECT_FALSE(pool.failed());
        for (ResultOrder order : {ResultOrder::Submitted, ResultOrder::Finished}) {
            PoolResults<int> results(threads, 1, order);
            EXPECT_EQ(results.in_flight(), 0u);
            EXPECT_FALSE(results.Take(0ms));
            EXPECT_FALSE(results.Take(10ms));
        }
    }
}

// Each thread has its own number, below threads(), for scratch state.
TEST(WorkerPoolTest, WorkerNumbersAreEachThreadsOwn) {
    WorkerPool pool(3, 64);
    std::mutex mutex;
    std::vector<std::pair<unsigned, std::thread::id>> seen;
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(pool.Submit([&](unsigned worker) {
            std::lock_guard lock(mutex);
            seen.emplace_back(worker, std::this_thread::get_id());
        }));
    pool.Wait();
    ASSERT_EQ(seen.size(), 200u);
    std::vector<std::thread::id> owner(pool.threads());
    for (const auto& [worker, id] : seen) {
        ASSERT_LT(worker, pool.threads());
        if (owner[worker] == std::thread::id()) owner[worker] = id;
        EXPECT_EQ(owner[worker], id);
    }
}

}  // namespace
}  // namespace qv5
