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

#include "base/vec3.h"
#include "sweep/reach.h"

namespace zep {

struct TriangleIndex;

struct MeshTriangle;

struct CachedTriangle {
    Box3 box;           // mesh frame, as the index holds it
    int32_t place = 0;  // in the mesh's list, 0-based
    const MeshTriangle* stored = nullptr;
    bool framed = false;  // A, B, C and N are filled in
    Vec3 A;
    Vec3 B;
    Vec3 C;
    Vec3 N;
};

struct SweepCache {
    uint64_t indexVersion = 0;  // the index state the list came from; 0: none
    Vec3 radii;                 // the frames are for these radii
    Box3 covered;               // the box the list was gathered with
    CachedTriangle* entries = nullptr;  // ascending places
    int32_t count = 0;
    int32_t capacity = 0;
};

// True when the cache holds every triangle of `index` whose box meets
// `reach`, with frames for these radii.
bool cacheCovers(const SweepCache& cache, const TriangleIndex& index, Vec3 radii, const Box3& reach);

// Gathers the triangles of `index` around `reach` into the cache, for these
// radii. False, with the cache left empty, when memory runs out or the box
// with its spare room cannot be formed; the sweep then asks the tree.
bool refillCache(SweepCache& cache, const TriangleIndex& index, Vec3 radii, const Box3& reach);

// Frees the list; the cache is empty afterwards.
void releaseCache(SweepCache& cache);

}  // namespace zep
