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

Vec3 tangentNormal(const Contact& contact, Vec3 radii) {
    return normalized(DivideComponents(DivideComponents(contact.normal, radii), radii));
}

bool isWalkable(const Contact& contact, Vec3 radii, double walkableCos) {
    if (!isBelow(contact)) return false;
    const Vec3 n = contact.hitKind == kHitFace ? faceNormal(contact) : tangentNormal(contact, radii);
    return double(n.y) >= walkableCos;
}

Vec3 groundNormalOf(const Contact& contact, Vec3 radii, double walkableCos) {
    const Vec3 face = faceNormal(contact);
    if (contact.hitKind == kHitFace) return face;
    const Vec3 tangent = tangentNormal(contact, radii);
    return double(tangent.y) >= walkableCos ? tangent : face;
}

int32_t touchedBy(const Contact* first, Vec3 radii, double walkableCos) {
    int32_t touched = 0;
    for (const Contact* contact = first; contact; contact = contact->next) {
        const double y = tangentNormal(*contact, radii).y;
        touched |= y >= walkableCos ? kTouchedBelow : y <= -walkableCos ? kTouchedAbove : kTouchedSides;
    }
    return touched;
}

}  // namespace zep
