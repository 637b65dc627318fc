// How far a sweep can reach: the box, in a mesh's own frame, outside which no
// triangle can ever be hit by that sweep.
//
// In ellipsoid space every hit a sweep can accept (face, edge or corner, the
// embedded and negative-travel cases included) touches the triangle within
// distance 1 of the swept segment: a face or a corner is touched by the
// sphere at a centre on the segment (or, embedded or already overlapping, at
// its start); an edge that the sphere already overlaps is met at the start,
// and only where the start centre's own projection lies inside it. We allow distance 2, a full unit
// more than that, plus a slack relative to the coordinates for their rounding. Anything that can
// be skipped this way is skipped without a trace: the exact tests that remain
// still run in list order, so results are the same to the bit.
#pragma once

#include <algorithm>

#include "base/box3.h"
#include "base/vec3.h"

namespace zep {

// Reach around the segment in units of the ellipsoid's radii.
constexpr double kReachInRadii = 2.0;
// Slack relative to the magnitude of the coordinates involved.
constexpr double kReachRelativeSlack = 1e-4;
// Past this ratio of coordinates to radius, ellipsoid-space floats no longer
// resolve the geometry; such sweeps take the plain path over every triangle.
constexpr double kLargestSafeScale = 1e30;

// The box around the segment from `from` to `to` (both in the frame of the
// boxes it will be tested against) that a sweep with these radii can reach.
// False when the values are not finite or too large to bound safely.
bool reachBox(Vec3 from, Vec3 to, Vec3 radii, Box3& out);
// The same reach as the segment with its margin: the boxes it meets are the
// ones the segment passes through once grown by the margin, its bounds the
// reach box.
bool sweptReach(Vec3 from, Vec3 to, Vec3 radii, SweptBox& out);

// The largest absolute coordinate of the box: the scale of its rounding.
double largestMagnitude(const Box3& box);

// True when every component of the box is finite and no larger than a safe
// scale for the given radii.
bool boxIsBoundable(const Box3& box, Vec3 radii);

}  // namespace zep

namespace zep {

// The same bound feature by feature, in ellipsoid space: a corner or an edge
// farther than the reach from the swept segment [S, E] cannot be hit by a
// sphere of radius r. Formed once per sweep; the distances are carried in
// double and only ever compared with the reach, slack included.
struct FeatureReach {
    double start[3] = {};  // the path's start S
    double move[3] = {};   // and its movement E − S
    double inverseLengthSquared = 0.0;  // 1 / |E − S|², or 0 for a path without length
    double reachSquared = 0.0;

    bool reachesCorner(Vec3 P) const { return !(distanceSquared(P) > reachSquared); }
    bool reachesEdge(Vec3 A, Vec3 B) const { return !(distanceSquared(A, B) > reachSquared); }
    // Squared distance from P, and from the segment [A, B], to the path.
    double distanceSquared(Vec3 P) const;
    double distanceSquared(Vec3 A, Vec3 B) const;
};

FeatureReach makeFeatureReach(Vec3 S, Vec3 E, float sphereRadius);

}  // namespace zep

namespace zep {

// The triangle-level form of the bound, applied to a triangle's box in the
// mesh frame: the gaps between that box and the segment's box, measured in
// radii, give a lower bound of the triangle's distance from the path in
// ellipsoid space. Cheaper than the exact tests by far, and it needs none of
// the triangle's ellipsoid-space values.
struct ReachFilter {
    Box3 segment;                // the segment's box, mesh frame
    double inverseRadii[3] = {};  // 1 / radius per axis
    double reachSquared = 0.0;   // in ellipsoid space, slack included

    bool mayReach(const Box3& box) const {
        const double gx = std::max({0.0, double(box.lo.x) - segment.hi.x, double(segment.lo.x) - box.hi.x}) * inverseRadii[0];
        const double gy = std::max({0.0, double(box.lo.y) - segment.hi.y, double(segment.lo.y) - box.hi.y}) * inverseRadii[1];
        const double gz = std::max({0.0, double(box.lo.z) - segment.hi.z, double(segment.lo.z) - box.hi.z}) * inverseRadii[2];
        return !(gx * gx + gy * gy + gz * gz > reachSquared);
    }
};

// The filter for a sweep from `from` to `to` (mesh frame) against a mesh
// whose triangles lie within `meshBounds`.
ReachFilter makeReachFilter(Vec3 from, Vec3 to, Vec3 radii, float sphereRadius, const Box3& meshBounds);

}  // namespace zep
