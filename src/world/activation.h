// The activation list: which objects take part in a pass, in activation order,
// and the host's walk over it (the "collision stack").
#pragma once

#include <cstdint>

#include "world/object.h"

namespace zep {

struct ActivationEntry {
    CollisionObject* object = nullptr;
    ActivationEntry* prev = nullptr;
    ActivationEntry* next = nullptr;
};

// Puts the object at the end of the activation order and sets its active flag;
// does nothing if memory runs out.
void activateObject(World& world, CollisionObject* object);
void deactivateObject(World& world, CollisionObject* object);
// Removes the object's entry, if any, moving the cursor on when it stands there.
void removeActivation(World& world, int32_t number);
void resetStack(World& world);
int32_t peekStack(World& world);

}  // namespace zep
