// The pass's working state: what the collision passes keep from one to the
// next to save allocations and work. Nothing in it is part of a result.
// Owned by the command layer, alive from the first pass to the library's
// stop, which releases it.
#pragma once

#include "base/worker_pool.h"
#include "pass/broad_phase.h"
#include "pass/step_meshes.h"
#include "sweep/sweep_work.h"

namespace zep {

struct CollisionBody;
struct World;

struct PassWork {
    PartnerTable partners;  // this pass's meetable bodies, rebuilt by every pass
    MeshList stepMeshes;    // the meshes of the current slide step
    SweepWork sweep;
    // For the tests and the fuzzer: one chain per (ellipsoid, mesh) pair
    // instead of one per ellipsoid (the same results wherever an ellipsoid
    // meets a single mesh), and the most contacts one solver call has
    // appended since they last set it to 0. Every iteration of a call meets
    // a triangle its earlier ones did not, so the latter never exceeds the
    // mesh's triangle count.
    bool chainPerMesh = false;
    int64_t largestSolverCall = 0;
    // A pass split over threads: the threads (kept from the first split to
    // the stop), the working state of each thread slot after the host's
    // (kMostThreads - 1 of them, made with the threads), and the movers of
    // the pass in body order.
    WorkerPool* pool = nullptr;
    PassWork* slotWorks = nullptr;
    CollisionBody** movers = nullptr;
    int32_t moverCapacity = 0;
};

// One pass's view of the library's state: the world it moves and the
// working state it keeps, handed down together.
struct Pass {
    World& world;
    PassWork& work;
};

// Frees everything it holds, so a stopped or unloaded library holds nothing;
// the threads are ended and waited for.
void releasePassWork(PassWork& work);
// The same for a process that is ending: its threads are already gone, and
// nothing is waited for.
void abandonPassThreads(PassWork& work);

}  // namespace zep
