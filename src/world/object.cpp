#include "world/object.h"

#include <algorithm>
#include <iterator>

#include "base/allocation.h"
#include "base/intrusive_list.h"
#include "world/activation.h"
#include "world/contact.h"
#include "world/shapes.h"

namespace zep {

CollisionObject* objectTable[kObjectTableSize] = {};
CollisionObject* objectListHead = nullptr;
CollisionObject* objectListTail = nullptr;
CollisionBody* bodyListHead = nullptr;
CollisionBody* bodyListTail = nullptr;

CollisionBody* createBody(int32_t number) {
    CollisionBody* body = makeRecord<CollisionBody>();
    if (!body) return nullptr;
    body->objectNumber = number;
    listAppend(bodyListHead, bodyListTail, body);
    return body;
}

void destroyBody(CollisionBody* body) {
    while (body->shapesHead) destroyShape(body->shapesHead);
    listUnlink(bodyListHead, bodyListTail, body);
    clearContacts(body);
    freeRecord(body);
}

void createObject(int32_t number, int32_t collisionType) {
    // Make both records before touching any list, so running out of memory
    // leaves the old object (if any) exactly as it was.
    CollisionObject* object = makeRecord<CollisionObject>();
    if (!object) return;
    object->objectNumber = number;
    object->body = createBody(number);
    if (!object->body) {
        freeRecord(object);
        return;
    }
    if (!objectListHead) std::fill(std::begin(objectTable), std::end(objectTable), nullptr);
    if (CollisionObject* old = objectAt(number)) removeObject(old);
    objectTable[uint32_t(number)] = object;
    listAppend(objectListHead, objectListTail, object);
    if (collisionType != 0) object->body->collisionType = collisionType;
}

void removeObject(CollisionObject* object) {
    removeActivation(object->objectNumber);
    if (object->body) destroyBody(object->body);
    objectTable[uint32_t(object->objectNumber)] = nullptr;
    listUnlink(objectListHead, objectListTail, object);
    freeRecord(object);
}

void moveObject(CollisionObject* object, Vec3 position) {
    CollisionBody* body = object->body;
    body->previousPosition = body->currentPosition;
    body->currentPosition = position;
}

}  // namespace zep
