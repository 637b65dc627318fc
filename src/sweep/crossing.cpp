#include "sweep/crossing.h"

#include <algorithm>
#include <cmath>

#include "base/vec3d.h"
#include "world/mesh_index.h"
#include "sweep/reach.h"
#include "sweep/sweep_work.h"
#include "world/object.h"
#include "world/shapes.h"

namespace zep {

namespace {

// How far a leg may take the centre into a met triangle: half a radius.
constexpr double kDeepestSink = 0.5;

// The segment and the triangle in the triangle's own frame, in double.
bool crossesFromFront(Vec3d P, Vec3d Q, Vec3d c1, Vec3d c2, Vec3d c3) {
    const Vec3d n = cross(minus(c2, c1), minus(c3, c1));
    if (n.x == 0.0 && n.y == 0.0 && n.z == 0.0) return false;
    const double dp = dotXYZ(n, minus(P, c1));
    const double dq = dotXYZ(n, minus(Q, c1));
    // From the front to on or behind the plane: a leg that ends on the plane
    // crosses, one that starts on it does not.
    if (!(dp > 0.0) || !(dq <= 0.0) || dp == dq) return false;
    const Vec3d X = along(P, minus(Q, P), dp / (dp - dq));
    const Vec3d from[3] = {c1, c2, c3};
    const Vec3d to[3] = {c2, c3, c1};
    for (int i = 0; i < 3; ++i)
        if (dotXYZ(cross(minus(to[i], from[i]), minus(X, from[i])), n) < 0.0) return false;  // NaN stays inside
    return true;
}

Vec3d plus(Vec3d a, Vec3d b) { return Vec3d{a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3d times(Vec3d v, double s) { return Vec3d{v.x * s, v.y * s, v.z * s}; }
Vec3d dividedBy(Vec3d v, Vec3d r) { return Vec3d{v.x / r.x, v.y / r.y, v.z / r.z}; }

// The point of the closed triangle a b c nearest to p, by its Voronoi
// regions: a corner, then an edge, then the face, the first that holds.
Vec3d nearestOnTriangle(Vec3d p, Vec3d a, Vec3d b, Vec3d c) {
    const Vec3d ab = minus(b, a), ac = minus(c, a), ap = minus(p, a);
    const double d1 = dotXYZ(ab, ap), d2 = dotXYZ(ac, ap);
    if (d1 <= 0.0 && d2 <= 0.0) return a;
    const Vec3d bp = minus(p, b);
    const double d3 = dotXYZ(ab, bp), d4 = dotXYZ(ac, bp);
    if (d3 >= 0.0 && d4 <= d3) return b;
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0.0 && d1 >= 0.0 && d3 <= 0.0) return plus(a, times(ab, d1 / (d1 - d3)));
    const Vec3d cp = minus(p, c);
    const double d5 = dotXYZ(ab, cp), d6 = dotXYZ(ac, cp);
    if (d6 >= 0.0 && d5 <= d6) return c;
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0.0 && d2 >= 0.0 && d6 <= 0.0) return plus(a, times(ac, d2 / (d2 - d6)));
    const double va = d3 * d6 - d5 * d4;
    const double towardC = d4 - d3, fromC = d5 - d6;
    if (va <= 0.0 && towardC >= 0.0 && fromC >= 0.0) return plus(b, times(minus(c, b), towardC / (towardC + fromC)));
    const double inv = 1.0 / (va + vb + vc);
    return plus(a, plus(times(ab, vb * inv), times(ac, vc * inv)));
}

double distanceToTriangle(Vec3d p, Vec3d a, Vec3d b, Vec3d c) {
    const Vec3d away = minus(p, nearestOnTriangle(p, a, b, c));
    return std::sqrt(dotXYZ(away, away));
}

// In the ellipsoid's unit space: Q within half a radius of the plane on its
// front, and more than half a radius nearer the triangle than P was, counted
// from touching.
bool sinksFromFront(Vec3d P, Vec3d Q, Vec3d a, Vec3d b, Vec3d c) {
    const Vec3d n = cross(minus(b, a), minus(c, a));
    if (n.x == 0.0 && n.y == 0.0 && n.z == 0.0) return false;
    const double s = dotXYZ(n, minus(Q, a));
    if (!(s > 0.0) || !(s / std::sqrt(dotXYZ(n, n)) < kDeepestSink)) return false;
    return distanceToTriangle(Q, a, b, c) < std::fmin(distanceToTriangle(P, a, b, c), 1.0) - kDeepestSink;
}

bool crossesStored(Vec3d P, Vec3d Q, const TriangleCorners& t) {
    return crossesFromFront(P, Q, widen(t.corner1), widen(t.corner2), widen(t.corner3));
}

bool crossesAny(const TriangleStore& triangles, Vec3d P, Vec3d Q) {
    for (const TriangleCorners& triangle : triangles)
        if (crossesStored(P, Q, triangle)) return true;
    return false;
}

// The box a crossed triangle's box must meet: the segment's, grown by far
// more than the double rounding of the crossing point and of the edge tests
// (relative to the largest coordinate involved) and rounded outward to floats.
Box3 crossingQueryBox(Vec3d P, Vec3d Q, const Box3& meshBounds) {
    const double scale = std::max({1.0, std::fabs(P.x), std::fabs(P.y), std::fabs(P.z), std::fabs(Q.x),
                                   std::fabs(Q.y), std::fabs(Q.z), largestMagnitude(meshBounds)});
    const double pad = scale * 0x1p-20;
    const auto down = [pad](double a, double b) { return std::nextafter(float(std::min(a, b) - pad), -HUGE_VALF); };
    const auto up = [pad](double a, double b) { return std::nextafter(float(std::max(a, b) + pad), HUGE_VALF); };
    return Box3{{down(P.x, Q.x), down(P.y, Q.y), down(P.z, Q.z)}, {up(P.x, Q.x), up(P.y, Q.y), up(P.z, Q.z)}};
}

// The mesh's triangles whose boxes meet the segment's; false when the index
// or the list cannot be had (or the segment has no finite box), and the
// caller then tests every triangle.
bool crossesNearby(SweepWork& work, MeshShape& mesh, Vec3d P, Vec3d Q, bool& crosses) {
    const bool finiteSegment = std::isfinite(P.x + P.y + P.z + Q.x + Q.y + Q.z);
    if (work.plainPath || !finiteSegment || !meshIndexReady(work, mesh)) return false;
    const TriangleIndex& index = *mesh.index;
    const int32_t* places = nullptr;
    const int32_t count = gatherCandidates(index, crossingQueryBox(P, Q, mesh.bounds), work.scratch.places, &places);
    if (count < 0) return false;
    crosses = false;
    for (int32_t i = 0; i < count && !crosses; ++i) crosses = crossesStored(P, Q, placeCorners(index, places[i]));
    return true;
}

// Back to front from P to Q is front to back from Q to P.
bool crossesFromBehind(Vec3d P, Vec3d Q, const TriangleCorners& t) { return crossesStored(Q, P, t); }

int32_t firstCrossedFromBehind(const TriangleStore& triangles, Vec3d P, Vec3d Q) {
    int32_t number = 0;
    for (const TriangleCorners& triangle : triangles) {
        ++number;
        if (crossesFromBehind(P, Q, triangle)) return number;
    }
    return 0;
}

// The same through the index's candidates; -1 when the index cannot answer
// (it is missing or behind the mesh, or the list's memory ran out).
int32_t firstIndexedCrossedFromBehind(SweepWork& work, const MeshShape& mesh, Vec3d P, Vec3d Q) {
    const TriangleIndex* index = mesh.index;
    if (!index || index->listed != mesh.triangles.count) return -1;
    const int32_t* places = nullptr;
    const int32_t count = gatherCandidates(*index, crossingQueryBox(P, Q, mesh.bounds), work.scratch.places, &places);
    if (count < 0) return -1;
    for (int32_t i = 0; i < count; ++i)
        if (crossesFromBehind(P, Q, placeCorners(*index, places[i]))) return places[i] + 1;
    return 0;
}

// Where along P to Q (0 to 1) the segment meets the triangle, from either
// side; above 1 when it does not.
double meetingAlong(Vec3d P, Vec3d Q, const TriangleCorners& t, double& facing) {
    const Vec3d c1 = widen(t.corner1), c2 = widen(t.corner2), c3 = widen(t.corner3);
    const Vec3d n = cross(minus(c2, c1), minus(c3, c1));
    const double dp = dotXYZ(n, minus(P, c1)), dq = dotXYZ(n, minus(Q, c1));
    if (!((dp > 0.0) != (dq > 0.0)) || dp == dq) return 2.0;
    const double at = dp / (dp - dq);
    const Vec3d X = along(P, minus(Q, P), at);
    const Vec3d from[3] = {c1, c2, c3}, to[3] = {c2, c3, c1};
    for (int i = 0; i < 3; ++i)
        if (dotXYZ(cross(minus(to[i], from[i]), minus(X, from[i])), n) < 0.0) return 2.0;
    facing = dq - dp;  // above 0: the segment runs from the back to the front
    return at;
}

// Visits the places to search for the segment: the index's candidates, or
// every triangle of a small mesh; false when neither can be had.
template <typename Visit>
bool visitPlaces(SweepWork& work, const MeshShape& mesh, Vec3d P, Vec3d Q, int32_t wholeAtMost, int32_t most,
                 const Visit& visit) {
    const TriangleIndex* index = mesh.index;
    if (index && index->listed == mesh.triangles.count) {
        const int32_t* places = nullptr;
        const int32_t count = gatherCandidates(*index, crossingQueryBox(P, Q, mesh.bounds), work.scratch.places, &places, most);
        if (count < 0 || count > most) return false;
        for (int32_t i = 0; i < count; ++i) visit(placeCorners(*index, places[i]));
        return true;
    }
    if (mesh.triangles.count > wholeAtMost) return false;
    for (const TriangleCorners& triangle : mesh.triangles) visit(triangle);
    return true;
}

}  // namespace

double firstMeeting(SweepWork& work, const MeshShape& mesh, Vec3 p, Vec3 q, int32_t wholeAtMost, int32_t mostCandidates,
                    const TriangleCorners* skip, bool& fromBehind) {
    if (!mesh.allFinite || mesh.triangles.count == 0) return 2.0;
    const Vec3d M = widen(mesh.header.body ? mesh.header.body->currentPosition : Vec3{});
    const Vec3d P = minus(widen(p), M), Q = minus(widen(q), M);
    if (!std::isfinite(P.x + P.y + P.z + Q.x + Q.y + Q.z)) return 2.0;
    double nearest = 2.0, facing = 0.0;
    const bool searched = visitPlaces(work, mesh, P, Q, wholeAtMost, mostCandidates, [&](const TriangleCorners& t) {
        if (&t == skip) return;
        double thisFacing = 0.0;
        const double at = meetingAlong(P, Q, t, thisFacing);
        if (at < nearest) nearest = at, facing = thisFacing;
    });
    fromBehind = facing > 0.0;
    return searched ? nearest : 2.0;
}

int32_t triangleCrossedFromBehind(SweepWork& work, const MeshShape& mesh, Vec3 p, Vec3 q, int32_t wholeAtMost) {
    if (!mesh.allFinite || mesh.triangles.count == 0) return 0;
    const Vec3d M = widen(mesh.header.body ? mesh.header.body->currentPosition : Vec3{});
    const Vec3d P = minus(widen(p), M), Q = minus(widen(q), M);
    if (!std::isfinite(P.x + P.y + P.z + Q.x + Q.y + Q.z)) return 0;
    if (!boxesOverlap(crossingQueryBox(P, Q, mesh.bounds), mesh.bounds)) return 0;
    const int32_t indexed = firstIndexedCrossedFromBehind(work, mesh, P, Q);
    if (indexed >= 0) return indexed;
    return mesh.triangles.count <= wholeAtMost ? firstCrossedFromBehind(mesh.triangles, P, Q) : 0;
}

bool segmentCrossesTriangle(Vec3 p, Vec3 q, const Vec3 corners[3], Vec3 meshPosition) {
    const Vec3d M = widen(meshPosition);
    return crossesFromFront(minus(widen(p), M), minus(widen(q), M), widen(corners[0]), widen(corners[1]),
                            widen(corners[2]));
}

bool legSinksIntoTriangle(Vec3 p, Vec3 q, const Vec3 corners[3], Vec3 meshPosition, Vec3 radii) {
    const Vec3d M = widen(meshPosition), R = widen(radii);
    const Vec3d P = dividedBy(minus(widen(p), M), R), Q = dividedBy(minus(widen(q), M), R);
    return sinksFromFront(P, Q, dividedBy(widen(corners[0]), R), dividedBy(widen(corners[1]), R),
                          dividedBy(widen(corners[2]), R));
}

bool segmentCrossesMesh(SweepWork& work, MeshShape& mesh, Vec3 p, Vec3 q) {
    if (!mesh.allFinite || mesh.triangles.count == 0) return false;
    const Vec3d M = widen(mesh.header.body ? mesh.header.body->currentPosition : Vec3{});
    const Vec3d P = minus(widen(p), M), Q = minus(widen(q), M);
    bool crosses = false;
    if (crossesNearby(work, mesh, P, Q, crosses)) return crosses;
    return crossesAny(mesh.triangles, P, Q);
}

}  // namespace zep
