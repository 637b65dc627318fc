#include "world/system.h"

#include "base/allocation.h"
#include "world/object.h"
#include "world/rules.h"

namespace zep {

uint64_t passesRun = 0;

CollisionSystem* collisionSystem = nullptr;

void startSystem() {
    if (collisionSystem) return;
    collisionSystem = makeRecord<CollisionSystem>();
}

void stopSystem() {
    while (objectListHead) removeObject(objectListHead);
    if (!collisionSystem) return;
    while (bodyListHead) destroyBody(bodyListHead);
    freeAllRules();
    freeRecord(collisionSystem);
    collisionSystem = nullptr;
}

}  // namespace zep
