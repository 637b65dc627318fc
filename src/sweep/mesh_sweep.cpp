#include "sweep/mesh_sweep.h"

#include <algorithm>
#include <cmath>

#include "base/allocation.h"
#include "base/reference_path.h"
#include "base/same_bits.h"
#include "base/scratch.h"
#include "index/box_tree.h"
#include "index/triangle_index.h"
#include "sweep/edge_vertex_tests.h"
#include "sweep/mesh_frames.h"
#include "sweep/reach.h"
#include "sweep/reached_triangles.h"
#include "sweep/sweep_cache.h"
#include "world/contact.h"
#include "world/object.h"

namespace zep {

namespace {

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

// One triangle in ellipsoid space, with its place in the mesh.
struct TriangleFrame {
    const MeshTriangle* stored = nullptr;
    int32_t number = 0;
    Vec3 A;
    Vec3 B;
    Vec3 C;
    Vec3 N;  // unit normal, (0, 0, 0) when the corners lie on one line
    float dist = 0.0f;  // signed distance of S from the plane
};

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

SweepFrame frameAt(Vec3 M, Vec3 start, Vec3 end, Vec3 radii, float sphereRadius) {
    SweepFrame frame;
    frame.S = DivideComponents(Subtract(start, M), radii);
    frame.E = DivideComponents(Subtract(end, M), radii);
    const Vec3 move = Subtract(frame.E, frame.S);
    frame.sweepLength = float(std::sqrt((double(move.x) * move.x + double(move.y) * move.y) +
                                        double(move.z) * move.z));
    frame.dir = normalized(move);
    frame.sphereRadius = sphereRadius;
    return frame;
}

struct LastFrame {
    Vec3 M;
    Vec3 start;
    Vec3 end;
    Vec3 radii;
    float sphereRadius = 0.0f;
    bool valid = false;
    SweepFrame frame;

