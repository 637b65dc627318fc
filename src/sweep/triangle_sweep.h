// The exact tests of one triangle against one sweep, in the sweep's
// ellipsoid space: the face first, then its corners and edges where the
// face does not settle it. Shared by every candidate source.
#pragma once

#include <cstdint>

#include "base/box3.h"
#include "base/vec3.h"
#include "sweep/reach.h"
#include "sweep/sweep_frame.h"
#include "world/shapes.h"
#include "world/sweep_records.h"

namespace zep {

// One triangle in ellipsoid space, with its place in the mesh.
struct TriangleFrame {
    const TriangleCorners* stored = nullptr;
    int32_t number = 0;
    Vec3 A;
    Vec3 B;
    Vec3 C;
    Vec3 N;  // unit normal, (0, 0, 0) when the corners lie on one line
    float dist = 0.0f;  // signed distance of S from the plane
};

// The triangle's corners and normal divided by the radii, and S's distance
// from its plane.
TriangleFrame makeTriangleFrame(const TriangleCorners& stored, int32_t number, Vec3 radii, Vec3 S);

// True when P, a point of the triangle's plane, lies inside A, B, C or on its
// boundary; N is the triangle's unit normal.
bool PointInTriangle(Vec3 P, Vec3 A, Vec3 B, Vec3 C, Vec3 N);

// The face test, then the corner and edge tests where the face does not
// settle it; the result keeps only a hit no farther than its nearest.
void sweepTriangle(SweepResult& result, const SweepFrame& frame, const TriangleFrame& tri);

// The travel at which the sweep meets the triangle's plane where its corners
// and edges are tested only once that plane is met within the nearest hit so
// far; 0 where nothing waits on the plane.
double planeGate(const SweepFrame& frame, const TriangleFrame& tri);

}  // namespace zep
