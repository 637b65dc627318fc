// How the character rules read a contact: the face it hit, whether that is
// ground a character can stand on, and which way the contact lies.
#pragma once

#include "base/vec3.h"

namespace zep {

struct CharacterRecord;
struct Contact;

// The unit normal of the triangle the contact hit, toward its front;
// (0, 0, 0) for a triangle without area.
Vec3 faceNormal(const Contact& contact);

// The contact lies below the centre: the mover touches it with its underside.
bool isBelow(const Contact& contact);

// Ground a character can stand on, for a contact below it: a face whose own
// normal is within the slope limit of +y (never the contact normal, which
// leans toward an ellipsoid's long axis); an edge or a corner (the nose of
// a stair, which may name the riser's triangle) when the walkable triangle
// it belongs to, or the direction from it to the centre, is within the limit.
bool isWalkable(const Contact& contact, double walkableCos);

// The normal a character reports for the ground it stands on.
Vec3 groundNormalOf(const Contact& contact, double walkableCos);

// What the contacts from `first` on touched: bits of CharacterTouch.
int32_t touchedBy(const Contact* first, double walkableCos);

}  // namespace zep
