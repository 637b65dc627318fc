// Axis-aligned boxes: the bounds of triangles, meshes and sweeps, and the
// nodes of every box tree.
#pragma once

#include <algorithm>

#include "base/vec3.h"

namespace zep {

struct Box3 {
    Vec3 lo;
    Vec3 hi;
};

inline Box3 unite(const Box3& a, const Box3& b) {
    return Box3{{std::min(a.lo.x, b.lo.x), std::min(a.lo.y, b.lo.y), std::min(a.lo.z, b.lo.z)},
                {std::max(a.hi.x, b.hi.x), std::max(a.hi.y, b.hi.y), std::max(a.hi.z, b.hi.z)}};
}

// The box spanned by two points.
inline Box3 segmentBox(Vec3 a, Vec3 b) {
    return Box3{{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)},
                {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}};
}

inline bool boxesOverlap(const Box3& a, const Box3& b) {
    return a.lo.x <= b.hi.x && b.lo.x <= a.hi.x && a.lo.y <= b.hi.y && b.lo.y <= a.hi.y &&
           a.lo.z <= b.hi.z && b.lo.z <= a.hi.z;
}

}  // namespace zep
