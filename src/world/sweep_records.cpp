#include "world/sweep_records.h"

#include "base/allocation.h"

namespace zep {

void releaseCache(SweepCache& cache) {
    freeWorkArray(cache.entries);
    cache = SweepCache{};
}

}  // namespace zep
