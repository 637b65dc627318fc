#include "world/object.h"

#include <algorithm>
#include <iterator>

#include "base/allocation.h"
#include "base/intrusive_list.h"
#include "world/activation.h"
#include "world/character.h"
#include "world/contact.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zep {

CollisionObject* objectAt(const World& world, int32_t number) { return world.objectTable[uint32_t(number)]; }

CollisionBody* createBody(World& world, int32_t number) {
    CollisionBody* body = makeRecord<CollisionBody>();
    if (!body) return nullptr;
    body->objectNumber = number;
    listAppend(world.bodyListHead, world.bodyListTail, body);
    return body;
}

void destroyBody(World& world, CollisionBody* body) {
    while (body->shapesHead) destroyShape(body->shapesHead);
    listUnlink(world.bodyListHead, world.bodyListTail, body);
    clearContacts(body);
    freeKeptRecords(body->spareContacts);
    freeCharacter(*body);
    freeRecord(body);
}

void createObject(World& world, int32_t number, int32_t collisionType) {
    // Make both records before touching any list, so running out of memory
    // leaves the old object (if any) exactly as it was.
    CollisionObject* object = makeRecord<CollisionObject>();
    if (!object) return;
    object->objectNumber = number;
    object->body = createBody(world, number);
    if (!object->body) {
        freeRecord(object);
        return;
    }
    if (!world.objectListHead) std::fill(std::begin(world.objectTable), std::end(world.objectTable), nullptr);
    if (CollisionObject* old = objectAt(world, number)) removeObject(world, old);
    world.objectTable[uint32_t(number)] = object;
    listAppend(world.objectListHead, world.objectListTail, object);
    if (collisionType != 0) object->body->collisionType = collisionType;
}

void removeObject(World& world, CollisionObject* object) {
    removeActivation(world, object->objectNumber);
    if (object->body) destroyBody(world, object->body);
    world.objectTable[uint32_t(object->objectNumber)] = nullptr;
    listUnlink(world.objectListHead, world.objectListTail, object);
    freeRecord(object);
}

void moveObject(CollisionObject* object, Vec3 position) {
    CollisionBody* body = object->body;
    body->previousPosition = body->currentPosition;
    body->currentPosition = position;
    if (body->placements < 2) ++body->placements;
}

}  // namespace zep
