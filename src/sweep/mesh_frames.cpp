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
        // Triangles arrive one by one: grow by doubling, starting afresh.
        const int32_t capacity = std::max(listed, 2 * frames.capacity);
        FramedTriangle* bigger = makeWorkArray<FramedTriangle>(size_t(capacity));
        if (!bigger) return nullptr;
        releaseFrames(frames);
        frames.entries = bigger;
        frames.capacity = capacity;
        frames.radii = radii;
    } else if (!sameBits(frames.radii, radii)) {
        forgetAll(frames);
        frames.radii = radii;
    }
    return frames.entries;
}

}  // namespace zep
