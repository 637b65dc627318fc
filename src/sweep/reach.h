// How far a sweep can reach: the box, in a mesh's own frame, outside which no
// triangle can ever be hit by that sweep.
//
// Why one radius. In ellipsoid space every hit a sweep can accept touches its
// triangle within distance 1 of the swept segment [S, E]:
// - a face: the contact is the centre less the unit normal, and the centre
//   lies on the segment (d is at most the sweep's length), or, embedded, the
//   contact is S itself moved onto the plane, less than 1 away;
// - a corner: it lies within 1 of the path's line (h <= 1), and a hit beyond
//   E is taken only while its travel is at most the length, which puts the
//   corner within 1 of E; overlapped at the start, it lies within 1 of S;
// - an edge: the touching point is 1 from the centre at contact, which lies
//   on the segment; an edge the sphere overlaps at the start is met only
//   where S's own projection lies inside it, less than 1 from S.
//
// Why the slack. The tests compute in floats, so an accepted hit can stand a
// little past 1 (in radii):
// - kReachAbsoluteSlack: Normalize leaves a vector whose squared length is
//   within 1 +- 1e-5 as it is, so a normal or a direction may be 5e-6 long or
//   short; a contact is a normal away from its centre.
// - kReachSlackPerLength, times the sweep's length in radii: the same
//   tolerance on the direction moves a point along the path by up to 5e-6 of
//   its travel, and on an edge's across-vector (nn) moves the edge's in-plane
//   distance by up to 5e-6 of the start's distance from the line, itself at
//   most the length plus 1.
// - kReachSlackPerCoordinate, times the largest coordinate in radii of the
//   segment and the mesh: every stored value (S, E, the corners divided by
//   the radii, the centre, the contact) is rounded to float, half an ulp, at
//   most 2^-24 of that coordinate, each; the point-in-triangle test rounds
//   within the triangle's own size. Eight ulps cover every chain of them; a
//   filter in the mesh frame adds the rounding of dividing by the radii.
// - kReachSlackSquaredPerLength, times the square of the length (plus 2): the
//   corner test takes a corner when h = |P|^2 - (P.dir)^2 <= 1, P = V - C;
//   the rounding of P and dir to float errs by 2^-24 of each component, which
//   moves h by up to 2^-21 |P|^2. A long sweep thus takes corners up to
//   sqrt(1 + 2^-21 |P|^2) from its path (1.4 radii after 12,000 of travel).
// So the reach is sqrt((1 + 2e-5 + 1e-5 L + 2^-21 X)^2 + 2^-20 (L + 2)^2)
// radii, where L is the sweep's length but never more than the farthest
// point of the mesh from the start plus 2 (no hit lies farther along), and X
// is the largest coordinate of the start and the mesh plus that L. It grows
// with the coordinates only as fast as floats lose resolution there.
// Anything beyond it is skipped without a trace: the exact tests that remain
// still run in list order, so results are the same to the bit.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/box3.h"
#include "base/vec3.h"
#include "base/vec3d.h"

namespace zep {

constexpr double kReachAbsoluteSlack = 2e-5;
constexpr double kReachSlackPerLength = 1e-5;
constexpr double kReachSlackPerCoordinate = 0x1p-21;
constexpr double kReachSlackSquaredPerLength = 0x1p-20;
// Past this ratio of coordinates to radius, ellipsoid-space floats no longer
// resolve the geometry (a float's step there is 4 radii and more), and the
// exact tests, cancelling such values against each other, can accept hits
// anywhere: no slack bounds them. Such sweeps take the plain path over every
// triangle. (A flat ellipsoid of radius 1e-20 made such hits millions of
// radii off its path.)
constexpr double kLargestSafeScale = 0x1p26;

// The reach in radii of a sweep `length` radii long among coordinates of at
// most `largestCoordinate` radii.
inline double reachInRadii(double length, double largestCoordinate) {
    const double linear =
        1.0 + kReachAbsoluteSlack + kReachSlackPerLength * length + kReachSlackPerCoordinate * largestCoordinate;
    const double path = length + 2.0;
    return std::sqrt(linear * linear + kReachSlackSquaredPerLength * path * path);
}

// The segment from `from` to `to` (both in the frame of the boxes it will be
// tested against) with the margin a sweep with these radii can reach, among
// boxes that lie within `within`. False when the values are not finite or
// too large to bound safely.
bool sweptReach(Vec3 from, Vec3 to, Vec3 radii, const Box3& within, SweptBox& out);

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
    Vec3d start;  // the path's start S
    Vec3d move;   // and its movement E − S
    double inverseLengthSquared = 0.0;  // 1 / |E − S|², or 0 for a path without length
    double reachSquared = 0.0;

