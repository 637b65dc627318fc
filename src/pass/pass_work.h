// The pass's working state: what the collision passes keep from one to the
// next to save allocations and work. Nothing in it is part of a result.
// Owned by the command layer, alive from the first pass to the library's
// stop, which releases it.
#pragma once

#include "pass/broad_phase.h"
#include "pass/step_meshes.h"
#include "sweep/sweep_work.h"

namespace zep {

struct PassWork {
    PartnerTable partners;  // this pass's meetable bodies, rebuilt by every pass
    MeshList stepMeshes;    // the meshes of the current slide step
    SweepWork sweep;
};

// Frees everything it holds, so a stopped or unloaded library holds nothing.
void releasePassWork(PassWork& work);

}  // namespace zep
