// Guards on the moves of a collide-and-slide step that no sweep covers.
//
// A sweep only checks the straight path it is given. Two moves of a chain
// are not such paths: a face met embedded pushes the centre out along its
// normal, and a leg that begins after a crease slide is swept with the
// triangles met earlier in the pass left out. Either can carry the centre
// through a triangle from its front; these checks hold the mover instead.
#pragma once

#include "base/vec3.h"

namespace zep {

struct ChainMeshes;
struct CollisionBody;
struct Contact;
struct EllipsoidShape;
struct Pass;

// True when the leg from `start` to `legEnd` (world) crosses the triangle of
// any contact in the mover's list (contacts whose mesh is gone are passed
// over).
bool legCrossesMetTriangle(const CollisionBody& mover, Vec3 start, Vec3 legEnd);

// When a leg crosses so, ends the chain: the mover rests at its last
// contact's centre, and the answer is true.
bool restsBeforeMetTriangle(CollisionBody& mover, Vec3 start, Vec3 legEnd);

// True when a contact in world units, made by a step from `start`, pushed
// the centre out of an embedded face by more than rounding makes.
bool isPushOut(const Contact& contact, Vec3 start, Vec3 radii);

// Meets the face of such a contact where the step started instead.
void meetFaceAtStart(Contact& contact, Vec3 start);

// The push-out rule of a chain: the call's first push out is made unless it
// crosses a triangle of the chain's meshes, later ones never (a mover
// squeezed between surfaces would be thrown along a chain of them).
// `pushOuts` counts the call's push outs so far.
void holdUncheckedPushOut(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, Contact& contact,
                          Vec3 start, int& pushOuts);

}  // namespace zep
