// A mesh and its spatial index: what the index is handed of the mesh, and
// the bounds the mesh keeps without one.
#pragma once

#include "base/allocation.h"
#include "base/box3.h"
#include "index/triangle_index.h"
#include "world/shapes.h"

namespace zep {

// The mesh's triangles as its index reads them.
inline TriangleList meshTriangleList(const MeshShape& mesh) { return TriangleList{&mesh.triangles, mesh.allFinite, mesh.bounds}; }

// Brings the mesh's index (made on first use, owned by the mesh) up to date
// with its triangles; false when it cannot, as refreshTriangleIndex says.
// A refresh that ran out of memory leaves the count of refused allocations
// in the mesh's indexRefusedAt, so that the command can say which meshes
// lost their index to it.
inline bool refreshMeshIndex(MeshShape& mesh, IndexVersions& versions) {
    const uint64_t refusedBefore = allocationsRefused();
    if (refreshTriangleIndex(mesh.index, meshTriangleList(mesh), versions)) return true;
    if (allocationsRefused() != refusedBefore) mesh.indexRefusedAt = allocationsRefused();
    return false;
}

// Builds the tree of every mesh of the body that a sweep would build it for
// now, so that a level activated after loading pays for its index then and
// not in its first pass. When memory runs out the sweeps try again.
void buildDueMeshTrees(CollisionBody& body, IndexVersions& versions);

// The bounds of the mesh's triangles in its own frame, as the mesh keeps
// them (no index is made for them); false when the mesh has no triangles or
// a corner is not finite.
inline bool meshBounds(const MeshShape& mesh, Box3& out) {
    if (mesh.triangles.count == 0 || !mesh.allFinite) return false;
    out = mesh.bounds;
    return true;
}

}  // namespace zep
