// Corner and edge tests of the swept sphere.
//
// The mesh sweep hands each triangle that its face test does not settle to
// TestVertex (once per corner) and TestEdge (once per edge). Everything is in
// the sweep's ellipsoid space: a sphere of radius r moves from the start
// centre S toward the end E (the sweep frame's S and E; A, B, C are always a
// triangle's corners) along the unit direction dir. A test either leaves the result alone or
// overwrites it with a complete hit that is no farther than the one recorded.
#pragma once

#include <cstdint>

#include "base/vec3.h"
#include "world/shapes.h"
#include "world/sweep_records.h"

namespace zep {

// The sphere against corner V of the triangle numbered triangleNumber.
void TestVertex(SweepResult& result, const TriangleCorners& triangle, int32_t triangleNumber,
                float sphereRadius, float sweepLength, Vec3 V, Vec3 dir, Vec3 S, Vec3 E);

// The sphere against the segment from A to B; Ev is A − B.
void TestEdge(SweepResult& result, const TriangleCorners& triangle, int32_t triangleNumber,
              float sphereRadius, float sweepLength, Vec3 A, Vec3 B, Vec3 Ev, Vec3 dir, Vec3 S,
              Vec3 E);

// 1 unless the centre S has passed the segment A–B, or has not reached it,
// and is not heading back toward it along the edge's direction; else 0.
int32_t EdgeInReach(Vec3 A, Vec3 B, Vec3 S, Vec3 dir);

// X projected onto the infinite line through A and B.
Vec3 ProjectOntoEdgeLine(Vec3 A, Vec3 B, Vec3 X);

// 1 when X's projection onto the line A–B lies strictly between A and B:
// a touch exactly at an end belongs to the corner test.
int32_t WithinEdgeSpan(Vec3 A, Vec3 B, Vec3 X);

}  // namespace zep
