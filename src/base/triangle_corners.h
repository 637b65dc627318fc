// A triangle as three corners: the one triangle record below the meshes
// that own triangles and the index that sorts them.
#pragma once

#include <algorithm>

#include "base/box3.h"
#include "base/vec3.h"

namespace zep {

// Corners are stored as given, relative to the owning body's position.
struct TriangleCorners {
    Vec3 corner1;
    Vec3 corner2;
    Vec3 corner3;
};

// The box of a triangle's corners.
inline Box3 triangleBox(const TriangleCorners& t) {
    return Box3{{std::min({t.corner1.x, t.corner2.x, t.corner3.x}), std::min({t.corner1.y, t.corner2.y, t.corner3.y}),
                 std::min({t.corner1.z, t.corner2.z, t.corner3.z})},
                {std::max({t.corner1.x, t.corner2.x, t.corner3.x}), std::max({t.corner1.y, t.corner2.y, t.corner3.y}),
                 std::max({t.corner1.z, t.corner2.z, t.corner3.z})}};
}

inline bool isFinite(const TriangleCorners& t) {
    return isFinite(t.corner1) && isFinite(t.corner2) && isFinite(t.corner3);
}

}  // namespace zep
