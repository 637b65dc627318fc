// A vector of three doubles, for geometry that must not round between its
// steps: floats are widened into it and never rounded back.
#pragma once

#include "base/vec3.h"

namespace zep {

struct Vec3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline Vec3d widen(Vec3 v) { return Vec3d{v.x, v.y, v.z}; }
inline Vec3d minus(Vec3d a, Vec3d b) { return Vec3d{a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3d along(Vec3d origin, Vec3d direction, double t) {
    return Vec3d{origin.x + t * direction.x, origin.y + t * direction.y, origin.z + t * direction.z};
}
// (a.x·b.x + a.y·b.y) + a.z·b.z: summed x, y, z, unlike Dot's z, y, x.
inline double dotXYZ(Vec3d a, Vec3d b) { return sumXYZ(a.x * b.x, a.y * b.y, a.z * b.z); }
inline Vec3d cross(Vec3d u, Vec3d v) {
    return Vec3d{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

}  // namespace zep
