#include "sweep/mesh_sweep.h"


#include "base/allocation.h"
#include "sweep/candidate_sources.h"
#include "sweep/sweep_frame.h"
#include "world/object.h"

namespace zep {

namespace {

// Replaces the mesh's previous record with a fresh one; nullptr, with the
// mesh holding none, when memory runs out. The previous record's memory is
// made fresh in place (a heap round trip per sweep is a tenth of a crowd's
// pass), but a sweep still asks for memory, and fails, exactly as one that
// allocates anew.
SweepResult* replaceRecord(MeshShape& mesh) {
    if (mesh.sweepResult && mayRemake()) {
        *mesh.sweepResult = SweepResult{};
    } else if (mesh.sweepResult) {
        freeRecord(mesh.sweepResult);
        mesh.sweepResult = nullptr;
    } else {
        mesh.sweepResult = makeRecord<SweepResult>();
    }
    return mesh.sweepResult;
}

// On a thread of a split pass the mesh is shared: the sweep writes one of
// the work's own two records, the one the last hit did not take, so that a
// step's nearest hit so far (always the latest found) stays whole.
SweepResult* ownRecord(SweepWork& work) {
    SweepResult* result = &work.ownResults[work.nextOwnResult];
    *result = SweepResult{};
    return result;
}

SweepResult* freshRecord(SweepWork& work, MeshShape& mesh, float sphereRadius, Vec3 radii) {
    SweepResult* result = work.sharedMeshes ? ownRecord(work) : replaceRecord(mesh);
    if (!result) return nullptr;
    result->sphereRadius = sphereRadius;
    result->found = false;
    result->hitTime = 0.0f;
    result->radii = radii;
    return result;
}

}  // namespace

SweepResult* SweepMesh(SweepWork& work, MeshShape* mesh, Vec3 start, Vec3 end, Vec3 radii, float sphereRadius,
                       const Contact* firstContact, StepCacheHolder* cache, std::optional<float> limit) {
    if (!mesh) return nullptr;
    SweepResult* result = freshRecord(work, *mesh, sphereRadius, radii);
    if (!result) return nullptr;
    const Vec3 M = mesh->header.body ? mesh->header.body->currentPosition : Vec3{};
    const SweepFrame frame = sweepFrameFor(work.frame, M, start, end, radii, sphereRadius);
    // Nothing beyond the end of the movement is taken, nor beyond a hit
    // another mesh already gave.
    result->nearestDistance = frame.sweepLength;
    if (limit && *limit < frame.sweepLength) result->nearestDistance = *limit;
    if (work.plainPath || !sweepCandidates(work, *result, *mesh, frame, start, end, radii, firstContact, cache)) {
        // Every test asks for movement toward what it meets (along the path,
        // or toward a plane), so a sweep too short to have a direction meets
        // nothing: a mover parked far out (after a move of 1e30) would
        // otherwise scan the whole mesh on every pass. Far out a moving sweep
        // is not skipped: where floats no longer resolve a radius, no bound
        // holds on where the tests take their hits.
        if (work.plainPath || !isZero(frame.dir)) sweepEveryTriangle(work, *result, *mesh, frame, radii, firstContact);
    }
    if (work.sharedMeshes && result->found) work.nextOwnResult ^= 1;
    return result;
}

}  // namespace zep
