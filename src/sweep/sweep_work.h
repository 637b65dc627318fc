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

namespace zep {

struct SweepWork {
    Scratch scratch;
    IndexVersions indexVersions;
    // The number of the pass the sweeps run in: an ellipsoid's cache tells
    // a wish noted in an earlier pass by it.
    uint64_t passNumber = 0;
    // The plain reference path (see World::plainPath), as the pass was told.
    bool plainPath = false;
    FrameMemo frame;
    ReachMemo reach;
    ReachedMemo reached;
};

// Frees the buffers and forgets the memos (at stop).
void releaseSweepWork(SweepWork& work);

}  // namespace zep
