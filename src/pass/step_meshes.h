// The meshes one collide-and-slide step of an ellipsoid sweeps.
//
// An ellipsoid of a mover meets the mesh shapes of its pairs: every active
// partner body whose type a rule pairs with the mover's, and each of that
// body's shapes that a rule pairs with the ellipsoid, in pair order (partner
// bodies in body-list order, then each partner's shape order). A step sweeps
// them all and keeps the nearest hit. A mesh that the step cannot reach would
// find nothing there, so leaving it out changes no result.
#pragma once

#include <cstdint>

#include "base/vec3.h"

namespace zep {

struct EllipsoidShape;
struct MeshShape;
struct PartnerTable;
struct Pass;

struct StepMeshes {
    MeshShape* const* meshes = nullptr;
    int32_t count = 0;
};

// The memory a step's list is kept in, grown as needed.
struct MeshList {
    MeshShape** data = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;
};

// Lists the ellipsoid's meshes for a step from `from` to `to` (world). With
// a partner table only partners and meshes in reach are listed; without one,
// the plain path, every pair is. Valid until the next call with the same
// work. False when memory for the list runs out.
bool gatherStepMeshes(Pass& pass, EllipsoidShape& ellipsoid, const PartnerTable* table, Vec3 from, Vec3 to,
                      StepMeshes& out);

// True when the segment from `from` to `to` (world) crosses a triangle of
// one of the ellipsoid's meshes from its front (see sweep/crossing.h). Only
// the meshes a step along the segment reaches can hold such a triangle; if
// memory for that list runs out, every pair is asked instead.
bool segmentCrossesPairedMeshes(Pass& pass, EllipsoidShape& ellipsoid, const PartnerTable* table, Vec3 from,
                                Vec3 to);

// Frees the list's memory (at stop).
void releaseMeshList(MeshList& list);

}  // namespace zep
