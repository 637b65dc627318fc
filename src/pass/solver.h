// Collide and slide: moves one ellipsoid of a mover through all the meshes
// its pairs name, as one chain. Each step sweeps every mesh in reach and
// takes the nearest hit of all; the mover's list gains a contact per step.
#pragma once

#include <cstdint>

namespace zep {

struct EllipsoidShape;
struct MeshShape;
struct PartnerTable;
struct Pass;

// Which meshes the chain's steps sweep. With a partner table only what each
// step can reach; without one, the plain path, every pair. A chain through
// one mesh alone serves the tests that compare with one chain per pair.
struct ChainMeshes {
    const PartnerTable* table = nullptr;
    MeshShape* onlyMesh = nullptr;
};

void solveEllipsoid(Pass& pass, EllipsoidShape* ellipsoid, const ChainMeshes& chain);

}  // namespace zep
