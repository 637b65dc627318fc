#include "sweep/sweep_cache.h"

#include <algorithm>
#include <cmath>

#include "base/allocation.h"
#include "base/same_bits.h"
#include "index/triangle_index.h"
#include "world/shapes.h"
#include "sweep/sweep_work.h"

namespace zep {

namespace {

// Room gathered around the reach box, in radii per axis: enough for a few
// frames of walking, small enough that the list stays short.
constexpr double kSpareInRadii = 1.0;

// Releases the list, so that a mover that left keeps no memory for it, and
// answers that the sweep must ask the tree.
bool forget(SweepCache& cache) {
    freeWorkArray(cache.entries);
    freeWorkArray(cache.boxes);
    cache.entries = nullptr;
    cache.boxes = nullptr;
    cache.count = cache.capacity = cache.boxCapacity = 0;
    cache.indexVersion = 0;
    cache.wantedInPass = 0;
    return false;
}

void putBox(CachedBoxes& block, int32_t lane, const Box3& box) {
    const Vec3* faces[2] = {&box.lo, &box.hi};
    float (*sides[2])[kCachedBoxLanes] = {block.lo, block.hi};
    for (int side = 0; side < 2; ++side) {
        sides[side][0][lane] = faces[side]->x;
        sides[side][1][lane] = faces[side]->y;
        sides[side][2][lane] = faces[side]->z;
    }
}

bool contains(const Box3& outer, const Box3& inner) {
    return outer.lo.x <= inner.lo.x && outer.lo.y <= inner.lo.y && outer.lo.z <= inner.lo.z &&
           inner.hi.x <= outer.hi.x && inner.hi.y <= outer.hi.y && inner.hi.z <= outer.hi.z;
}

bool widened(const Box3& box, Vec3 radii, Box3& out) {
    const double spare[3] = {kSpareInRadii * radii.x, kSpareInRadii * radii.y, kSpareInRadii * radii.z};
    out.lo = Vec3{float(box.lo.x - spare[0]), float(box.lo.y - spare[1]), float(box.lo.z - spare[2])};
    out.hi = Vec3{float(box.hi.x + spare[0]), float(box.hi.y + spare[1]), float(box.hi.z + spare[2])};
    for (float v : {out.lo.x, out.lo.y, out.lo.z, out.hi.x, out.hi.y, out.hi.z})
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

bool cacheCovers(const SweepCache& cache, const TriangleIndex& index, Vec3 radii, const SweptBox& reach) {
    return cache.indexVersion != 0 && cache.indexVersion == index.version && sameBits(cache.radii, radii) &&
           contains(cache.covered, reach.bounds);
}

bool refillCache(SweepCache& cache, SweepWork& work, const TriangleIndex& index, Vec3 radii, const SweptBox& reach) {
    const uint64_t passesRun = work.passNumber;
    const bool wasServing = cache.count > 0;
    const bool staysAround = cache.wantedInPass != 0 && cache.wantedInPass < passesRun &&
                             contains(cache.wanted, reach.bounds);
    cache.indexVersion = 0;
    cache.count = 0;
    Box3 covered;
    if (!widened(reach.bounds, radii, covered)) return forget(cache);
    // A list pays only for an ellipsoid that keeps sweeping around one place:
    // one that was using its list, or that swept here in an earlier pass. A
    // first sweep (a teleport, a shot, the sweep in from the origin) only
    // notes where it went.
    if (!wasServing && !staysAround) {
        forget(cache);
        cache.wanted = covered;
        cache.wantedInPass = passesRun;
        return false;
    }
    const int32_t* places = nullptr;
    const int32_t count = gatherCandidates(index, covered, work.scratch.places, &places, kCacheBudget);
    const int32_t blocks = (count + kCachedBoxLanes - 1) / kCachedBoxLanes;
    if (count < 0 || count > kCacheBudget || !reserveWorkArray(cache.entries, cache.capacity, count) ||
        !reserveWorkArray(cache.boxes, cache.boxCapacity, blocks))
        return forget(cache);
    for (int32_t i = 0; i < blocks * kCachedBoxLanes; ++i)
        putBox(cache.boxes[i / kCachedBoxLanes], i % kCachedBoxLanes, placeBox(index, places[std::min(i, count - 1)]));
    for (int32_t i = 0; i < count; ++i) {
        CachedTriangle& entry = cache.entries[i];
        entry.place = places[i];
        entry.stored = &placeCorners(index, places[i]);
        entry.frame.framed = false;
    }
    cache.count = count;
    cache.covered = covered;
    cache.radii = radii;
    cache.indexVersion = index.version;
    cache.wantedInPass = 0;
    return true;
}

SweepCache* takeStepCache(StepCacheHolder& holder, SweepWork& work, const TriangleIndex& index, Vec3 radii,
                          const SweptBox& reach) {
    SweepCache* cache = holder.cache;
    if (!cache || index.tree.boxCount == 0) return nullptr;
    if (!cacheCovers(*cache, index, radii, reach) && !refillCache(*cache, work, index, radii, reach)) return nullptr;
    holder.cache = nullptr;
    return cache;
}

}  // namespace zep
