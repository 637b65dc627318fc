// The legs of a character's move. Each leg is one chain of the solver, with
// all its rules, run on its own: it meets again what an earlier leg of the
// pass met (a fall after a walk along the floor must meet that floor), and
// its contacts join the character's list after it.
#pragma once

#include "base/vec3.h"

namespace zep {

struct CharacterRecord;
struct ChainMeshes;
struct Contact;
struct EllipsoidShape;
struct Pass;

// Where the walk may go: steep faces are walls to it, and so is an edge or
// corner that rises more than the step offset above the plane of the
// ground the character stands on (or, in the air, that lies beside or
// above it rather than below).
struct WalkLimits {
    Vec3 radii;  // the character's ellipsoid's
    double walkableCos = 0.0;
    float stepOffset = 0.0f;
    bool onGround = false;
    Vec3 basePoint;  // a point of the ground's plane, world
    Vec3 baseNormal;
};

// An edge or corner the character rests on while it climbs a step: below
// it, risen above the ground's plane (a ledge it walks off has not), by no
// more than the step offset.
bool isStepEdge(const Contact& contact, const WalkLimits& limits);

// The kinds of leg: a walk (horizontal, within WalkLimits), a fall that
// stops on walkable ground instead of creeping down it, and a free leg (the
// carry, a rise, a jump) with the plain slide.
enum class LegKind { kWalk, kFall, kFree };

struct Leg {
    LegKind kind = LegKind::kFree;
    const WalkLimits* limits = nullptr;  // for kWalk and kFall (its walkableCos)
};

// Runs the leg from `start` toward `end`; returns where it ended. The leg's
// first contact, if it made any, goes to *first.
Vec3 runLeg(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, const Leg& leg, Vec3 start, Vec3 end,
            Contact** first);

}  // namespace zep
