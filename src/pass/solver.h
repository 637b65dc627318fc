// Collide and slide: moves one ellipsoid of a mover through all the meshes
// its pairs name, as one chain. Each step sweeps every mesh in reach and
// takes the nearest hit of all; the mover's list gains a contact per step.
#pragma once

namespace zep {

struct ChainMeshes;
struct EllipsoidShape;
struct Pass;

void solveEllipsoid(Pass& pass, EllipsoidShape* ellipsoid, const ChainMeshes& chain);

}  // namespace zep
