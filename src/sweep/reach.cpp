#include "sweep/reach.h"

#include <algorithm>
#include <cmath>

namespace zep {

bool linearReference = false;

namespace {

bool finite(Vec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

double largestMagnitude(const Box3& box) {
    return std::max({std::fabs(double(box.lo.x)), std::fabs(double(box.lo.y)),
                     std::fabs(double(box.lo.z)), std::fabs(double(box.hi.x)),
                     std::fabs(double(box.hi.y)), std::fabs(double(box.hi.z))});
}

float widenDown(double value, double margin) { return float(value - margin); }
float widenUp(double value, double margin) { return float(value + margin); }

}  // namespace

bool boxIsBoundable(const Box3& box, Vec3 radii) {
    if (!finite(box.lo) || !finite(box.hi) || !finite(radii)) return false;
    const double smallestRadius = std::min({double(radii.x), double(radii.y), double(radii.z)});
    if (!(smallestRadius > 0.0)) return false;
    return largestMagnitude(box) / smallestRadius <= kLargestSafeScale;
}

bool reachBox(Vec3 from, Vec3 to, Vec3 radii, Box3& out) {
    const Box3 segment{{std::min(from.x, to.x), std::min(from.y, to.y), std::min(from.z, to.z)},
                       {std::max(from.x, to.x), std::max(from.y, to.y), std::max(from.z, to.z)}};
    if (!boxIsBoundable(segment, radii)) return false;
    const double slack = kReachRelativeSlack * largestMagnitude(segment);
    const double r[3] = {radii.x, radii.y, radii.z};
    double margin[3];
    for (int axis = 0; axis < 3; ++axis) margin[axis] = kReachInRadii * r[axis] * (1.0 + kReachRelativeSlack) + slack;
    out.lo = Vec3{widenDown(segment.lo.x, margin[0]), widenDown(segment.lo.y, margin[1]),
                  widenDown(segment.lo.z, margin[2])};
    out.hi = Vec3{widenUp(segment.hi.x, margin[0]), widenUp(segment.hi.y, margin[1]),
                  widenUp(segment.hi.z, margin[2])};
    return finite(out.lo) && finite(out.hi);
}

}  // namespace zep
