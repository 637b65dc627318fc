#include "world/sweep_records.h"

#include "base/allocation.h"
#include "base/worker_pool.h"
#include "world/shapes.h"

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

void releaseThreadFrames(MeshShape& mesh) {
    if (!mesh.threadFrames) return;
    for (int32_t slot = 0; slot < kMostThreads - 1; ++slot) releaseFrames(mesh.threadFrames[slot]);
    freeWorkArray(mesh.threadFrames);
    mesh.threadFrames = nullptr;
}

}  // namespace zep