    bool asks(const Vec3& otherM, const Vec3& otherStart, const Vec3& otherEnd, const Vec3& otherRadii,
              float otherSphereRadius) const {
        return valid && sameBits(M, otherM) && sameBits(start, otherStart) && sameBits(end, otherEnd) &&
               sameBits(radii, otherRadii) && sameBits(sphereRadius, otherSphereRadius);
    }
};

LastFrame lastFrame;

// The meshes of one body share its position, so the sweeps of one step ask
// for the same frame mesh after mesh: the last one is kept, and handed back
// while the question stays the same to the bit.
const SweepFrame& makeFrame(const MeshShape& mesh, const Vec3& start, const Vec3& end, const Vec3& radii,
                            float sphereRadius) {
    const Vec3 M = mesh.header.body ? mesh.header.body->currentPosition : Vec3{};
    if (!lastFrame.asks(M, start, end, radii, sphereRadius)) {
        lastFrame = LastFrame{M, start, end, radii, sphereRadius, true, frameAt(M, start, end, radii, sphereRadius)};
    }
    return lastFrame.frame;
}

// True when a contact of the list already names triangle n of this mesh:
// the solver met it earlier in the slide and must not meet it again.
bool contactNamesTriangle(const Contact* first, const MeshShape* mesh, int32_t n) {
    for (const Contact* contact = first; contact; contact = contact->next)
        if (contact->triangleNumber == n && contact->meshShape == mesh) return true;
    return false;
}

TriangleFrame makeTriangleFrame(const MeshTriangle& stored, int32_t number, Vec3 radii,
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
    result.sphereRadius = frame.sphereRadius;
    result.found = true;
    result.hitTime = float(hit.hitTime);
    result.triangleNumber = tri.number;
    result.nearestDistance = float(hit.d);
    result.hitKind = kHitFace;
    result.contactPoint = hit.contact;
    result.normal = tri.N;
    result.centerAtContact = hit.centre;
    // E moved along N onto the sliding plane: the triangle's plane moved r
    // along N, where the centre stays while it slides.
    const Vec3 D = Subtract(frame.E, Scale(tri.N, frame.sphereRadius));
    const double k = Dot(tri.N, Subtract(tri.A, D));
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

// Replaces the mesh's previous record with a fresh one; nullptr, with the
// mesh holding none, when memory runs out. The previous record's memory is
// made fresh in place (a heap round trip per sweep is a tenth of a crowd's
// pass), but a sweep still asks for memory, and fails, exactly as one that
// allocates anew.
SweepResult* replaceRecord(MeshShape& mesh, float sphereRadius, Vec3 radii) {
    if (mesh.sweepResult && !allocationMustFail()) {
        *mesh.sweepResult = SweepResult{};
    } else if (mesh.sweepResult) {
        freeRecord(mesh.sweepResult);
        mesh.sweepResult = nullptr;
    } else {
        mesh.sweepResult = makeRecord<SweepResult>();
    }
    SweepResult* result = mesh.sweepResult;
    if (!result) return nullptr;
    result->sphereRadius = sphereRadius;
    result->found = false;
    result->hitTime = 0.0f;
    result->radii = radii;
    return result;
}

// The reference path: every triangle in list order.
void sweepEveryTriangle(SweepResult& result, const MeshShape& mesh, const SweepFrame& frame, Vec3 radii,
                        const Contact* firstContact) {
    int32_t number = 0;
    for (const MeshTriangle* stored = mesh.trianglesHead; stored; stored = stored->next) {
        ++number;  // skipped triangles keep their place in the numbering
        if (contactNamesTriangle(firstContact, &mesh, number)) continue;
        sweepTriangle(result, frame, makeTriangleFrame(*stored, number, radii, frame.S));
    }
}

// The numbers of the triangles of this mesh that the contacts already name,
// sorted, so that each candidate is looked up instead of walking the list.
struct NamedTriangles {
    const int32_t* numbers = nullptr;
    int32_t count = 0;
    bool contains(int32_t number) const { return std::binary_search(numbers, numbers + count, number); }
};

// The mover's contacts with this mesh, from whichever list is shorter: the
// mover's own (a walker has a few) or the mesh's (a body of many ellipsoids
// against many meshes piles up contacts on the mover, one or two per mesh).
bool collectNamedTriangles(const Contact* first, const MeshShape& mesh, NamedTriangles& out) {
    const CollisionBody* mover = first ? first->owner : nullptr;
    const bool fromMesh = mover && mesh.referrerCount < mover->contactCount;
    int32_t* numbers = scratchContactNumbers(fromMesh ? mesh.referrerCount : mover ? mover->contactCount : 0);
    if (!numbers) return false;
    out.count = 0;
    if (fromMesh) {
        for (const Contact* contact = mesh.referrersHead; contact; contact = contact->referrerNext)
            if (contact->owner == mover) numbers[out.count++] = contact->triangleNumber;
    } else {
        for (const Contact* contact = first; contact; contact = contact->next)
            if (contact->meshShape == &mesh) numbers[out.count++] = contact->triangleNumber;
    }
    std::sort(numbers, numbers + out.count);
    out.numbers = numbers;
    return true;
}

// A kept triangle's ellipsoid-space values (an entry of an ellipsoid's cache
// or of a small mesh's frames), computed on its first use and then read
// back: the same bits makeTriangleFrame gives.
template <class Entry>
TriangleFrame keptTriangleFrame(Entry& entry, const MeshTriangle& stored, int32_t number, Vec3 radii, Vec3 S) {
    if (!entry.framed) {
        const TriangleFrame tri = makeTriangleFrame(stored, number, radii, S);
        entry.A = tri.A;
        entry.B = tri.B;
        entry.C = tri.C;
        entry.N = tri.N;
        entry.framed = true;
        return tri;
    }
    TriangleFrame tri{&stored, number, entry.A, entry.B, entry.C, entry.N};
    tri.dist = float(Dot(Subtract(S, tri.A), tri.N));
    return tri;
}

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
    bool beyondNearest(double entry, const SweepResult& result) const {
        if (std::isnan(result.nearestDistance)) return false;  // every later hit would be taken
        const double nearest = std::max(0.0, double(result.nearestDistance));
        return entry * double(frame.sweepLength) > nearest * (1.0 + 2e-5) + 1e-5 + 0x1p-19 * reach.scaleInRadii;
    }
};

// The cache's list holds more than this sweep's candidates: the triangles
// whose boxes meet the reach box are exactly the ones the tree would give.
void sweepCachedTriangles(SweepResult& result, SweepCache& cache, const CandidateChecks& checks) {
    for (int32_t i = 0; i < cache.count; ++i) {
        CachedTriangle& entry = cache.entries[i];
        if (checks.skips(entry.place, entry.box, checks.reach.entry(entry.box), result)) continue;
        sweepTriangle(result, checks.frame,
                      keptTriangleFrame(entry, *entry.stored, entry.place + 1, checks.radii, checks.frame.S));
    }
}

// The travel at which the sweep meets the triangle's plane where its corners
// and edges are tested only once that plane is met within the nearest hit so
// far; 0 where nothing waits on the plane.
double planeGate(const SweepFrame& frame, const TriangleFrame& tri) {
    PlaneContact plane;
    if (!(tri.dist > 0.0f) || meetPlane(frame, tri, plane) != PlaneOutcome::kFaceCandidate) return 0.0;
    return plane.d;
}

// The nearest hit of the triangles a sweep has tested so far, each triangle
// swept alone from the sweep's own limit: the triangles that gave that very
// distance (their list places), the farthest plane their corners and edges
// waited on, and the nearest distance any other triangle gave.
struct NearestAlone {
    static constexpr int32_t kMostTied = 64;
    SweepResult best;
    bool found = false;
    int32_t tiedCount = 0;
    int32_t tied[kMostTied] = {};
    double gate = 0.0;
    float others = HUGE_VALF;

