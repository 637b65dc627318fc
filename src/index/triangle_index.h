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
#include "world/index_records.h"
#include "world/shapes.h"

namespace zep {

// The box of the triangle in a slot of the tree.
inline Box3 slotBox(const TriangleIndex& index, int32_t slot) { return triangleBox(index.treedCorners[slot]); }

// The box of the triangle at a list place, wherever the index keeps it.
inline Box3 placeBox(const TriangleIndex& index, int32_t place) {
    return place >= index.tree.boxCount ? index.tailBoxes[place - index.tree.boxCount]
                                        : triangleBox(index.triangles[place]->corners);
}

// The numbers handed to index states: every change of any index gets one
// never used before (while the library runs), so that a cache can tell the
// state it was gathered from even across freed meshes.
struct IndexVersions {
    uint64_t last = 0;
};

// Brings the mesh's index up to date with its triangle list. False when it
// cannot (memory ran out): the caller then visits every triangle. A failure
// is remembered and not tried again until the mesh changes or some memory
// has been freed.
bool refreshTriangleIndex(MeshShape& mesh, IndexVersions& versions);

// The bounds of the mesh's triangles in its own frame, as the mesh keeps
// them (no index is made for them); false when the mesh has no triangles or
// a corner is not finite.
bool meshBounds(const MeshShape& mesh, Box3& out);

// The list places (0-based, ascending) of the triangles whose boxes meet
// `query`, in `buffer`. Returns the count, or -1 when memory for the list
// runs out (the caller then visits every triangle). A caller that wants at
// most `most` gets a count above it, and no list, as soon as there are more.
int32_t gatherCandidates(const TriangleIndex& index, const Box3& query, ScratchBuffer& buffer,
                         const int32_t** places, int32_t most = INT32_MAX);

}  // namespace zep
