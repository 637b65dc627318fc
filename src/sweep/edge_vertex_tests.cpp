#include "sweep/edge_vertex_tests.h"

#include <cmath>

#include "base/vec3d.h"
#include "sweep/hit_record.h"

namespace zep {

// Several sums below are written z, y, x, which is Dot's own order; Dot is
// used for them so that they round exactly as it does.

namespace {

// (a − b)·w, summed z, y, x, with each difference kept in double instead of
// being stored as a float vector first.
double differenceDot(Vec3 a, Vec3 b, Vec3 w) {
    const Vec3d d = minus(widen(a), widen(b));
    return sumZYX(d.x * double(w.x), d.y * double(w.y), d.z * double(w.z));
}

// |a − b|², summed z, y, x, the differences kept in double.
double differenceSquared(Vec3 a, Vec3 b) {
    const Vec3d d = minus(widen(a), widen(b));
    return sumZYX(d.x * d.x, d.y * d.y, d.z * d.z);
}

// E moved onto the plane through the centre at contact perpendicular to N
// (for |N| = 1): k·N + E with k = (V − (E − N))·N, the inner difference of
// V − (E − N) unrounded.
Vec3 vertexSlideDestination(Vec3 V, Vec3 E, Vec3 N) {
    const Vec3 W{float(double(V.x) - (double(E.x) - double(N.x))), float(double(V.y) - (double(E.y) - double(N.y))),
                 float(double(V.z) - (double(E.z) - double(N.z)))};
    return Add(Scale(N, Dot(W, N)), E);
}

// (dir × Ev) × Ev, the inner product carried in double and only the outer
// one rounded: the direction across the edge, in the plane of edge and dir.
Vec3 acrossEdge(Vec3 dir, Vec3 Ev) {
    const double ux = double(dir.y) * Ev.z - double(dir.z) * Ev.y;
    const double uy = double(dir.z) * Ev.x - double(dir.x) * Ev.z;
    const double uz = double(dir.x) * Ev.y - double(dir.y) * Ev.x;
    return Vec3{float(uy * Ev.z - uz * Ev.y), float(uz * Ev.x - ux * Ev.z),
                float(ux * Ev.y - uy * Ev.x)};
}

// E moved onto the plane through the centre at contact perpendicular to T
// (for r = 1). B stands in for the touching point: both lie on the edge
// line, which is perpendicular to T, so either gives the same offset along T.
Vec3 edgeSlideDestination(Vec3 T, float sphereRadius, Vec3 B, Vec3 E) {
    const Vec3 X = Subtract(E, Scale(T, sphereRadius));
    const Vec3 Wv = Subtract(B, X);
    const float kk = float(Dot(T, Wv));
    return Add(Scale(T, kk), E);
}

// The edge from A to B as the three edge-line operations each form it: the
// float vector B − A and its unit vector. TestEdge forms it once and hands it
// to all three, which computes exactly what each would compute alone.
struct EdgeLine {
    Vec3 A;
    Vec3 B;
    Vec3 edge;
    Vec3 unit;
};

EdgeLine edgeLine(Vec3 A, Vec3 B) {
    const Vec3 edge = Subtract(B, A);
    return EdgeLine{A, B, edge, normalized(edge)};
}

int32_t edgeInReach(const EdgeLine& line, Vec3 S, Vec3 dir) {
    const Vec3 U = Subtract(S, line.A);
    const double length = std::sqrt(Dot(line.edge, line.edge));
    const double p = Dot(line.unit, U);
    const double along = Dot(line.unit, dir);
    if (p <= 0.0 && along <= 0.0) return 0;  // at or before A, not moving toward B
    if (p < length) return 1;
    return along < 0.0 ? 1 : 0;  // at or beyond B: only when moving back toward A
}

Vec3 projectOntoEdgeLine(const EdgeLine& line, Vec3 X) {
    const Vec3 U = Subtract(X, line.A);
    return Add(line.A, Scale(line.unit, Dot(U, line.unit)));
}

int32_t withinEdgeSpan(const EdgeLine& line, Vec3 X) {
    const Vec3 U = Subtract(X, line.A);
    const float lengthSquared = float(Dot(line.edge, line.edge));
    const double p = Dot(line.unit, U);
    return p > 0.0 && p < std::sqrt(double(lengthSquared)) ? 1 : 0;
}

// A feature the sphere already overlaps at S is met where the sweep starts,
// as an embedded face is: backing off along -dir would move the centre
// through space no test has checked. The normal points from the feature's
// point to S with length r; false, with nothing written, when S lies on the
// point or a hit is already nearer than travel 0 (NaN leaves it to win).
bool meetAtStart(SweepResult& result, float sphereRadius, int32_t triangleNumber, float sweepLength,
                 int32_t kind, Vec3 point, Vec3 S) {
    if (0.0 > double(result.nearestDistance)) return false;
    const Vec3 G = Subtract(S, point);
    const double g = std::sqrt(Dot(G, G));
    if (!(g > 0.0)) return false;
    storeHitHeader(result, sphereRadius, triangleNumber, 0.0, sweepLength, kind);
    result.contactPoint = point;
    result.normal = Scale(G, double(sphereRadius) / g);
    result.centerAtContact = S;
    return true;
}

// The edge whose line the sphere overlaps at S; F is S projected onto the
// line. Only where that projection falls inside the segment: its ends belong
// to the corner test.
void meetOverlappedEdge(SweepResult& result, const TriangleCorners& triangle, int32_t triangleNumber,
                        float sphereRadius, float sweepLength, const EdgeLine& line, Vec3 F, Vec3 S,
                        Vec3 E) {
    if (withinEdgeSpan(line, S) != 1) return;
    if (!meetAtStart(result, sphereRadius, triangleNumber, sweepLength, kHitEdge, F, S)) return;
    result.slideDestination = edgeSlideDestination(result.normal, sphereRadius, line.B, E);
    storeMovementAndCorners(result, triangle, S);
    result.edgeStart = line.A;
    result.edgeEnd = line.B;
}

// The corner the sphere overlaps at S, ahead of it.
void meetOverlappedCorner(SweepResult& result, const TriangleCorners& triangle, int32_t triangleNumber,
                          float sphereRadius, float sweepLength, Vec3 V, Vec3 S, Vec3 E) {
    if (!meetAtStart(result, sphereRadius, triangleNumber, sweepLength, kHitVertex, V, S)) return;
    result.slideDestination = vertexSlideDestination(V, E, result.normal);
    storeMovementAndCorners(result, triangle, S);
    result.vertex = V;
}

}  // namespace

void TestVertex(SweepResult& result, const TriangleCorners& triangle, int32_t triangleNumber,
                float sphereRadius, float sweepLength, Vec3 V, Vec3 dir, Vec3 S, Vec3 E) {
    const Vec3 P = Subtract(V, S);
    // Travel to the point of the path nearest to V; no hit unless ahead.
    const double dot = Dot(P, dir);
    if (!(dot > 0.0)) return;
    // Squared distance of V from the path's line; grazing (h == r²) still hits.
    const double h = Dot(P, P) - dot * dot;
    const double r2 = double(sphereRadius) * double(sphereRadius);
    if (h > r2) return;
    const double t = dot - std::sqrt(r2 - h);
    // Already overlapping the corner ahead: met where the sweep starts.
    if (t < 0.0) {
        meetOverlappedCorner(result, triangle, triangleNumber, sphereRadius, sweepLength, V, S, E);
        return;
    }
    // Compared as travel, not squared: squaring would reject a near corner
    // behind a far hit.
    if (t > double(result.nearestDistance)) return;

    const Vec3 Q = Add(S, Scale(dir, t));
    const Vec3 N = Subtract(Q, V);
    storeHitHeader(result, sphereRadius, triangleNumber, t, sweepLength, kHitVertex);
    result.contactPoint = V;
    result.normal = N;
    result.centerAtContact = Q;
    result.slideDestination = vertexSlideDestination(V, E, N);
    storeMovementAndCorners(result, triangle, S);
    result.vertex = V;
}

void TestEdge(SweepResult& result, const TriangleCorners& triangle, int32_t triangleNumber,
              float sphereRadius, float sweepLength, Vec3 A, Vec3 B, Vec3 Ev, Vec3 dir, Vec3 S,
              Vec3 E) {
    // Unit vector across the edge against dir; zero when dir runs along the
    // edge or the edge has no length, which the sign test then rejects.
    const Vec3 nn = normalized(acrossEdge(dir, Ev));
    const double cosA = sumZXY(double(nn.x) * dir.x, double(nn.y) * dir.y, double(nn.z) * dir.z);
    if (!(cosA < 0.0)) return;
    const EdgeLine line = edgeLine(A, B);
    if (edgeInReach(line, S, dir) == 0) return;

    const Vec3 F = projectOntoEdgeLine(line, S);
    // How far the centre lies behind the edge line along nn, and the centre
    // projected onto the plane of the edge line parallel to dir.
    const double I = differenceDot(S, F, nn);
    const Vec3 H = Add(F, Scale(nn, I));
    if (!(I > 0.0)) return;
    const double dist2 = differenceSquared(H, S);
    const double r2 = double(sphereRadius) * double(sphereRadius);
    if (!(dist2 < r2)) return;
    const double dist = std::sqrt(dist2);
    const double w = std::sqrt(r2 - dist * dist);
    const double te = -((I - w) / cosA);
    // Already overlapping the edge's line: met where the sweep starts (a
    // back-off would be unbounded when the move runs nearly along the edge).
    if (te < 0.0) {
        meetOverlappedEdge(result, triangle, triangleNumber, sphereRadius, sweepLength, line, F, S, E);
        return;
    }
    if (te > double(result.nearestDistance)) return;

    const float teStored = float(te);
    const Vec3 Q = Add(S, Scale(dir, te));
    if (withinEdgeSpan(line, Q) != 1) return;
    const Vec3 negatedNn{-nn.x, -nn.y, -nn.z};
    // K is the touching point moved back by the travel.
    const Vec3 K = Add(H, Scale(negatedNn, w));
    const Vec3 T = Subtract(S, K);
    storeHitHeader(result, sphereRadius, triangleNumber, te, sweepLength, kHitEdge);
    result.contactPoint = Add(K, Scale(dir, teStored));
    result.normal = T;
    result.centerAtContact = Q;
    result.slideDestination = edgeSlideDestination(T, sphereRadius, B, E);
    storeMovementAndCorners(result, triangle, S);
    result.edgeStart = A;
    result.edgeEnd = B;
}

int32_t EdgeInReach(Vec3 A, Vec3 B, Vec3 S, Vec3 dir) { return edgeInReach(edgeLine(A, B), S, dir); }

Vec3 ProjectOntoEdgeLine(Vec3 A, Vec3 B, Vec3 X) { return projectOntoEdgeLine(edgeLine(A, B), X); }

int32_t WithinEdgeSpan(Vec3 A, Vec3 B, Vec3 X) { return withinEdgeSpan(edgeLine(A, B), X); }

}  // namespace zep
