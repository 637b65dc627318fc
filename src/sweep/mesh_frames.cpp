#include "sweep/mesh_frames.h"

#include <algorithm>

#include "base/allocation.h"
#include "base/same_bits.h"

namespace zep {

namespace {

void forgetAll(MeshFrames& frames) {
    for (int32_t i = 0; i < frames.capacity; ++i) frames.entries[i].framed = false;
}

}  // namespace

FramedTriangle* framesFor(MeshFrames& frames, int32_t listed, const Vec3& radii) {
    if (listed > frames.capacity) {
        // Triangles arrive one by one: grow as such arrays do, starting afresh.
        if (!reserveWorkArray(frames.entries, frames.capacity, grownCapacity(frames.capacity, listed))) return nullptr;
        frames.radii = radii;
    } else if (!sameBits(frames.radii, radii)) {
        forgetAll(frames);
        frames.radii = radii;
    }
    return frames.entries;
}

}  // namespace zep
