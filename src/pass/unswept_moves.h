// Guards on the moves of a collide-and-slide step that no sweep covers.
//
// A sweep only checks the straight path it is given. Two moves of a chain
// are not such paths: a face met embedded pushes the centre out along its
// normal, and a leg that begins after a crease slide is swept with the
// triangles met earlier in the pass left out. Either can carry the centre
// through a triangle from its front, or deep into one met earlier in the
// pass; these checks hold the mover instead.
#pragma once

#include "base/vec3.h"

namespace zep {

struct ChainMeshes;
struct Contact;
struct EllipsoidShape;
struct MeshShape;
struct Pass;
struct SweepResult;

// The contact of one step of the chain from `start` toward `end`: the
// step's nearest hit (in `mesh`) appended to the mover's list in world
// units, with the guards applied. nullptr when the chain ends here: no hit,
// a leg through or deep into a met triangle (the mover rests), or no memory
// for the contact (the mover keeps what it has so far).
Contact* guardedStepContact(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, const SweepResult* hit,
                            MeshShape* mesh, Vec3 start, Vec3 end, int& pushOuts);

}  // namespace zep
