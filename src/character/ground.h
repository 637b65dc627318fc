// How the character rules read a contact: the face it hit, whether that is
// ground a character can stand on, and which way the contact lies.
#pragma once

#include <cstdint>

#include "base/vec3.h"

namespace zep {

struct CharacterRecord;
struct Contact;

// The unit normal of the triangle the contact hit, toward its front;
// (0, 0, 0) for a triangle without area.
Vec3 faceNormal(const Contact& contact);

// The contact lies below the centre: the mover touches it with its underside.
bool isBelow(const Contact& contact);

// The normal of the plane that touches the ellipsoid where the contact is:
// for a face, the face's; for an edge or a corner, the plane through it
// that the ellipsoid rests on. The contact normal (from the point to the
// centre) leans toward an ellipsoid's long axis; this does not.
Vec3 tangentNormal(const Contact& contact, Vec3 radii);

// Ground a character can stand on, for a contact below it: a face whose own
// normal is within the slope limit of +y (never the contact normal); an edge
// or a corner (the nose of a stair, which may name the riser's triangle)
// when the plane it touches the ellipsoid with is within the limit: it is
// touched from above. (Judged by the triangle it names, the top edge of a
// riser touched from the side would be ground, and any riser a step.)
bool isWalkable(const Contact& contact, Vec3 radii, double walkableCos);

// The normal a character reports for the ground it stands on.
Vec3 groundNormalOf(const Contact& contact, Vec3 radii, double walkableCos);

// What the contacts from `first` on touched, by the planes they touch the
// ellipsoid with: bits of CharacterTouch.
int32_t touchedBy(const Contact* first, Vec3 radii, double walkableCos);

}  // namespace zep
