// Whether a straight move of a mover's centre passes through a triangle from
// its front to its back, or sinks deep into it: the guards on the moves that
// no sweep covers (a push out of an embedded face, a leg after a crease
// slide).
//
// Computed in double from the stored floats, which are widened and never
// rounded back, relative to the triangle's mesh body.
#pragma once

#include "base/vec3.h"

namespace zep {

struct MeshShape;
struct SweepWork;

// True when the segment from p to q (world) enters the triangle's plane from
// its front and ends on or behind it, through the triangle (its edges and
// corners count as inside). The corners are as stored, `meshPosition` is
// their mesh body's position. A triangle with no normal is never crossed.
bool segmentCrossesTriangle(Vec3 p, Vec3 q, const Vec3 corners[3], Vec3 meshPosition);

// True when the leg from p to q (world) of an ellipsoid of `radii` sinks
// more than half a radius into the triangle, counting from touching: q lies
// on the triangle's front within half a radius of its plane, and its
// distance to the closed triangle is more than half a radius below p's
// distance or 1, whichever is less. Computed in the ellipsoid's unit space,
// in double, from the stored corners; a triangle with no normal never holds.
bool legSinksIntoTriangle(Vec3 p, Vec3 q, const Vec3 corners[3], Vec3 meshPosition, Vec3 radii);

// True when the segment crosses any triangle of the mesh. A mesh with a
// corner that is not finite is not checked. Only the triangles whose boxes
// meet the segment's can be crossed, so the mesh's index narrows the search;
// without it (or its memory) every triangle is tested, to the same answer.
bool segmentCrossesMesh(SweepWork& work, MeshShape& mesh, Vec3 p, Vec3 q);

}  // namespace zep
