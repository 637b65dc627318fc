// A sweep over a mesh's box tree: the tree walked along the path, nearest
// first, each triangle swept alone, and the list order called on only where
// it decides.
#pragma once

#include "index/triangle_index.h"
#include "sweep/candidate_checks.h"
#include "sweep/triangle_sweep.h"

namespace zep {

// False when memory runs out. A sweep usually stops at its first hits, far
// short of its end (a shot, a teleport, a slide after a grazing landing), so
// it walks the tree from the start along the path, leaves out what the path
// enters past the nearest hit so far, and sweeps each triangle alone as it
// comes. Where that settles the hit (NearestAlone::decided) it is the
// sweep's; otherwise the sweep runs in list order, its candidates listed in
// `buffer`.
bool sweepTreeCandidates(SweepResult& result, const TriangleIndex& index, const CandidateChecks& checks,
                         ScratchBuffer& buffer);

}  // namespace zep
