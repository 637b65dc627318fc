// The meshes one collide-and-slide step of an ellipsoid sweeps, and the
// step's sweep of them.
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

struct CollisionBody;
struct Contact;
struct EllipsoidShape;
struct MeshShape;
struct PartnerTable;
struct Pass;
struct SweepResult;

// Which meshes the chain's steps sweep. With a partner table only what each
// step can reach; without one, the plain path, every pair. A chain through
// one mesh alone serves the tests that compare with one chain per pair.
struct ChainMeshes {
    const PartnerTable* table = nullptr;
    MeshShape* onlyMesh = nullptr;
    // A body the chain passes over: the platform a character is carried by.
    const CollisionBody* skip = nullptr;
};


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

// One step from `start` to `end` (world): every mesh of the chain the step
// can reach, each sweep taking only hits no farther than the nearest so far,
// so that the last mesh with a hit holds the nearest of all; that mesh goes
// to `hitMesh`. nullptr when nothing is hit. Memory running out for the
// list or for a mesh's sweep marks the mover passIncomplete (for the list,
// the chain ends as with a step that finds nothing).
const SweepResult* sweepStep(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, Vec3 start, Vec3 end,
                             const Contact* firstContact, MeshShape** hitMesh);

// True when the segment from `from` to `to` (world) crosses a triangle of
// one of the chain's meshes from its front (see sweep/crossing.h). Only the
// meshes a step along the segment reaches can hold such a triangle; if
// memory for that list runs out, every pair is asked instead.
bool chainCrossedBy(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, Vec3 from, Vec3 to);

// Frees the list's memory (at stop).
void releaseMeshList(MeshList& list);

}  // namespace zep
