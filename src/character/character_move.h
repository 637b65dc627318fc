// A character's move in one pass, by the character rules (see
// world/character.h): carried by the platform it stands on, then its walk
// and its fall apart, a step up where the walk is blocked, a snap down to
// the floor it walked off, and what it stands on afterwards.
#pragma once

namespace zep {

struct CollisionBody;
struct Pass;
struct PartnerTable;

// Moves the character (its first ellipsoid) and records the result in its
// CharacterRecord; the table as for resolveMover.
void moveCharacter(Pass& pass, CollisionBody& body, const PartnerTable* table);

}  // namespace zep
