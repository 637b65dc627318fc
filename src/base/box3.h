// Axis-aligned boxes: the bounds of triangles, meshes and sweeps, and the
// nodes of every box tree.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The largest absolute coordinate of the box: the scale of its rounding.
inline double largestMagnitude(const Box3& box) {
    return std::max({std::fabs(double(box.lo.x)), std::fabs(double(box.lo.y)), std::fabs(double(box.lo.z)),
                     std::fabs(double(box.hi.x)), std::fabs(double(box.hi.y)), std::fabs(double(box.hi.z))});
}

// The largest coordinate of a finite box in radii, axis by axis, given the
// reciprocals of the radii; of a point, given the radii: the scale of the
// rounding in the space where the ellipsoid is a unit sphere.
inline double largestInRadii(const Box3& box, const double inverse[3]) {
    return std::max({std::max(std::fabs(double(box.lo.x)), std::fabs(double(box.hi.x))) * inverse[0],
                     std::max(std::fabs(double(box.lo.y)), std::fabs(double(box.hi.y))) * inverse[1],
                     std::max(std::fabs(double(box.lo.z)), std::fabs(double(box.hi.z))) * inverse[2]});
}
inline double largestInRadii(Vec3 point, Vec3 radii) {
    const double inverse[3] = {1.0 / double(radii.x), 1.0 / double(radii.y), 1.0 / double(radii.z)};
    return largestInRadii(Box3{point, point}, inverse);
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
    double margin[3] = {};
    double marginInRadii = 0.0;  // where the margin is a multiple of radii: that multiple
    double lengthInRadii = 0.0;  // and the segment's length in radii, in double
    double scaleInRadii = 0.0;   // and the largest coordinate, in radii, a hit can compute with

    // Fills in what entry() reads, from `from`, `move` and `margin`.
    void prepareSlabs() {
        for (int axis = 0; axis < 3; ++axis) {
            forward[axis] = !(move[axis] < 0.0);
            // Along an axis the segment does not move on, an infinite
            // scale turns a face past the margin into an entry or a leave
            // that can never be met, and one short of it into none at all
            // (a face on the margin gives 0 times infinity, which the
            // comparisons below pass over): the slab is the grown range.
            inverseMove[axis] = move[axis] == 0.0 ? HUGE_VAL : 1.0 / move[axis];
            const double lowShift = -margin[axis] - from[axis], highShift = margin[axis] - from[axis];
            nearOffset[axis] = forward[axis] ? lowShift : highShift;
            farOffset[axis] = forward[axis] ? highShift : lowShift;
        }
    }

    bool meets(const Box3& box) const { return entry(box) <= 1.0; }

    // entry() of four boxes at once, given per axis their low and their high
    // faces side by side: the same operations lane by lane, so the same bits.
    void entries(const float (&lo)[3][4], const float (&hi)[3][4], double (&out)[4]) const {
#if defined(__SSE2__)
        // Two lanes to a register. max and min return their second operand
        // where the first is NaN, as std::max(enter, t) keeps `enter`.
        __m128d enter[2] = {_mm_setzero_pd(), _mm_setzero_pd()};
        __m128d leave[2] = {_mm_set1_pd(1.0), _mm_set1_pd(1.0)};
        for (int axis = 0; axis < 3; ++axis) {
            const __m128 nearFaces = _mm_loadu_ps(forward[axis] ? lo[axis] : hi[axis]);
            const __m128 farFaces = _mm_loadu_ps(forward[axis] ? hi[axis] : lo[axis]);
            const __m128 nearHigh = _mm_movehl_ps(nearFaces, nearFaces), farHigh = _mm_movehl_ps(farFaces, farFaces);
            const __m128d nearShift = _mm_set1_pd(nearOffset[axis]), farShift = _mm_set1_pd(farOffset[axis]);
            const __m128d scale = _mm_set1_pd(inverseMove[axis]);
            const __m128d enterAt[2] = {_mm_mul_pd(_mm_add_pd(_mm_cvtps_pd(nearFaces), nearShift), scale),
                                     _mm_mul_pd(_mm_add_pd(_mm_cvtps_pd(nearHigh), nearShift), scale)};
            const __m128d leaveAt[2] = {_mm_mul_pd(_mm_add_pd(_mm_cvtps_pd(farFaces), farShift), scale),
                                    _mm_mul_pd(_mm_add_pd(_mm_cvtps_pd(farHigh), farShift), scale)};
            for (int half = 0; half < 2; ++half) {
                enter[half] = _mm_max_pd(enterAt[half], enter[half]);
                leave[half] = _mm_min_pd(leaveAt[half], leave[half]);
            }
        }
        for (int half = 0; half < 2; ++half) {
            const __m128d met = _mm_min_pd(enter[half], _mm_set1_pd(1.0));
            const __m128d meets = _mm_cmple_pd(enter[half], _mm_add_pd(leave[half], _mm_set1_pd(1e-12)));
            _mm_storeu_pd(out + 2 * half,
                          _mm_or_pd(_mm_and_pd(meets, met), _mm_andnot_pd(meets, _mm_set1_pd(kNever))));
        }
#else
        for (int lane = 0; lane < 4; ++lane)
            out[lane] = entry(Box3{{lo[0][lane], lo[1][lane], lo[2][lane]}, {hi[0][lane], hi[1][lane], hi[2][lane]}});
#endif
    }

    // Where along the segment (0 at its start, 1 at its end) it first
    // passes through the grown box; above 1 when it never does.
    double entry(const Box3& box) const {
        const double lo[3] = {box.lo.x, box.lo.y, box.lo.z};
        const double hi[3] = {box.hi.x, box.hi.y, box.hi.z};
        double enter = 0.0, leave = 1.0;
        for (int axis = 0; axis < 3; ++axis) {
            const double nearFace = forward[axis] ? lo[axis] : hi[axis];
            const double farFace = forward[axis] ? hi[axis] : lo[axis];
            enter = std::max(enter, (nearFace + nearOffset[axis]) * inverseMove[axis]);
            leave = std::min(leave, (farFace + farOffset[axis]) * inverseMove[axis]);
        }
        // The margin holds a slack far above the double rounding of these
        // products; the allowance only keeps a grazing pass from flipping.
        return enter <= leave + 1e-12 ? std::min(enter, 1.0) : kNever;
    }

private:
    static constexpr double kNever = 2.0;
    // Per axis: whether the segment runs toward +, and the slab of the grown
    // box as the segment crosses it, the faces shifted by the margin and the
    // start and scaled by 1 / move.
    bool forward[3] = {true, true, true};
    double inverseMove[3] = {1.0, 1.0, 1.0};
    double nearOffset[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    double farOffset[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
};

}  // namespace zep
