// The exact tests of one triangle against one sweep, in the sweep's
// ellipsoid space, and what every candidate triangle of an indexed sweep is
// checked against first. Shared by the mesh sweep's paths.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/box3.h"
#include "base/vec3.h"
#include "sweep/reach.h"
#include "world/shapes.h"
#include "world/sweep_records.h"

namespace zep {

// What stays the same for every triangle of one sweep, in ellipsoid space.
struct SweepFrame {
    Vec3 S;
    Vec3 E;
    float sweepLength = 0.0f;
    Vec3 dir;  // unit, or (0, 0, 0) for a movement too short to have one
    float sphereRadius = 0.0f;
    // On the indexed path, corners and edges out of this reach are left
    // out; the reference path tests them all.
    bool pruneFarFeatures = false;
    FeatureReach featureReach;
};

// The last frame formed and what it was formed from, kept with the sweeps'
// working state: the meshes of one body share its position, so the sweeps
// of one step ask for the same frame mesh after mesh. Handed back while the
// question stays the same to the bit.
struct FrameMemo {
    Vec3 M;
    Vec3 start;
    Vec3 end;
    Vec3 radii;
    float sphereRadius = 0.0f;
    bool valid = false;
    SweepFrame frame;
};

// The frame of a sweep from `start` to `end` (world) against a mesh body at
// M, for these radii and sphere radius.
const SweepFrame& sweepFrameFor(FrameMemo& memo, Vec3 M, Vec3 start, Vec3 end, Vec3 radii, float sphereRadius);

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

// The numbers of the triangles of this mesh that the contacts already name,
// sorted, so that each candidate is looked up instead of walking the list.
struct NamedTriangles {
    const int32_t* numbers = nullptr;
    int32_t count = 0;
    bool contains(int32_t number) const { return std::binary_search(numbers, numbers + count, number); }
};

// What every candidate of one indexed sweep is checked against before its
// exact tests.
struct CandidateChecks {
    const SweepFrame& frame;
    const NamedTriangles& named;
    const ReachFilter& filter;
    const SweptBox& reach;
    Vec3 radii;

    // `entry` is where the path first enters the triangle's grown box (0 to
    // 1; above 1 when it never does).
    bool skips(int32_t place, const Box3& box, double entry, double travelLimit) const {
        return entry > 1.0 || named.contains(place + 1) || !filter.mayReach(box) || beyond(entry, travelLimit);
    }
    bool skips(int32_t place, const Box3& box, double entry, const SweepResult& result) const {
        return entry > 1.0 || named.contains(place + 1) || !filter.mayReach(box) || beyondNearest(entry, result);
    }

    // Every hit a sweep takes at travel t >= 0 touches its triangle within
    // reach of the path's point at travel t (a negative travel, within reach
    // of the start), so a triangle whose grown box the path first enters
    // past the nearest hit so far can give no hit the sweep would take. The
    // allowance covers a direction unit only to Normalize's tolerance, and
    // the float rounding of the values a travel is computed from: a few ulps
    // of the largest coordinate, which far out or with a tiny radius can
    // exceed the travel itself.
    double nearestTravelLimit(const SweepResult& result) const {
        if (std::isnan(result.nearestDistance)) return HUGE_VAL;  // every later hit would be taken
        const double nearest = std::max(0.0, double(result.nearestDistance));
        return nearest * (1.0 + 2e-5) + 1e-5 + 0x1p-19 * reach.scaleInRadii;
    }
    // The travel to an entry, from the segment's length in double: the
    // frame's float length is infinite for a path longer than the largest
    // float, which would put every box past the first hit.
    bool beyond(double entry, double travelLimit) const { return entry * reach.lengthInRadii > travelLimit; }
    bool beyondNearest(double entry, const SweepResult& result) const {
        return beyond(entry, nearestTravelLimit(result));
    }
};

}  // namespace zep
