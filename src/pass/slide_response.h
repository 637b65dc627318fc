// Where a collide-and-slide chain goes after a contact: along the slide
// its sweep computed, along the crease with the previous contact's surface,
// or nowhere when the mover is wedged.
#pragma once

#include "base/vec3.h"

namespace zep {

struct Contact;

// Sets the contact's slide destination and vector (in world units) for the
// step toward `end`, given the contact made before it in the chain (null
// for the first). False when the mover is wedged: the chain ends at the
// contact's centre.
bool chooseResponse(Contact& contact, const Contact* previous, Vec3 radii, Vec3 end);

}  // namespace zep
