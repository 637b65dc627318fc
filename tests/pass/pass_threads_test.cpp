// When a pass splits over threads, and the command that sets how many: the
// results themselves are checked at every thread count by the differential
// test and the pinned digests.
#include "api/state.h"
#include "base/allocation.h"
#include "pass/pass_work.h"
#include "support/fixture.h"
#include "support/pass_threads.h"
#include "support/scene.h"
#include "support/warnings.h"

namespace zeptest {
namespace {

class PassThreadsTest : public CommandTest {
protected:
    // A floor and `movers` walkers side by side on it.
    void crowd(int movers) {
        startMoversOnMeshes();
        makeMeshObject(2, 2, strip(200));
        movers_ = movers;
        for (int m = 0; m < movers; ++m) makeMover(10 + m, 1, {0.2f, 0.2f, 0.2f}, {0.5f + 0.01f * float(m), 1, 0.5f});
    }
    // Whether the next pass (every walker dropping onto the strip) splits.
    bool nextPassSplits() {
        for (int m = 0; m < movers_; ++m) moveTo(10 + m, {0.5f + float(m), 0.1f, 0.5f});
        const int64_t before = zep::testing::splitPasses();
        RunCollisionZEP();
        return zep::testing::splitPasses() > before;
    }

private:
    int movers_ = 0;
};

TEST_F(PassThreadsTest, TheCountIsCheckedAndKeptAcrossStops) {
    const WarningRecorder warnings;
    StartCollisionDebugZEP();
    SetCollisionThreadsZEP(-3);
    EXPECT_EQ(texts().back(), "Collision thread count must not be negative: -3");
    ASSERT_EQ(warnings.countStartingWith("thread count -3 ignored"), 1);
    EXPECT_EQ(zep::world().passThreads, 0) << "a refused count changes nothing";
    SetCollisionThreadsZEP(40);
    EXPECT_EQ(warnings.countStartingWith("thread count 40 taken as 16"), 1);
    EXPECT_EQ(zep::world().passThreads, zep::kMostThreads);
    StopCollisionZEP();
    EXPECT_EQ(zep::world().passThreads, zep::kMostThreads);
    SetCollisionThreadsZEP(0);
    EXPECT_EQ(zep::world().passThreads, 0);
}

// A pass splits only with movers enough for two threads, never on one
// thread's setting or while the allocation hook counts down; its threads
// are kept from pass to pass and ended by the stop.
TEST_F(PassThreadsTest, WhenAPassSplitsAndWhatEndsItsThreads) {
    if (zep::hardwareThreads() < 2) GTEST_SKIP() << "one hardware thread: automatic never splits";
    crowd(63);
    EXPECT_FALSE(nextPassSplits()) << "63 movers are less than two threads' worth";
    StopCollisionZEP();
    crowd(64);
    EXPECT_TRUE(nextPassSplits());
    const zep::WorkerPool* pool = zep::passWork().pool;
    EXPECT_TRUE(nextPassSplits());
    EXPECT_EQ(zep::passWork().pool, pool) << "the threads are kept";
    EXPECT_EQ(zep::testing::poolThreads(pool), 1);
    SetCollisionThreadsZEP(1);
    EXPECT_FALSE(nextPassSplits());
    SetCollisionThreadsZEP(0);
    zep::testing::failAllocationsAfter(1 << 30);
    EXPECT_FALSE(nextPassSplits()) << "the hook armed";
    zep::testing::failAllocationsAfter(-1);
    EXPECT_TRUE(nextPassSplits());
    StopCollisionZEP();
    EXPECT_EQ(zep::passWork().pool, nullptr);
}

}  // namespace
}  // namespace zeptest
