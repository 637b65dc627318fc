// Axis-aligned boxes: the bounds of triangles, meshes and sweeps, and the
// nodes of every box tree.
#pragma once

#include <algorithm>
#include <cmath>
#include <utility>

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

// A segment with a margin around it, per axis. A box is met when the segment
// passes through the box grown by the margin: for a long diagonal sweep far
// fewer boxes than the grown box of the whole segment, which takes in
// everything under it.
struct SweptBox {
    Box3 bounds;  // the segment's box grown by the margin, rounded outward
    double from[3] = {};
    double move[3] = {};
    double inverseMove[3] = {};  // 1 / move, or 0 along an axis the segment does not move on
    double margin[3] = {};
    double marginInRadii = 0.0;  // where the margin is a multiple of radii: that multiple
    double travelInRadii = 0.0;  // and how far along the segment anything it meets can lie

    bool meets(const Box3& box) const { return entry(box) <= 1.0; }

    // The first `fraction` (0 to 1) of the segment, with the same margin.
    SweptBox prefix(double fraction) const {
        SweptBox out = *this;
        double lo[3], hi[3];
        for (int axis = 0; axis < 3; ++axis) {
            out.move[axis] = move[axis] * fraction;
            out.inverseMove[axis] = move[axis] != 0.0 ? inverseMove[axis] / fraction : 0.0;
            const double end = from[axis] + out.move[axis];
            lo[axis] = std::min(from[axis], end) - margin[axis];
            hi[axis] = std::max(from[axis], end) + margin[axis];
        }
        // Rounded outward, so that the bounds never cut into the margin.
        auto down = [](double v) { return std::nextafter(float(v), -HUGE_VALF); };
        auto up = [](double v) { return std::nextafter(float(v), HUGE_VALF); };
        out.bounds = Box3{{down(lo[0]), down(lo[1]), down(lo[2])}, {up(hi[0]), up(hi[1]), up(hi[2])}};
        return out;
    }

    // Where along the segment (0 at its start, 1 at its end) it first
    // passes through the grown box; above 1 when it never does.
    double entry(const Box3& box) const {
        constexpr double kNever = 2.0;
        if (!boxesOverlap(bounds, box)) return kNever;
        const double lo[3] = {box.lo.x, box.lo.y, box.lo.z};
        const double hi[3] = {box.hi.x, box.hi.y, box.hi.z};
        double enter = 0.0, leave = 1.0;
        for (int axis = 0; axis < 3; ++axis) {
            const double low = lo[axis] - margin[axis], high = hi[axis] + margin[axis];
            if (move[axis] == 0.0) {
                if (from[axis] < low || from[axis] > high) return kNever;
                continue;
            }
            double a = (low - from[axis]) * inverseMove[axis], b = (high - from[axis]) * inverseMove[axis];
            if (a > b) std::swap(a, b);
            enter = std::max(enter, a);
            leave = std::min(leave, b);
        }
        // The margin holds a slack far above the double rounding of these
        // products; the allowance only keeps a grazing pass from flipping.
        return enter <= leave + 1e-12 ? std::min(enter, 1.0) : kNever;
    }
};

}  // namespace zep
