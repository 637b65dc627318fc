#include "sweep/reach.h"

#include <algorithm>
#include <cmath>

#include "base/same_bits.h"
#include "base/vec3d.h"

namespace zep {

namespace {

float widenDown(double value, double margin) { return float(value - margin); }
float widenUp(double value, double margin) { return float(value + margin); }

}  // namespace

bool boxIsBoundable(const Box3& box, Vec3 radii) {
    if (!isFinite(box.lo) || !isFinite(box.hi) || !isFinite(radii)) return false;
    const double smallestRadius = std::min({double(radii.x), double(radii.y), double(radii.z)});
    if (!(smallestRadius > 0.0)) return false;
    return largestMagnitude(box) / smallestRadius <= kLargestSafeScale;
}

bool sweptReach(Vec3 from, Vec3 to, Vec3 radii, const Box3& within, SweptBox& out) {
    if (!isFinite(from) || !isFinite(to) || !isFinite(radii) || !isFinite(within.lo) || !isFinite(within.hi)) return false;
    if (!(radii.x > 0.0f && radii.y > 0.0f && radii.z > 0.0f)) return false;
    const double inverse[3] = {1.0 / double(radii.x), 1.0 / double(radii.y), 1.0 / double(radii.z)};
    const Box3 segment = segmentBox(from, to);
    out.move[0] = double(to.x) - from.x, out.move[1] = double(to.y) - from.y, out.move[2] = double(to.z) - from.z;
    const double along[3] = {out.move[0] * inverse[0], out.move[1] * inverse[1], out.move[2] * inverse[2]};
    const double length = std::sqrt(along[0] * along[0] + along[1] * along[1] + along[2] * along[2]);
    // Every hit lies within a radius of a triangle, so within the farthest
    // distance of `within` from the start, plus that radius: the travel to a
    // hit, the corner test's |P| and the distance of an edge's line never
    // exceed it, however far the path goes on. The coordinates of every value
    // a hit computes stay within the start's and the triangles' plus it.
    const double from3[3] = {from.x, from.y, from.z};
    const double lo[3] = {within.lo.x, within.lo.y, within.lo.z}, hi[3] = {within.hi.x, within.hi.y, within.hi.z};
    double farthestSquared = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        const double d = std::max(std::fabs(lo[axis] - from3[axis]), std::fabs(hi[axis] - from3[axis])) * inverse[axis];
        farthestSquared += d * d;
    }
    const double travel = std::min(length, std::sqrt(farthestSquared) + 2.0);
    const double largest =
        std::max(largestInRadii(Box3{from, from}, inverse), largestInRadii(within, inverse)) + travel;
    // Beyond this scale ellipsoid-space floats resolve nothing: the caller
    // takes the plain path.
    if (!(largest <= kLargestSafeScale)) return false;
    const double reach = reachInRadii(travel, largest);
    out.marginInRadii = reach;
    out.lengthInRadii = length;
    out.scaleInRadii = largest;
    const double r[3] = {radii.x, radii.y, radii.z};
    for (int axis = 0; axis < 3; ++axis) out.margin[axis] = reach * r[axis];
    out.from[0] = from.x, out.from[1] = from.y, out.from[2] = from.z;
    out.prepareSlabs();
    out.bounds.lo = Vec3{widenDown(segment.lo.x, out.margin[0]), widenDown(segment.lo.y, out.margin[1]),
                         widenDown(segment.lo.z, out.margin[2])};
    out.bounds.hi = Vec3{widenUp(segment.hi.x, out.margin[0]), widenUp(segment.hi.y, out.margin[1]),
                         widenUp(segment.hi.z, out.margin[2])};
    return isFinite(out.bounds.lo) && isFinite(out.bounds.hi);
}

}  // namespace zep

namespace zep {

namespace {

double clamp01(double t) { return t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t); }

}  // namespace

FeatureReach makeFeatureReach(Vec3 S, Vec3 E, float sphereRadius, double reachInRadii) {
    FeatureReach out;
    out.start = widen(S);
    out.move = minus(widen(E), out.start);
    const double lengthSquared = dotXYZ(out.move, out.move);
    out.inverseLengthSquared = lengthSquared > 0.0 ? 1.0 / lengthSquared : 0.0;
    const double reach = double(sphereRadius) * reachInRadii;
    out.reachSquared = reach * reach;
    return out;
}

// The closest points of the edge and the path, clamped to both.
double FeatureReach::distanceSquared(Vec3 A, Vec3 B) const {
    const Vec3d p1 = widen(A), d1 = minus(widen(B), p1);
    const Vec3d p2 = start, d2 = move;
    const Vec3d r = minus(p1, p2);
    const double a = dotXYZ(d1, d1), f = dotXYZ(d2, r);
    const bool pathHasLength = inverseLengthSquared > 0.0;
    double s = 0.0, t = 0.0;
    if (a <= 0.0) {
        t = clamp01(f * inverseLengthSquared);  // the edge is a point
    } else {
        const double c = dotXYZ(d1, r);
        if (!pathHasLength) {
            s = clamp01(-c / a);
        } else {
            const double e = dotXYZ(d2, d2), b = dotXYZ(d1, d2), denom = a * e - b * b;
            s = denom > 0.0 ? clamp01((b * f - c * e) / denom) : 0.0;
            t = (b * s + f) * inverseLengthSquared;
            if (t < 0.0) {
                t = 0.0;
                s = clamp01(-c / a);
            } else if (t > 1.0) {
                t = 1.0;
                s = clamp01((b - c) / a);
            }
        }
    }
    const Vec3d gap = minus(along(p1, d1, s), along(p2, d2, t));
    return dotXYZ(gap, gap);
}

}  // namespace zep

namespace zep {

ReachFilter makeReachFilter(Vec3 from, Vec3 to, Vec3 radii, float sphereRadius, const SweptBox& reach) {
    ReachFilter filter;
    filter.segment = segmentBox(from, to);
    filter.inverseRadii[0] = 1.0 / double(radii.x);
    filter.inverseRadii[1] = 1.0 / double(radii.y);
    filter.inverseRadii[2] = 1.0 / double(radii.z);
    const double distance = double(sphereRadius) * reach.marginInRadii;
    filter.reachSquared = distance * distance;
    return filter;
}

}  // namespace zep

namespace zep {

// Bit for bit: the answer is a function of the bits, NaNs included.
bool ReachQuestion::asks(const Vec3& otherFrom, const Vec3& otherTo, const Vec3& otherRadii,
                         float otherSphereRadius, const Box3& otherWithin) const {
    return sameBits(from, otherFrom) && sameBits(to, otherTo) && sameBits(radii, otherRadii) &&
           sameBits(sphereRadius, otherSphereRadius) && sameBits(within, otherWithin);
}

const SweepReach* sweepReachFor(ReachMemo& memo, const Vec3& from, const Vec3& to, const Vec3& radii,
                                float sphereRadius, const Box3& within) {
    if (memo.valid && memo.question.asks(from, to, radii, sphereRadius, within)) return &memo.answer;
    memo.valid = false;
    SweepReach& answer = memo.answer;
    if (!sweptReach(from, to, radii, within, answer.reach)) return nullptr;
    answer.features = makeFeatureReach(DivideComponents(from, radii), DivideComponents(to, radii), sphereRadius,
                                       answer.reach.marginInRadii);
    answer.filter = makeReachFilter(from, to, radii, sphereRadius, answer.reach);
    answer.made = ++memo.made;
    memo.question = ReachQuestion{from, to, radii, within, sphereRadius};
    memo.valid = true;
    return &answer;
}

}  // namespace zep
