#include "world/mesh_index.h"

#include <cstddef>
#include <type_traits>

namespace zep {

namespace {

// The corners are a triangle's first member, so a pointer to them is a
// pointer to the triangle.
static_assert(std::is_standard_layout_v<MeshTriangle> && offsetof(MeshTriangle, corners) == 0);

const TriangleCorners* cornersAfter(const TriangleCorners* corners) {
    const MeshTriangle* next = reinterpret_cast<const MeshTriangle*>(corners)->next;
    return next ? &next->corners : nullptr;
}

}  // namespace

TriangleList meshTriangleList(const MeshShape& mesh) {
    return TriangleList{mesh.trianglesHead ? &mesh.trianglesHead->corners : nullptr, cornersAfter,
                        mesh.triangleCount, mesh.allFinite};
}

}  // namespace zep
