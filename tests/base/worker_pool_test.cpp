// The worker pool: every slot of a job runs once, on its own thread, the
// caller's slot 0 included; the threads are kept between jobs and ended by
// stopping the pool.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "base/worker_pool.h"

namespace {

struct Tally {
    std::atomic<int32_t> runs[zep::kMostThreads] = {};
    std::atomic<int32_t> total{0};
    std::thread::id ids[zep::kMostThreads];
};

void countSlot(void* context, int32_t slot) {
    Tally& tally = *static_cast<Tally*>(context);
    tally.runs[slot].fetch_add(1);
    tally.total.fetch_add(1);
    tally.ids[slot] = std::this_thread::get_id();
}

TEST(WorkerPoolTest, EverySlotRunsOnceOnAThreadOfItsOwn) {
    zep::WorkerPool* pool = nullptr;
    for (int32_t threads : {1, 2, 5, 3, zep::kMostThreads, zep::kMostThreads + 7}) {
        Tally tally;
        const int32_t ran = zep::runOnThreads(pool, threads, countSlot, &tally);
        const int32_t expected = std::min(threads, zep::kMostThreads);
        ASSERT_EQ(ran, expected) << threads;
        EXPECT_EQ(tally.total.load(), expected);
        std::set<std::thread::id> distinct;
        for (int32_t slot = 0; slot < ran; ++slot) {
            EXPECT_EQ(tally.runs[slot].load(), 1) << "slot " << slot;
            distinct.insert(tally.ids[slot]);
        }
        EXPECT_EQ(int32_t(distinct.size()), ran);
        EXPECT_EQ(tally.ids[0], std::this_thread::get_id()) << "slot 0 is the caller's";
    }
    // Threads are kept for the next job, never more than were asked for.
    EXPECT_EQ(zep::testing::poolThreads(pool), zep::kMostThreads - 1);
    zep::stopWorkerPool(pool);
    EXPECT_EQ(pool, nullptr);
    EXPECT_EQ(zep::testing::poolThreads(pool), 0);
}

TEST(WorkerPoolTest, OneThreadNeedsNoPoolAndAStoppedPoolStartsAgain) {
    zep::WorkerPool* pool = nullptr;
    Tally alone;
    EXPECT_EQ(zep::runOnThreads(pool, 1, countSlot, &alone), 1);
    EXPECT_EQ(pool, nullptr);
    for (int round = 0; round < 3; ++round) {
        Tally tally;
        EXPECT_EQ(zep::runOnThreads(pool, 3, countSlot, &tally), 3);
        EXPECT_EQ(tally.total.load(), 3);
        zep::stopWorkerPool(pool);
    }
    zep::stopWorkerPool(pool);  // stopping no pool does nothing
    EXPECT_GE(zep::hardwareThreads(), 1);
}

// Many short jobs in a row: a thread that misses a wake-up or runs a job
// twice shows up here as a hang or a wrong total.
TEST(WorkerPoolTest, ManyJobsInARow) {
    zep::WorkerPool* pool = nullptr;
    Tally tally;
    for (int job = 0; job < 2000; ++job) zep::runOnThreads(pool, 2 + job % 3, countSlot, &tally);
    int32_t expected = 0;
    for (int job = 0; job < 2000; ++job) expected += 2 + job % 3;
    EXPECT_EQ(tally.total.load(), expected);
    zep::stopWorkerPool(pool);
}

}  // namespace
