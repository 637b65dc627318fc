#include "world/character.h"

#include <cmath>

#include "base/allocation.h"
#include "world/object.h"

namespace zep {

bool setCharacter(CollisionBody& body, float slopeLimitDegrees, float stepOffset, float snapDistance) {
    if (!body.character) body.character = makeRecord<CharacterRecord>();
    if (!body.character) return false;
    CharacterRecord& c = *body.character;
    c.slopeLimitDegrees = slopeLimitDegrees;
    c.walkableCos = std::cos(double(slopeLimitDegrees) * (M_PI / 180.0));
    c.stepOffset = stepOffset;
    c.snapDistance = snapDistance;
    return true;
}

void freeCharacter(CollisionBody& body) {
    freeRecord(body.character);
    body.character = nullptr;
}

}  // namespace zep