    // True when the hit the sweep takes in list order comes from the tied
    // triangles alone, run in list order. Swept alone, each triangle shows
    // every hit it could give, as no nearer hit hides any behind its plane;
    // in list order no hit of another triangle is as near, so none is taken
    // after theirs. But a triangle's corners and edges are tested in list
    // order only if its plane is met within the nearest hit before it, which
    // can be any hit of another triangle, or of one the walk left out as
    // beyond the nearest (those lie past it by the allowance of
    // beyondNearest, of which half is left for the rounding). Where a plane
    // is met past either (a grazing sweep, or an overlapped corner behind an
    // embedded plane), or too many triangles tie, the whole list decides.
    bool decided(double scaleInRadii) const {
        if (!found || std::isnan(best.nearestDistance) || tiedCount > kMostTied) return false;
        const double leftOut =
            std::max(0.0, double(best.nearestDistance)) * (1.0 + 1e-5) + 5e-6 + 0x1p-20 * scaleInRadii;
        return gate <= double(others) && gate <= leftOut;
    }

    void take(const SweepResult& alone, int32_t place, double planeMet) {
        if (found && alone.nearestDistance == best.nearestDistance) {
            if (tiedCount < kMostTied) tied[tiedCount] = place;
            ++tiedCount;
            gate = std::max(gate, planeMet);
            return;
        }
        if (found) others = std::min(others, best.nearestDistance);
        best = alone;
        found = true;
        tied[0] = place;
        tiedCount = 1;
        gate = planeMet;
    }
};

void sweepAlone(NearestAlone& nearest, SweepResult& alone, float limit, const SweepFrame& frame,
                const TriangleFrame& tri) {
    alone.found = false;
    alone.nearestDistance = limit;
    sweepTriangle(alone, frame, tri);
    if (!alone.found) return;
    if (nearest.found && alone.nearestDistance > nearest.best.nearestDistance) {
        nearest.others = std::min(nearest.others, alone.nearestDistance);
        return;
    }
    nearest.take(alone, tri.number - 1, alone.hitKind == kHitFace ? 0.0 : planeGate(frame, tri));
}

// Triangles that tie for the nearest hit: the list order decides between
// them, and they alone can give the sweep's hit (NearestAlone::decided).
void sweepTiedInListOrder(SweepResult& result, NearestAlone& nearest, const TriangleIndex& index,
                          const CandidateChecks& checks) {
    std::sort(nearest.tied, nearest.tied + nearest.tiedCount);
    for (int32_t i = 0; i < nearest.tiedCount; ++i) {
        const int32_t place = nearest.tied[i];
        sweepTriangle(result, checks.frame,
                      makeTriangleFrame(*index.triangles[place], place + 1, checks.radii, checks.frame.S));
    }
}

// The sweep as the list runs it: every triangle the path passes near, in
// list order, each left out only when it cannot reach the nearest hit so far.
bool sweepInListOrder(SweepResult& result, const TriangleIndex& index, const CandidateChecks& checks) {
    int32_t* places = scratchPlaces(index.listed);
    if (!places) return false;
    int32_t count = 0;
    visitBoxTreeAlong(
        index.tree, index.triangleBoxes, checks.reach, [](double) { return false; },
        [&](int32_t place, double) { places[count++] = place; });
    std::sort(places, places + count);
    for (int32_t place = index.tree.boxCount; place < index.listed; ++place) places[count++] = place;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t place = places[i];
        const Box3& box = index.triangleBoxes[place];
        if (checks.skips(place, box, checks.reach.entry(box), result)) continue;
        sweepTriangle(result, checks.frame,
                      makeTriangleFrame(*index.triangles[place], place + 1, checks.radii, checks.frame.S));
    }
    return true;
}

// A mesh too small for a tree: the listed triangles its reach takes in, in
// order, checked further as a tree's candidates are. A tree-less gather
// would list exactly those whose boxes the reach meets, and the checks skip
// the rest anyway. The mesh's frames, when it has them (`frames` not null),
// hold the triangles' ellipsoid-space values.
void sweepUntreed(SweepResult& result, const TriangleIndex& index, const SweepReach& setup,
                  FramedTriangle* frames, const CandidateChecks& checks) {
    const ReachedTriangles reached = reachedTriangles(setup, index.triangleBoxes, index.listed);
    for (int32_t i = 0; i < reached.count; ++i) {
        const int32_t place = reached.triangles[i].place;
        if (checks.named.contains(place + 1) || checks.beyondNearest(reached.triangles[i].entry, result)) continue;
        const MeshTriangle& stored = *index.triangles[place];
        sweepTriangle(result, checks.frame,
                      frames ? keptTriangleFrame(frames[place], stored, place + 1, checks.radii, checks.frame.S)
                             : makeTriangleFrame(stored, place + 1, checks.radii, checks.frame.S));
    }
}

// False when memory runs out. A sweep usually stops at its first hits, far
// short of its end (a shot, a teleport, a slide after a grazing landing), so
// it walks the tree from the start along the path, leaves out what the path
// enters past the nearest hit so far, and sweeps each triangle alone as it
// comes. Where that settles the hit (NearestAlone::decided) it is the
// sweep's; otherwise the sweep runs in list order.
bool sweepTreeCandidates(SweepResult& result, const TriangleIndex& index, const CandidateChecks& checks) {
    NearestAlone nearest{result};
    SweepResult alone = result;
    const auto testTriangle = [&](int32_t place, double entry) {
        if (checks.skips(place, index.triangleBoxes[place], entry, nearest.best)) return;
        sweepAlone(nearest, alone, result.nearestDistance, checks.frame,
                   makeTriangleFrame(*index.triangles[place], place + 1, checks.radii, checks.frame.S));
    };
    visitBoxTreeAlong(
        index.tree, index.triangleBoxes, checks.reach,
        [&](double entry) { return checks.beyondNearest(entry, nearest.best); }, testTriangle);
    // Triangles added since the tree was built are not in it yet.
    for (int32_t place = index.tree.boxCount; place < index.listed; ++place)
        testTriangle(place, checks.reach.entry(index.triangleBoxes[place]));
    if (!nearest.found) return true;  // what no triangle meets alone, the list does not meet
    if (!nearest.decided(checks.reach.scaleInRadii)) return sweepInListOrder(result, index, checks);
    if (nearest.tiedCount == 1)
        result = nearest.best;
    else
        sweepTiedInListOrder(result, nearest, index, checks);
    return true;
}

// The indexed path: only the triangles within reach, still in list order
// with their list numbers. False when the reach cannot be bounded (values
// not finite or too large) or memory runs out; the caller then visits every
// triangle, which gives the same result.
bool sweepCandidates(SweepResult& result, MeshShape& mesh, SweepFrame frame, Vec3 start, Vec3 end,
                     Vec3 radii, const Contact* firstContact, SweepCache* cache) {
    if (!refreshTriangleIndex(mesh) || !mesh.index->allFinite) return false;
    const TriangleIndex& index = *mesh.index;
    const Vec3 M = mesh.header.body ? mesh.header.body->currentPosition : Vec3{};
    const Vec3 from = Subtract(start, M), to = Subtract(end, M);
    const SweepReach* setup = sweepReachFor(from, to, radii, frame.sphereRadius, index.bounds);
    if (!setup) return false;
    const SweptBox& reach = setup->reach;
    NamedTriangles named;
    if (!collectNamedTriangles(firstContact, mesh, named)) return false;
    frame.pruneFarFeatures = true;
    frame.featureReach = setup->features;
    const CandidateChecks checks{frame, named, setup->filter, reach, radii};
    // Small meshes have no tree and nothing worth keeping.
    if (index.tree.boxCount == 0 && index.listed <= kMostReachedBoxes) {
        sweepUntreed(result, index, *setup, framesFor(mesh.frames, index.listed, radii), checks);
        return true;
    }
    if (cache && index.tree.boxCount > 0 &&
        (cacheCovers(*cache, index, radii, reach) || refillCache(*cache, index, radii, reach))) {
        sweepCachedTriangles(result, *cache, checks);
        return true;
    }
    return sweepTreeCandidates(result, index, checks);
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

SweepResult* SweepMesh(MeshShape* mesh, Vec3 start, Vec3 end, Vec3 radii, float sphereRadius,
                       const Contact* firstContact, SweepCache* cache, std::optional<float> limit) {
    if (!mesh) return nullptr;
    SweepResult* result = replaceRecord(*mesh, sphereRadius, radii);
    if (!result) return nullptr;
    const SweepFrame frame = makeFrame(*mesh, start, end, radii, sphereRadius);
    // Nothing beyond the end of the movement is taken, nor beyond a hit
    // another mesh already gave.
    result->nearestDistance = frame.sweepLength;
    if (limit && *limit < frame.sweepLength) result->nearestDistance = *limit;
    if (linearReference || !sweepCandidates(*result, *mesh, frame, start, end, radii, firstContact, cache)) {
        // A mover parked far out (a move of 1e30) would otherwise scan the
        // whole mesh on every pass.
        const Vec3 M = mesh->header.body ? mesh->header.body->currentPosition : Vec3{};
        Box3 bounds;
        const bool far = !linearReference && meshBounds(*mesh, bounds) &&
                         certainlyOutOfReach(Subtract(start, M), Subtract(end, M), radii, bounds);
        if (!far) sweepEveryTriangle(*result, *mesh, frame, radii, firstContact);
    }
    return result;
}

}  // namespace zep
