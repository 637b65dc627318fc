#include "world/contact.h"

#include <cmath>

#include "base/allocation.h"
#include "base/intrusive_list.h"
#include "world/object.h"
#include "world/shapes.h"
#include "world/sweep_records.h"

namespace zep {

namespace {

// A walker keeps a handful of contacts a pass; a body that once gathered
// hundreds gives back all but these.
constexpr int32_t kMostSpareContacts = 32;

void unlinkFromMesh(Contact* contact) {
    MeshShape* mesh = contact->meshShape;
    if (!mesh) return;
    contact->meshShape = nullptr;
    if (!contact->onReferrerList) return;
    contact->onReferrerList = false;
    listUnlink<&Contact::referrerPrev, &Contact::referrerNext>(mesh->referrersHead,
                                                               mesh->referrersTail, contact);
    --mesh->referrerCount;
}

void listOnMesh(Contact* contact) {
    MeshShape* mesh = contact->meshShape;
    listAppend<&Contact::referrerPrev, &Contact::referrerNext>(mesh->referrersHead,
                                                               mesh->referrersTail, contact);
    ++mesh->referrerCount;
    contact->onReferrerList = true;
}

void copyHit(Contact& contact, const SweepResult& hit) {
    contact.hitTime = hit.hitTime;
    contact.triangleNumber = hit.triangleNumber;
    contact.hitKind = hit.hitKind;
    contact.point = hit.contactPoint;
    contact.normal = hit.normal;
    contact.center = hit.centerAtContact;
    contact.slideDestination = hit.slideDestination;
    contact.moveToContact = hit.moveToContact;
    contact.slideVector = hit.slideVector;
    for (int corner = 0; corner < 3; ++corner) contact.triangle[corner] = hit.triangle[corner];
    contact.edgeStart = hit.edgeStart;
    contact.edgeEnd = hit.edgeEnd;
    contact.vertex = hit.vertex;
}

// From the sweep's ellipsoid space back to world units; the order of these
// steps decides the rounding of every field.
void toWorldUnits(Contact& contact, Vec3 radii, Vec3 meshPosition) {
    contact.point = MultiplyComponents(contact.point, radii);
    contact.center = MultiplyComponents(contact.center, radii);
    contact.slideDestination = MultiplyComponents(contact.slideDestination, radii);
    Normalize(contact.normal, Subtract(contact.center, contact.point));
    contact.moveToContact = MultiplyComponents(contact.moveToContact, radii);
    contact.slideVector = MultiplyComponents(contact.slideVector, radii);
    contact.moveLength = float(std::sqrt(squaredLengthXYZ(contact.moveToContact)));
    // Edge and vertex stay in the mesh's frame: no offset is added.
    contact.edgeStart = MultiplyComponents(contact.edgeStart, radii);
    contact.edgeEnd = MultiplyComponents(contact.edgeEnd, radii);
    contact.vertex = MultiplyComponents(contact.vertex, radii);
    contact.point = Add(contact.point, meshPosition);
    contact.center = Add(contact.center, meshPosition);
    contact.slideDestination = Add(contact.slideDestination, meshPosition);
}


}  // namespace

Contact* appendContact(CollisionBody* body) {
    const bool reused = body->spareContacts != nullptr;
    Contact* contact = makeRecordFrom(body->spareContacts);
    if (!contact) return nullptr;
    if (reused) --body->spareCount;
    listAppend(body->contactsHead, body->contactsTail, contact);
    contact->owner = body;
    ++body->contactCount;
    return contact;
}

void setContactMesh(Contact* contact, MeshShape* mesh) {
    unlinkFromMesh(contact);
    if (!mesh) return;
    contact->meshShape = mesh;
    listOnMesh(contact);
}

void listMeshContacts(CollisionBody* body) {
    for (Contact* contact = body->contactsHead; contact; contact = contact->next)
        if (contact->meshShape && !contact->onReferrerList) listOnMesh(contact);
}

Contact* appendHitContact(CollisionBody* body, MeshShape* mesh, const SweepResult& hit, MeshListing listing) {
    Contact* contact = appendContact(body);
    if (!contact) {
        body->passIncomplete = 1;
        return nullptr;
    }
    if (listing == MeshListing::kNow) setContactMesh(contact, mesh);
    else contact->meshShape = mesh;
    copyHit(*contact, hit);
    toWorldUnits(*contact, hit.radii, mesh->header.body->currentPosition);
    return contact;
}

void dropContactsAfter(CollisionBody* body, Contact* last) {
    Contact* contact = last ? last->next : body->contactsHead;
    while (contact) {
        Contact* next = contact->next;
        unlinkFromMesh(contact);
        --body->contactCount;
        if (body->spareCount < kMostSpareContacts) {
            keepRecord(body->spareContacts, contact);
            ++body->spareCount;
        } else {
            freeRecord(contact);
        }
        contact = next;
    }
    body->contactsTail = last;
    if (last) last->next = nullptr;
    else body->contactsHead = nullptr;
}

void clearContacts(CollisionBody* body) { dropContactsAfter(body, nullptr); }

SetAsideContacts setContactsAside(CollisionBody* body) {
    const SetAsideContacts aside{body->contactsHead, body->contactsTail, body->contactCount};
    for (Contact* contact = aside.head; contact; contact = contact->next) contact->owner = nullptr;
    body->contactsHead = body->contactsTail = nullptr;
    body->contactCount = 0;
    return aside;
}

void putContactsBack(CollisionBody* body, const SetAsideContacts& aside) {
    if (!aside.head) return;
    for (Contact* contact = aside.head; contact; contact = contact->next) contact->owner = body;
    aside.tail->next = body->contactsHead;
    if (body->contactsHead) body->contactsHead->prev = aside.tail;
    else body->contactsTail = aside.tail;
    body->contactsHead = aside.head;
    body->contactCount += aside.count;
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
