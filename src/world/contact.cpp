#include "world/contact.h"

#include "base/allocation.h"
#include "base/intrusive_list.h"
#include "world/object.h"
#include "world/shapes.h"

namespace zep {

namespace {

void unlinkFromMesh(Contact* contact) {
    MeshShape* mesh = contact->meshShape;
    if (!mesh) return;
    listUnlink<&Contact::referrerPrev, &Contact::referrerNext>(mesh->referrersHead,
                                                               mesh->referrersTail, contact);
    --mesh->referrerCount;
    contact->meshShape = nullptr;
}

}  // namespace

Contact* appendContact(CollisionBody* body) {
    Contact* contact = makeRecord<Contact>();
    if (!contact) return nullptr;
    listAppend(body->contactsHead, body->contactsTail, contact);
    contact->owner = body;
    ++body->contactCount;
    return contact;
}

void setContactMesh(Contact* contact, MeshShape* mesh) {
    unlinkFromMesh(contact);
    if (!mesh) return;
    contact->meshShape = mesh;
    listAppend<&Contact::referrerPrev, &Contact::referrerNext>(mesh->referrersHead,
                                                               mesh->referrersTail, contact);
    ++mesh->referrerCount;
}

void clearContacts(CollisionBody* body) {
    Contact* contact = body->contactsHead;
    while (contact) {
        Contact* next = contact->next;
        unlinkFromMesh(contact);
        freeRecord(contact);
        contact = next;
    }
    body->contactsHead = body->contactsTail = nullptr;
    body->contactCount = 0;
}

int32_t countContacts(const CollisionBody* body) { return body->contactCount; }

Contact* contactAt(const CollisionBody* body, uint32_t index) {
    if (index == 0) return nullptr;
    Contact* contact = body->contactsHead;
    for (uint32_t place = 1; contact && place < index; ++place) contact = contact->next;
    return contact;
}

void forgetMeshInContacts(MeshShape* mesh) {
    while (Contact* contact = mesh->referrersHead) unlinkFromMesh(contact);
}

}  // namespace zep
