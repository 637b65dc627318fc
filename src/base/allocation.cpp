#include "base/allocation.h"

namespace zep {

namespace {
int64_t allocationsBeforeFailure = -1;  // negative: never fail
int64_t attempted = 0;
int64_t live = 0;
uint64_t releases = 0;
}  // namespace

uint64_t memoryReleases() { return releases; }
void noteMemoryReleased() { ++releases; }

bool allocationMustFail() {
    ++attempted;
    if (allocationsBeforeFailure < 0) return false;
    if (allocationsBeforeFailure == 0) return true;
    --allocationsBeforeFailure;
    return false;
}

void noteRecordMade() { ++live; }
void noteRecordFreed() {
    --live;
    ++releases;
}
void noteRecordKept() { --live; }

namespace testing {
void failAllocationsAfter(int64_t count) {
    allocationsBeforeFailure = count;
    attempted = 0;
}
int64_t liveRecords() { return live; }
int64_t allocationsAttempted() { return attempted; }
}  // namespace testing

}  // namespace zep
