// Collision objects by number, and their bodies.
//
// The host names objects by number (0 to 5000). objectTable maps a number to
// its object in constant time; objectList and bodyList keep creation order,
// which the collision pass makes visible: bodies are resolved in list order.
#pragma once

#include <cstdint>

#include "base/vec3.h"

namespace zep {

struct CollisionShape;
struct Contact;
struct CollisionBody;
struct World;

// Object numbers run from 0 to kMaxObjectNumber inclusive.
constexpr uint32_t kMaxObjectNumber = 5000;
constexpr int kObjectTableSize = int(kMaxObjectNumber) + 1;

struct CharacterRecord;

struct CollisionObject {
    CollisionObject* prev = nullptr;
    CollisionObject* next = nullptr;
    int32_t objectNumber = 0;
    CollisionBody* body = nullptr;  // owned
};

struct CollisionBody {
    CollisionShape* shapesHead = nullptr;
    CollisionShape* shapesTail = nullptr;
    int32_t objectNumber = 0;
    int32_t collisionType = 0;  // any value; only 0 to 300 can meet anything
    uint8_t active = 0;
    // How many times the host placed it (UpdateObjZEP), counted up to 2: one
    // placement leaves previousPosition at (0, 0, 0), so a pass sweeps the
    // body in from there. Read only by the warnings.
    uint8_t placements = 0;
    Contact* contactsHead = nullptr;  // contacts of the latest pass, owned
    Contact* contactsTail = nullptr;
    int32_t contactCount = 0;  // of that list
    // Contacts of earlier passes, kept for the next pass to reuse; owned.
    Contact* spareContacts = nullptr;
    int32_t spareCount = 0;
    Vec3 previousPosition;  // (0, 0, 0) until the first UpdateObjZEP
    Vec3 currentPosition;
    uint8_t processed = 0;  // set for each active body the pass visits; defined by the record, read by no command
    // Memory ran out in this pass before a sweep of the body's or one of its
    // contacts could be kept: what the pass found of its move is not whole,
    // so it stays where the pass found it.
    uint8_t passIncomplete = 0;
    // Set by SetCharacterZEP: the body moves by the character rules; owned.
    CharacterRecord* character = nullptr;
    CollisionBody* prev = nullptr;
    CollisionBody* next = nullptr;
};

// True when number (as unsigned) names a table entry.
inline bool objectNumberInRange(int32_t number) { return uint32_t(number) <= kMaxObjectNumber; }

// The object under number, or nullptr; number must be in range.
CollisionObject* objectAt(const World& world, int32_t number);

// Defines number with a fresh body of the given type, replacing any object
// already under it. Does nothing if memory runs out.
void createObject(World& world, int32_t number, int32_t collisionType);
// Removes one object with its activation entry, body, shapes and contacts.
void removeObject(World& world, CollisionObject* object);
// Makes a body and appends it to bodyList; nullptr if memory runs out.
CollisionBody* createBody(World& world, int32_t number);
void destroyBody(World& world, CollisionBody* body);

// The host moves an object: current becomes previous, (x, y, z) current.
void moveObject(CollisionObject* object, Vec3 position);

}  // namespace zep
