// Collide and slide: moves one ellipsoid of a mover through all the meshes
// its pairs name, as one chain. Each step sweeps every mesh in reach and
// takes the nearest hit of all; the mover's list gains a contact per step.
#pragma once

#include "base/vec3.h"

namespace zep {

struct ChainMeshes;
struct Contact;
struct EllipsoidShape;
struct Pass;

// What a chain's caller may add to the slide rules: after each step's
// response, `respond` may change the contact's slide (toward the step's
// `end`) and ends the chain by answering false. The character rules make
// walls of steep faces this way, and stop a fall on walkable ground.
struct ChainRules {
    bool (*respond)(Contact& contact, Vec3 end, const void* context) = nullptr;
    const void* context = nullptr;
};

// One chain from `start` toward `end` (world); returns where it ended.
Vec3 slideChain(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, Vec3 start, Vec3 end,
                const ChainRules& rules = {});

// The mover's chain for this ellipsoid: from where the mover was toward
// where it was sent (or where its earlier ellipsoids' chains corrected that).
void solveEllipsoid(Pass& pass, EllipsoidShape* ellipsoid, const ChainMeshes& chain);

}  // namespace zep
