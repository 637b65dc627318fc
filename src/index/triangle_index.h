// The spatial index of one mesh: its triangles in list order, a box tree
// over them (mesh frame) that hands a sweep the triangles it could possibly
// hit, and a copy of their corners in the tree's own order, from which a
// walk reads a leaf's boxes and triangles side by side.
//
// The index never decides a hit: it only leaves out triangles that the reach
// box proves unreachable and returns the rest as list places in ascending
// order, so the exact tests run on them as they would on the whole list.
// Triangles added after the tree was built wait in a short tail that is
// checked box by box until it is worth building the tree again.
#pragma once

#include <cstdint>

#include "base/box3.h"
#include "base/scratch.h"
#include "base/triangle_corners.h"
#include "base/triangle_store.h"
#include "index/index_records.h"

namespace zep {

// The box of the triangle in a slot of the tree.
inline Box3 slotBox(const TriangleIndex& index, int32_t slot) { return triangleBox(index.treedCorners[slot]); }

// The corners of the triangle at a list place, where the mesh keeps them.
inline const TriangleCorners& placeCorners(const TriangleIndex& index, int32_t place) {
    return triangleAt(*index.triangles, place);
}

// The box of the triangle at a list place, wherever the index keeps it.
inline Box3 placeBox(const TriangleIndex& index, int32_t place) {
    return place >= index.tree.boxCount ? index.tailBoxes[place - index.tree.boxCount]
                                        : triangleBox(placeCorners(index, place));
}

// The numbers handed to index states: every change of any index gets one
// never used before (while the library runs), so that a cache can tell the
// state it was gathered from even across freed meshes.
struct IndexVersions {
    uint64_t last = 0;
};

// A mesh's triangles as the index reads them: in list order, only ever
// added at the end, and never moved (the index and the sweeps keep pointers
// to their corners).
struct TriangleList {
    const TriangleStore* triangles = nullptr;
    bool allFinite = true;  // every corner is finite
    Box3 bounds{};          // the union of their boxes
};

// Brings `index` (made here when null) up to date with the triangle list.
// False when it cannot (memory ran out): the caller then visits every
// triangle. A failure is remembered and not tried again until the list
// grows or some memory has been freed. A list with a corner that is not
// finite is listed but never treed.
bool refreshTriangleIndex(TriangleIndex*& index, const TriangleList& triangles, IndexVersions& versions);

// True when a refresh would build a tree: the triangles not yet in one are
// too many to be checked one by one (a mesh too small for a tree is only
// listed, which costs next to nothing), and every corner is finite (a mesh
// with one that is not is always swept whole).
bool treeDue(const TriangleIndex* index, const TriangleList& triangles);

// The list places (0-based, ascending) of the triangles whose boxes meet
// `query`, in `buffer`. Returns the count, or -1 when memory for the list
// runs out (the caller then visits every triangle). A caller that wants at
// most `most` gets a count above it, and no list, as soon as there are more.
int32_t gatherCandidates(const TriangleIndex& index, const Box3& query, ScratchBuffer& buffer,
                         const int32_t** places, int32_t most = INT32_MAX);

}  // namespace zep
