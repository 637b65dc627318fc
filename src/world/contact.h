// Contacts: one record per hit that the solver found in the latest pass.
//
// A body owns its contact list. A contact names the mesh shape it hit without
// owning it; the mesh keeps a list of the contacts that name it, so that when
// the mesh is destroyed those contacts are told and never read freed memory.
#pragma once

#include <cstdint>

#include "base/vec3.h"

namespace zep {

struct CollisionBody;
struct MeshShape;
struct SweepResult;

// Fields marked "kept" are defined by the record and filled in exactly, but
// no command reads them; the tests and the fuzzer compare them bit for bit.
struct Contact {
    MeshShape* meshShape = nullptr;  // not owned; null once that mesh is gone
    CollisionBody* owner = nullptr;  // the body whose list holds it
    float hitTime = 0.0f;            // kept
    int32_t triangleNumber = 0;
    float moveLength = 0.0f;  // kept
    int32_t hitKind = 0;      // the solver's response reads it
    Vec3 point;               // world
    Vec3 normal;              // unit, from point to center
    Vec3 center;              // world; the Linux zepCollisionCenter reads it
    Vec3 slideDestination;    // world
    Vec3 moveToContact;       // world units; kept
    Vec3 slideVector;         // world units; kept
    Vec3 triangle[3];         // stored corners, mesh frame
    Vec3 edgeStart;           // mesh frame, world units; kept, for edge hits only
    Vec3 edgeEnd;             // kept, for edge hits only
    Vec3 vertex;              // kept, for corner hits only
    Contact* prev = nullptr;
    Contact* next = nullptr;
    // Links on meshShape's list of referring contacts.
    Contact* referrerPrev = nullptr;
    Contact* referrerNext = nullptr;
    bool onReferrerList = false;  // names meshShape but waits to be listed on it
};

// Appends a blank contact to the body's list; nullptr if memory runs out.
Contact* appendContact(CollisionBody* body);
// Makes the contact name mesh (and be told when mesh goes).
void setContactMesh(Contact* contact, MeshShape* mesh);
// When a contact goes on its mesh's list: at once, or (while several
// threads make contacts on the same meshes) by listMeshContacts afterwards.
enum class MeshListing { kNow, kLater };
// Appends the contact a sweep's hit on the mesh makes, in world units, and
// has it name the mesh. When memory runs out: nullptr, with the body marked
// passIncomplete.
Contact* appendHitContact(CollisionBody* body, MeshShape* mesh, const SweepResult& hit,
                          MeshListing listing = MeshListing::kNow);
// Puts the body's contacts that wait to be listed on their meshes' lists, in
// the body's list order: called for the bodies in the order they made them,
// the meshes' lists come out as if each had been listed when made.
void listMeshContacts(CollisionBody* body);
// Frees every contact of the body.
void clearContacts(CollisionBody* body);
int32_t countContacts(const CollisionBody* body);
// The contact at a 1-based index, or nullptr.
Contact* contactAt(const CollisionBody* body, uint32_t index);
// Called when mesh is destroyed: every contact naming it stops naming it.
void forgetMeshInContacts(MeshShape* mesh);

// A body's contacts set aside while a chain of its runs on an empty list
// (a character's legs: each meets again what an earlier leg met). Set aside,
// they belong to no body, so that no sweep takes them for the chain's own.
struct SetAsideContacts {
    Contact* head = nullptr;
    Contact* tail = nullptr;
    int32_t count = 0;
};
SetAsideContacts setContactsAside(CollisionBody* body);
// Puts them back in front of the contacts the body has made since.
void putContactsBack(CollisionBody* body, const SetAsideContacts& aside);
// Frees the contacts after `last` (all of them for null), which a leg that
// was not taken made.
void dropContactsAfter(CollisionBody* body, Contact* last);

}  // namespace zep