    bool reachesCorner(Vec3 P) const { return !(distanceSquared(P) > reachSquared); }
    bool reachesEdge(Vec3 A, Vec3 B) const { return !linesApart(A, B) && !(distanceSquared(A, B) > reachSquared); }
    // True when the edge's whole line passes the path's whole line farther
    // than the reach: no division, and the segments are farther still.
    // (Inline, as these two run for most corners and edges of a sweep.)
    bool linesApart(Vec3 A, Vec3 B) const {
        const Vec3d a = widen(A);
        const Vec3d across = cross(minus(widen(B), a), move);
        const double apart = dotXYZ(minus(a, start), across);
        // Slack for the rounding of these products, far below the reach's own.
        return apart * apart > reachSquared * dotXYZ(across, across) * (1.0 + 1e-9);
    }
    // Squared distance from P, and from the segment [A, B], to the path.
    double distanceSquared(Vec3 P) const {
        const Vec3d p = widen(P);
        const double t = std::clamp(dotXYZ(minus(p, start), move) * inverseLengthSquared, 0.0, 1.0);
        const Vec3d gap = minus(p, along(start, move, t));
        return dotXYZ(gap, gap);
    }
    double distanceSquared(Vec3 A, Vec3 B) const;
};

// For the sweep from S to E (ellipsoid space) with the reach, in radii, that
// sweptReach gave it in the mesh's frame (which covers the rounding between
// the two frames too).
FeatureReach makeFeatureReach(Vec3 S, Vec3 E, float sphereRadius, double reachInRadii);

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

// The filter for a sweep from `from` to `to` (mesh frame) with the reach that
// sweptReach gave it.
ReachFilter makeReachFilter(Vec3 from, Vec3 to, Vec3 radii, float sphereRadius, const SweptBox& reach);

}  // namespace zep

namespace zep {

// Everything a sweep's reach gives it: the swept box, and the corner and
// triangle filters made from it.
struct SweepReach {
    SweptBox reach;
    FeatureReach features;
    ReachFilter filter;
    uint64_t made = 0;  // a number no other reach made before it has had
};

// What a reach was made for.
struct ReachQuestion {
    Vec3 from;
    Vec3 to;
    Vec3 radii;
    Box3 within;
    float sphereRadius = 0.0f;

    bool asks(const Vec3& otherFrom, const Vec3& otherTo, const Vec3& otherRadii, float otherSphereRadius,
              const Box3& otherWithin) const;
};

// The last reach made, kept for the next sweep that asks the same. The
// meshes of one body usually hold the same triangles (a triangle goes to
// every mesh shape of its body), so a step asks for the same reach mesh
// after mesh. Lives with the sweeps' working state, from one sweep to the
// next; valid while the question stays the same to the bit.
struct ReachMemo {
    ReachQuestion question;
    SweepReach answer;
    bool valid = false;
    uint64_t made = 0;  // reaches made so far: each answer gets its own number
};

// The reach of a sweep from `from` to `to` (mesh frame) with these radii and
// sphere radius, among triangles within `within`; nullptr when sweptReach
// cannot bound it. Valid until the next call with the same memo.
const SweepReach* sweepReachFor(ReachMemo& memo, const Vec3& from, const Vec3& to, const Vec3& radii,
                                float sphereRadius, const Box3& within);

}  // namespace zep
