#include "character/ground.h"

#include <cmath>

#include "world/character.h"
#include "world/contact.h"
#include "world/sweep_records.h"

namespace zep {

Vec3 faceNormal(const Contact& contact) {
    const Vec3 n = Cross(Subtract(contact.triangle[1], contact.triangle[0]),
                         Subtract(contact.triangle[2], contact.triangle[0]));
    return normalized(n);
}

bool isBelow(const Contact& contact) { return contact.normal.y > 0.0f; }

bool isWalkable(const Contact& contact, double walkableCos) {
    if (!isBelow(contact)) return false;
    if (double(faceNormal(contact).y) >= walkableCos) return true;
    return contact.hitKind != kHitFace && double(contact.normal.y) >= walkableCos;
}

Vec3 groundNormalOf(const Contact& contact, double walkableCos) {
    const Vec3 face = faceNormal(contact);
    if (contact.hitKind == kHitFace || double(face.y) >= walkableCos) return face;
    return contact.normal;
}

int32_t touchedBy(const Contact* first, double walkableCos) {
    int32_t touched = 0;
    for (const Contact* contact = first; contact; contact = contact->next) {
        const double y = contact->normal.y;
        touched |= y >= walkableCos ? kTouchedBelow : y <= -walkableCos ? kTouchedAbove : kTouchedSides;
    }
    return touched;
}

}  // namespace zep
