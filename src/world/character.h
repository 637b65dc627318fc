// A character: a mover whose pass follows the character rules (walk and
// fall apart, a slope limit on the face normal, steps, snapping to the
// floor, riding platforms) instead of the plain collide-and-slide. Its
// settings, and what its last pass found, which the character queries read.
// Owned by its body.
#pragma once

#include <cstdint>

#include "base/vec3.h"

namespace zep {

struct CollisionBody;

enum CharacterGround : int32_t {
    kInAir = 0,
    kOnWalkableGround = 1,
    kOnSteepGround = 2,
};

enum CharacterTouch : int32_t {
    kTouchedBelow = 1,
    kTouchedSides = 2,
    kTouchedAbove = 4,
};

struct CharacterRecord {
    // Settings. A face is walkable when its unit normal's y is at least
    // walkableCos, the cosine of the slope limit.
    float slopeLimitDegrees = 45.0f;
    double walkableCos = 0.0;
    float stepOffset = 0.0f;
    float snapDistance = 0.0f;
    // What the last pass found: the ground state, the ground triangle's
    // unit face normal, the object it belongs to (0 in the air), what was
    // touched, and where the ground's body stood in that pass (for carrying
    // the character when it moves before the next).
    int32_t ground = kInAir;
    Vec3 groundNormal;
    int32_t groundObject = 0;
    int32_t touched = 0;
    Vec3 groundBodyPosition;
    // The plane steps rise from: the walkable ground last stood on (world),
    // kept while the character climbs the edge of a step.
    Vec3 stepBasePoint;
    Vec3 stepBaseNormal;
    // Where the pass left the character; written back with the other movers.
    Vec3 endOfPass;
};

// Makes the body a character with these settings (checked by the caller),
// or changes them; false when memory runs out, with the body as it was.
bool setCharacter(CollisionBody& body, float slopeLimitDegrees, float stepOffset, float snapDistance);
void freeCharacter(CollisionBody& body);

}  // namespace zep
