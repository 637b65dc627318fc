// The sweep of an ellipsoid against one triangle mesh.
//
// Positions move into the mesh's ellipsoid space (relative to the mesh body,
// divided by the radii), where the ellipsoid is a sphere of sphereRadius. Each
// triangle is met with its face first and, when the face does not settle it,
// with its corners and edges. The nearest hit ends up in mesh->sweepResult.
#pragma once

#include <optional>

#include "base/vec3.h"
#include "sweep/sweep_work.h"
#include "world/shapes.h"
#include "world/sweep_records.h"

namespace zep {

struct Contact;
struct StepCacheHolder;

// Replaces mesh->sweepResult with the result of sweeping from start to end
// (world positions) and returns it. Triangles whose number a contact of
// firstContact's list already names for this mesh are left out. Returns
// nullptr, with mesh->sweepResult null, when there is no mesh or the record
// cannot be made. A cache, when given, is the sweeping ellipsoid's own for
// the step: it saves work between sweeps and never changes a result. A
// limit, when given and shorter than the movement, is the travel of a hit
// already found in another mesh: only hits at or before it are taken, so
// that sweeping the meshes one after another keeps the nearest hit of all,
// the later mesh winning a tie as a later triangle does.
// `work` is the sweeps' working state (buffers and memos). With
// work.sharedMeshes the result goes to one of the work's own records
// instead, and the mesh's record is not touched: the record of the latest
// sweep that found a hit stays valid through the next sweep.
SweepResult* SweepMesh(SweepWork& work, MeshShape* mesh, Vec3 start, Vec3 end, Vec3 radii, float sphereRadius,
                       const Contact* firstContact, StepCacheHolder* cache = nullptr,
                       std::optional<float> limit = std::nullopt);

}  // namespace zep
