#include "base/allocation.h"

#include <atomic>
#include <cstdint>
#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace zep {

namespace {
// Set by the tests only while no pass runs; the passes run on one thread
// while failures are armed, so the countdown below is never raced.
int64_t allocationsBeforeFailure = -1;  // negative: never fail
// Counted by every thread of a pass.
std::atomic<int64_t> attempted{0};
std::atomic<int64_t> live{0};
std::atomic<uint64_t> releases{0};
// Read at the start and end of every command that allocates.
std::atomic<uint64_t> refusals{0};
}  // namespace

uint64_t allocationsRefused() { return refusals.load(std::memory_order_relaxed); }
void noteAllocationRefused() { refusals.fetch_add(1, std::memory_order_relaxed); }

uint64_t memoryReleases() { return releases.load(std::memory_order_relaxed); }
void noteMemoryReleased() { releases.fetch_add(1, std::memory_order_relaxed); }

void prepareToWrite(void* memory, size_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    // Below this a request saves less than it costs.
    constexpr size_t kWorthAsking = size_t(1) << 20;
    if (bytes < kWorthAsking) return;
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t begin = (uintptr_t(memory) + page - 1) & ~(page - 1);
    const uintptr_t end = (uintptr_t(memory) + bytes) & ~(page - 1);
    // Refused (by an older kernel), the pages come a fault at a time as ever.
    if (end > begin) (void)madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)memory;
    (void)bytes;
#endif
}

bool allocationMustFail() {
    attempted.fetch_add(1, std::memory_order_relaxed);
    if (allocationsBeforeFailure < 0) return false;
    if (allocationsBeforeFailure == 0) return true;
    --allocationsBeforeFailure;
    return false;
}

void noteRecordMade() { live.fetch_add(1, std::memory_order_relaxed); }
void noteRecordFreed() {
    live.fetch_sub(1, std::memory_order_relaxed);
    noteMemoryReleased();
}
void noteRecordKept() { live.fetch_sub(1, std::memory_order_relaxed); }

bool allocationFailuresArmed() { return allocationsBeforeFailure >= 0; }

namespace testing {
void failAllocationsAfter(int64_t count) {
    allocationsBeforeFailure = count;
    attempted.store(0, std::memory_order_relaxed);
}
int64_t liveRecords() { return live.load(std::memory_order_relaxed); }
int64_t allocationsAttempted() { return attempted.load(std::memory_order_relaxed); }
}  // namespace testing

}  // namespace zep
