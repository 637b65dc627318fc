// Where a mesh sweep takes its triangles from. The reference path visits
// every triangle in list order; the indexed path visits only those within
// the sweep's reach, from one of three sources: the ellipsoid's own cache
// (sweep/sweep_cache.h), the mesh's box tree (sweep/tree_sweep.h), or, for a
// mesh too small for a tree, the triangles its reach takes in
// (sweep/reached_triangles.h). Each source hands its triangles to the same
// exact tests in list order where the order decides, so every source gives
// the reference path's result.
#pragma once

#include "base/vec3.h"
#include "sweep/sweep_frame.h"
#include "sweep/sweep_work.h"
#include "world/shapes.h"
#include "world/sweep_records.h"

namespace zep {

struct Contact;
struct StepCacheHolder;

// The reference path. Triangles whose number a contact of firstContact's
// list names for this mesh are left out (they keep their numbers).
void sweepEveryTriangle(SweepWork& work, SweepResult& result, const MeshShape& mesh, const SweepFrame& frame,
                        Vec3 radii, const Contact* firstContact);

// The indexed path, from the source that serves this sweep; `holder` (the
// ellipsoid's cache for the step) may be null. False when the reach cannot
// be bounded (values not finite or too large) or memory runs out; the caller
// then takes the reference path, which gives the same result.
bool sweepCandidates(SweepWork& work, SweepResult& result, MeshShape& mesh, SweepFrame frame, Vec3 start, Vec3 end,
                     Vec3 radii, const Contact* firstContact, StepCacheHolder* holder);

}  // namespace zep
