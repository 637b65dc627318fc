#include "world/sweep_records.h"

#include "base/allocation.h"

namespace zep {

void releaseCache(SweepCache& cache) {
    freeWorkArray(cache.entries);
    freeWorkArray(cache.boxes);
    cache = SweepCache{};
}

void releaseFrames(MeshFrames& frames) {
    freeWorkArray(frames.entries);
    frames = MeshFrames{};
}

}  // namespace zep
