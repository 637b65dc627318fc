// The sweeps' working state: what they keep from one call to the next.
//
// Nothing here is part of a result. The buffers only save allocations; the
// memos only save work: each hands back what it computed last while the
// next question is the same to the bit (the meshes of one body share its
// position and usually hold copies of the same triangles, so the sweeps of
// one step ask the same mesh after mesh). Owned by the pass's working state,
// alive from the first sweep to the library's stop.
#pragma once

#include <cstdint>

#include "base/scratch.h"
#include "index/triangle_index.h"
#include "sweep/reach.h"
#include "sweep/reached_triangles.h"
#include "sweep/triangle_sweep.h"
#include "world/sweep_records.h"

namespace zep {

struct MeshShape;

struct SweepWork {
    Scratch scratch;
    IndexVersions indexVersions;
    // The number of the pass the sweeps run in: an ellipsoid's cache tells
    // a wish noted in an earlier pass by it.
    uint64_t passNumber = 0;
    // The plain reference path (see World::plainPath), as the pass was told.
    bool plainPath = false;
    // Set while the pass runs its movers on several threads, each with its
    // own SweepWork. The meshes are then only read: their indexes were
    // brought up to date before the split, the sweeps write this work's own
    // results instead of the mesh's record, and a mesh's kept frames are
    // the ones of this work's thread slot.
    bool sharedMeshes = false;
    int32_t threadSlot = 0;  // 0: the host's thread
    SweepResult ownResults[2];
    int32_t nextOwnResult = 0;
    FrameMemo frame;
    ReachMemo reach;
    ReachedMemo reached;
};

// Frees the buffers and forgets the memos (at stop).
void releaseSweepWork(SweepWork& work);

// Whether the sweeps may use the mesh's index: brought up to date here, or
// on a thread of a split pass (where that was done before the split) only
// looked at. False: the sweep visits every triangle (the same result).
bool meshIndexReady(SweepWork& work, MeshShape& mesh);

// The kept frames of the mesh that this work's thread slot uses; nullptr
// when that slot has none.
MeshFrames* slotFrames(const SweepWork& work, MeshShape& mesh);

}  // namespace zep
