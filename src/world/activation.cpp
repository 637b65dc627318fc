#include "world/activation.h"

#include <algorithm>
#include <iterator>

#include "base/allocation.h"
#include "base/intrusive_list.h"
#include "world/world.h"

namespace zep {

namespace {

void unlinkActivation(World& world, ActivationEntry* entry) {
    // Moving the cursor first lets a host walk deactivate or free the very
    // object it was just handed.
    if (world.stackCursor == entry) world.stackCursor = entry->next;
    world.activationTable[uint32_t(entry->object->objectNumber)] = nullptr;
    listUnlink(world.activationListHead, world.activationListTail, entry);
}

}  // namespace

void removeActivation(World& world, int32_t number) {
    ActivationEntry* entry = world.activationTable[uint32_t(number)];
    if (!entry) return;
    unlinkActivation(world, entry);
    freeRecord(entry);
}

void activateObject(World& world, CollisionObject* object) {
    ActivationEntry* entry = makeRecord<ActivationEntry>();
    if (!entry) return;
    entry->object = object;
    if (!world.activationListHead)
        std::fill(std::begin(world.activationTable), std::end(world.activationTable), nullptr);
    removeActivation(world, object->objectNumber);
    world.activationTable[uint32_t(object->objectNumber)] = entry;
    listAppend(world.activationListHead, world.activationListTail, entry);
    object->body->active = 1;
}

void deactivateObject(World& world, CollisionObject* object) {
    removeActivation(world, object->objectNumber);
    object->body->active = 0;
}

void resetStack(World& world) { world.stackCursor = world.activationListHead; }

int32_t peekStack(World& world) {
    if (!world.stackCursor) return 0;
    const int32_t number = world.stackCursor->object->objectNumber;
    world.stackCursor = world.stackCursor->next;
    return number;
}

}  // namespace zep
