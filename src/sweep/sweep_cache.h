// What one ellipsoid keeps between its sweeps of a large mesh: the triangles
// around its path, gathered with room to spare, and their ellipsoid-space
// corners and normal for its radii.
//
// A mover travels little from one sweep to the next (the slides of one pass,
// the next frame's step), so most sweeps read this short list instead of
// walking the mesh's tree and dividing every corner by the radii again. It
// never changes a result: a sweep uses it only when the list was gathered
// from the mesh's current index with a box holding the sweep's whole reach
// box, then takes exactly the triangles whose boxes meet that reach box, in
// list order, as the tree would have given them. The ellipsoid-space values
// are the ones the sweep computes itself, stored.
#pragma once

#include <cstdint>

#include "base/box3.h"
#include "base/vec3.h"
#include "world/sweep_records.h"

namespace zep {

struct SweepWork;
struct TriangleIndex;

// True when the cache holds every triangle of `index` whose box meets
// `reach`, with frames for these radii.
bool cacheCovers(const SweepCache& cache, const TriangleIndex& index, Vec3 radii, const SweptBox& reach);

// The most triangles one cache holds: kCacheBudget * sizeof(CachedTriangle),
// about 17 KB, per ellipsoid at most. Around a walking mover on a dense
// level the list holds a few dozen.
constexpr int32_t kCacheBudget = 192;

// Gathers the triangles of `index` around `reach` into the cache, for these
// radii, when that pays: the ellipsoid was using its list, or swept around
// here in an earlier pass, and no more than kCacheBudget triangles lie there.
// Otherwise (and when memory runs out, or the box with its spare room cannot
// be formed) the list is released and the sweep asks the tree: false.
bool refillCache(SweepCache& cache, SweepWork& work, const TriangleIndex& index, Vec3 radii, const SweptBox& reach);

// Which sweeps of one step may use the ellipsoid's cache: the first mesh
// whose sweep keeps its triangles in it holds it for the rest of the step,
// and the meshes after it ask their trees, so two large meshes side by side
// do not refill it in turn. A null cache offers nothing.
struct StepCacheHolder {
    SweepCache* cache = nullptr;
};

// The held cache when it holds every triangle of `index` around `reach` for
// these radii, refilled here when that pays (refillCache); the mesh then
// holds it for the rest of the step. Otherwise nullptr: the sweep asks the
// tree.
SweepCache* takeStepCache(StepCacheHolder& holder, SweepWork& work, const TriangleIndex& index, Vec3 radii,
                          const SweptBox& reach);

}  // namespace zep
