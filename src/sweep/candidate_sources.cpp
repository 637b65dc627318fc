#include "sweep/candidate_sources.h"

#include <algorithm>

#include "base/scratch.h"
#include "sweep/candidate_checks.h"
#include "sweep/mesh_frames.h"
#include "sweep/reach.h"
#include "sweep/reached_triangles.h"
#include "sweep/sweep_cache.h"
#include "sweep/tree_sweep.h"
#include "sweep/triangle_sweep.h"
#include "world/contact.h"
#include "world/mesh_index.h"
#include "world/object.h"

namespace zep {

namespace {

// True when a contact of the list already names triangle n of this mesh:
// the solver met it earlier in the slide and must not meet it again.
bool contactNamesTriangle(const Contact* first, const MeshShape* mesh, int32_t n) {
    for (const Contact* contact = first; contact; contact = contact->next)
        if (contact->triangleNumber == n && contact->meshShape == mesh) return true;
    return false;
}

// The mover's contacts with this mesh, from whichever list is shorter: the
// mover's own (a walker has a few) or the mesh's (a body of many ellipsoids
// against many meshes piles up contacts on the mover, one or two per mesh).
// On a thread of a split pass the mesh's list is another thread's too, and
// this pass's contacts are not on it yet: the mover's own.
bool collectNamedTriangles(SweepWork& work, const Contact* first, const MeshShape& mesh, NamedTriangles& out) {
    ScratchBuffer& buffer = work.scratch.contactNumbers;
    const CollisionBody* mover = first ? first->owner : nullptr;
    const bool fromMesh = mover && !work.sharedMeshes && mesh.referrerCount < mover->contactCount;
    int32_t* numbers = reserveScratch(buffer, fromMesh ? mesh.referrerCount : mover ? mover->contactCount : 0);
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
TriangleFrame keptTriangleFrame(FramedTriangle& entry, const TriangleCorners& stored, int32_t number, Vec3 radii, Vec3 S) {
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

// The cache's list holds more than this sweep's candidates: the triangles
// whose boxes meet the reach box are exactly the ones the tree would give.
// The reach meets their boxes four at once (the same bits as one at a
// time); each triangle is still checked and swept in list order, against
// the nearest hit so far.
void sweepCachedTriangles(SweepResult& result, SweepCache& cache, const CandidateChecks& checks) {
    for (int32_t first = 0; first < cache.count; first += kCachedBoxLanes) {
        const CachedBoxes& block = cache.boxes[first / kCachedBoxLanes];
        double entries[kCachedBoxLanes];
        checks.reach.entries(block.lo, block.hi, entries);
        const int32_t lanes = std::min(kCachedBoxLanes, cache.count - first);
        for (int32_t lane = 0; lane < lanes; ++lane) {
            if (entries[lane] > 1.0) continue;
            CachedTriangle& entry = cache.entries[first + lane];
            const Box3 box{{block.lo[0][lane], block.lo[1][lane], block.lo[2][lane]},
                           {block.hi[0][lane], block.hi[1][lane], block.hi[2][lane]}};
            if (checks.skips(entry.place, box, entries[lane], result)) continue;
            sweepTriangle(result, checks.frame, keptTriangleFrame(entry.frame, *entry.stored, entry.place + 1,
                                                                  checks.radii, checks.frame.S));
        }
    }
}

// A mesh too small for a tree: the listed triangles its reach takes in, in
// order, checked further as a tree's candidates are. A tree-less gather
// would list exactly those whose boxes the reach meets, and the checks skip
// the rest anyway. The mesh's frames, when it has them (`frames` not null),
// hold the triangles' ellipsoid-space values.
void sweepUntreed(SweepResult& result, ReachedMemo& memo, const TriangleIndex& index, const SweepReach& setup,
                  FramedTriangle* frames, const CandidateChecks& checks) {
    // Without a tree every listed box waits in the tail.
    const ReachedTriangles reached = reachedTriangles(memo, setup, index.tailBoxes, index.listed);
    for (int32_t i = 0; i < reached.count; ++i) {
        const int32_t place = reached.triangles[i].place;
        if (checks.named.contains(place + 1) || checks.beyondNearest(reached.triangles[i].entry, result)) continue;
        const TriangleCorners& stored = placeCorners(index, place);
        sweepTriangle(result, checks.frame,
                      frames ? keptTriangleFrame(frames[place], stored, place + 1, checks.radii, checks.frame.S)
                             : makeTriangleFrame(stored, place + 1, checks.radii, checks.frame.S));
    }
}

}  // namespace

// The reference path: every triangle in list order.
void sweepEveryTriangle(SweepWork& work, SweepResult& result, const MeshShape& mesh, const SweepFrame& frame,
                        Vec3 radii, const Contact* firstContact) {
    // Looked up in a sorted list rather than by walking the contacts for
    // every triangle: a mover with a thousand contacts on a mesh of
    // thousands of triangles took seconds a sweep. Without memory for the
    // list, the walk.
    NamedTriangles named;
    const bool listed = collectNamedTriangles(work, firstContact, mesh, named);
    int32_t number = 0;
    for (const TriangleCorners& stored : mesh.triangles) {
        ++number;  // skipped triangles keep their place in the numbering
        if (listed ? named.contains(number) : contactNamesTriangle(firstContact, &mesh, number)) continue;
        sweepTriangle(result, frame, makeTriangleFrame(stored, number, radii, frame.S));
    }
}

// The indexed path: only the triangles within reach, still in list order
// with their list numbers. False when the reach cannot be bounded (values
// not finite or too large) or memory runs out; the caller then visits every
// triangle, which gives the same result.
bool sweepCandidates(SweepWork& work, SweepResult& result, MeshShape& mesh, SweepFrame frame, Vec3 start, Vec3 end,
                     Vec3 radii, const Contact* firstContact, StepCacheHolder* holder) {
    if (!meshIndexReady(work, mesh) || !mesh.allFinite) return false;
    const TriangleIndex& index = *mesh.index;
    const Vec3 M = mesh.header.body ? mesh.header.body->currentPosition : Vec3{};
    const Vec3 from = Subtract(start, M), to = Subtract(end, M);
    const SweepReach* setup = sweepReachFor(work.reach, from, to, radii, frame.sphereRadius, mesh.bounds);
    if (!setup) return false;
    const SweptBox& reach = setup->reach;
    NamedTriangles named;
    if (!collectNamedTriangles(work, firstContact, mesh, named)) return false;
    frame.pruneFarFeatures = true;
    frame.featureReach = setup->features;
    const CandidateChecks checks{frame, named, setup->filter, reach, radii};
    // Small meshes have no tree and nothing worth keeping.
    if (index.tree.boxCount == 0 && index.listed <= kMostReachedBoxes) {
        MeshFrames* frames = slotFrames(work, mesh);
        sweepUntreed(result, work.reached, index, *setup, frames ? framesFor(*frames, index.listed, radii) : nullptr,
                     checks);
        return true;
    }
    if (SweepCache* cache = holder ? takeStepCache(*holder, work, index, radii, reach) : nullptr) {
        sweepCachedTriangles(result, *cache, checks);
        return true;
    }
    return sweepTreeCandidates(result, index, checks, work.scratch.places);
}

}  // namespace zep
