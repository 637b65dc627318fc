// What every candidate triangle of an indexed sweep is checked against
// before its exact tests, whichever source handed it over.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/box3.h"
#include "sweep/reach.h"
#include "sweep/sweep_frame.h"
#include "world/sweep_records.h"

namespace zep {

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
