#include "pass/unswept_moves.h"

#include "sweep/crossing.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/shapes.h"

namespace zep {

bool legCrossesMetTriangle(const CollisionBody& mover, Vec3 start, Vec3 legEnd) {
    for (const Contact* contact = mover.contactsHead; contact; contact = contact->next) {
        const MeshShape* mesh = contact->meshShape;
        if (!mesh || !mesh->header.body) continue;
        if (segmentCrossesTriangle(start, legEnd, contact->triangle, mesh->header.body->currentPosition)) return true;
    }
    return false;
}

void restAtLastContact(CollisionBody& mover) {
    Contact& last = *mover.contactsTail;
    last.slideDestination = last.center;
    last.slideVector = Vec3{0.0f, 0.0f, 0.0f};
}

}  // namespace zep
