#include "sweep/triangle_sweep.h"

#include "sweep/edge_vertex_tests.h"
#include "sweep/hit_record.h"

namespace zep {

namespace {

// Where the sphere first touches the triangle's plane.
struct PlaneContact {
    double d = 0.0;  // travel along dir; kept in double for the comparisons
    double hitTime = 0.0;
    Vec3 centre;
    Vec3 contact;
};

enum class PlaneOutcome {
    kSkipTriangle,      // the triangle cannot be met
    kCornersAndEdges,   // overlapping the plane but moving off it: no face test
    kFaceCandidate,     // the plane is met; see whether inside the triangle
};

PlaneOutcome meetPlane(const SweepFrame& frame, const TriangleFrame& tri, PlaneContact& out) {
    const float r = frame.sphereRadius;
    const double denom = Dot(tri.N, frame.dir);
    // Asked as "not moving toward the plane", so that a NaN denominator (a
    // non-finite move) is treated as approaching, like any other value that
    // fails the test.
    const bool notMovingTowardPlane = denom >= 0.0;
    if (tri.dist < r) {
        // Embedded: push the centre out along N to r in front of the plane.
        if (notMovingTowardPlane) return PlaneOutcome::kCornersAndEdges;
        out.d = 0.0;
        out.hitTime = 0.0;
        out.centre = Add(frame.S, Scale(tri.N, double(r) - double(tri.dist)));
    } else {
        if (notMovingTowardPlane) return PlaneOutcome::kSkipTriangle;
        // The point of the sphere nearest to the plane travels to it.
        const Vec3 P = Subtract(frame.S, Scale(tri.N, r));
        out.d = std::fabs(Dot(Subtract(P, tri.A), tri.N) / denom);
        out.hitTime = out.d / double(frame.sweepLength);
        out.centre = Add(frame.S, Scale(frame.dir, out.d));
    }
    out.contact = Subtract(out.centre, tri.N);
    return PlaneOutcome::kFaceCandidate;
}

void recordFaceHit(SweepResult& result, const SweepFrame& frame, const TriangleFrame& tri,
                   const PlaneContact& hit) {
    storeHitHeader(result, frame.sphereRadius, tri.number, hit.d, frame.sweepLength, kHitFace);
    result.hitTime = float(hit.hitTime);  // embedded it is 0 whatever the length, a NaN one too
    result.contactPoint = hit.contact;
    result.normal = tri.N;
    result.centerAtContact = hit.centre;
    // E moved along N onto the sliding plane: the triangle's plane moved r
    // along N, where the centre stays while it slides.
    const Vec3 lowered = Subtract(frame.E, Scale(tri.N, frame.sphereRadius));
    const double k = Dot(tri.N, Subtract(tri.A, lowered));
    result.slideDestination = Add(frame.E, Scale(tri.N, k));
    storeMovementAndCorners(result, *tri.stored, frame.S);
}

void testCornersAndEdges(SweepResult& result, const SweepFrame& frame,
                         const TriangleFrame& tri) {
    const Vec3* corners[3] = {&tri.A, &tri.B, &tri.C};
    const bool prune = frame.pruneFarFeatures;
    bool cornerInReach[3] = {true, true, true};
    for (int i = 0; i < 3; ++i) {
        if (prune) cornerInReach[i] = frame.featureReach.reachesCorner(*corners[i]);
        if (!cornerInReach[i]) continue;
        TestVertex(result, *tri.stored, tri.number, frame.sphereRadius, frame.sweepLength, *corners[i],
                   frame.dir, frame.S, frame.E);
    }
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        const Vec3 first = *corners[i];
        const Vec3 second = *corners[j];
        // An edge with a corner in reach is in reach; only an edge whose
        // corners are both out of reach may still pass near the path.
        if (!cornerInReach[i] && !cornerInReach[j] && !frame.featureReach.reachesEdge(first, second)) continue;
        TestEdge(result, *tri.stored, tri.number, frame.sphereRadius, frame.sweepLength, first,
                 second, Subtract(first, second), frame.dir, frame.S, frame.E);
    }
}

}  // namespace

bool PointInTriangle(Vec3 P, Vec3 A, Vec3 B, Vec3 C, Vec3 N) {
    const Vec3 from[3] = {A, B, C};
    const Vec3 to[3] = {B, C, A};
    for (int i = 0; i < 3; ++i) {
        const double value = Dot(Cross(Subtract(to[i], from[i]), Subtract(P, from[i])), N);
        // On an edge's line (0) passes; NaN fails.
        if (!(value >= 0.0)) return false;
    }
    return true;
}

TriangleFrame makeTriangleFrame(const TriangleCorners& stored, int32_t number, Vec3 radii,
                                Vec3 S) {
    TriangleFrame tri;
    tri.stored = &stored;
    tri.number = number;
    tri.A = DivideComponents(stored.corner1, radii);
    tri.B = DivideComponents(stored.corner2, radii);
    tri.C = DivideComponents(stored.corner3, radii);
    tri.N = normalized(Cross(Subtract(tri.B, tri.A), Subtract(tri.C, tri.A)));
    tri.dist = float(Dot(Subtract(S, tri.A), tri.N));
    return tri;
}

void sweepTriangle(SweepResult& result, const SweepFrame& frame, const TriangleFrame& tri) {
    // On or behind the plane (or no plane at all): nothing of it is met.
    if (!(tri.dist > 0.0f)) return;
    PlaneContact hit;
    const PlaneOutcome outcome = meetPlane(frame, tri, hit);
    if (outcome == PlaneOutcome::kSkipTriangle) return;
    if (outcome == PlaneOutcome::kFaceCandidate) {
        // A plane beyond the nearest hit hides its corners and edges too.
        if (hit.d > double(result.nearestDistance)) return;
        if (PointInTriangle(hit.contact, tri.A, tri.B, tri.C, tri.N)) {
            recordFaceHit(result, frame, tri, hit);
            return;
        }
    }
    testCornersAndEdges(result, frame, tri);
}

double planeGate(const SweepFrame& frame, const TriangleFrame& tri) {
    PlaneContact plane;
    if (!(tri.dist > 0.0f) || meetPlane(frame, tri, plane) != PlaneOutcome::kFaceCandidate) return 0.0;
    return plane.d;
}

}  // namespace zep
