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
    contact->meshShape = nullptr;
}

}  // namespace

Contact* appendContact(CollisionBody* body) {
    Contact* contact = makeRecord<Contact>();
    if (!contact) return nullptr;
    listAppend(body->contactsHead, body->contactsTail, contact);
    return contact;
}

void setContactMesh(Contact* contact, MeshShape* mesh) {
    unlinkFromMesh(contact);
    if (!mesh) return;
    contact->meshShape = mesh;
    listAppend<&Contact::referrerPrev, &Contact::referrerNext>(mesh->referrersHead,
                                                               mesh->referrersTail, contact);
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
}

int32_t countContacts(const CollisionBody* body) {
    int32_t count = 0;
    for (const Contact* contact = body->contactsHead; contact; contact = contact->next) ++count;
    return count;
}

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
