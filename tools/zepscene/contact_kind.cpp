#include "contact_kind.h"

namespace zepscene {

namespace {

// Barycentric weights below this count as zero: a contact on an edge carries
// the float rounding of the sweep, some ulps off the exact line.
constexpr double kOnBoundary = 1e-4;

double dot(V3 a, V3 b) { return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z; }

}  // namespace

ContactKind classifyContact(V3 point, const Triangle& t) {
    const V3 e1 = t.b - t.a, e2 = t.c - t.a, p = point - t.a;
    const double d11 = dot(e1, e1), d12 = dot(e1, e2), d22 = dot(e2, e2);
    const double denominator = d11 * d22 - d12 * d12;
    if (!(denominator > 0)) return ContactKind::Unknown;
    const double p1 = dot(p, e1), p2 = dot(p, e2);
    const double v = (d22 * p1 - d12 * p2) / denominator;
    const double w = (d11 * p2 - d12 * p1) / denominator;
    const double weights[3] = {1 - v - w, v, w};
    int onBoundary = 0;
    for (double weight : weights) onBoundary += weight < kOnBoundary;
    if (onBoundary == 0) return ContactKind::Face;
    return onBoundary == 1 ? ContactKind::Edge : ContactKind::Corner;
}

}  // namespace zepscene
