#include "world/system.h"

#include "base/allocation.h"
#include "world/world.h"

namespace zep {

bool isStarted(const World& world) { return world.collisionSystem != nullptr; }

void startSystem(World& world) {
    if (world.collisionSystem) return;
    world.collisionSystem = makeRecord<CollisionSystem>();
}

void stopSystem(World& world) {
    while (world.objectListHead) removeObject(world, world.objectListHead);
    if (!world.collisionSystem) return;
    while (world.bodyListHead) destroyBody(world, world.bodyListHead);
    freeAllRules(world);
    freeRecord(world.collisionSystem);
    world.collisionSystem = nullptr;
}

}  // namespace zep
