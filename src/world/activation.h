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

extern ActivationEntry* activationTable[kObjectTableSize];
extern ActivationEntry* activationListHead;
extern ActivationEntry* activationListTail;
// The entry the next PeekCollisionStackZEP returns; always on the list or null.
extern ActivationEntry* stackCursor;

// Puts the object at the end of the activation order and sets its active flag;
// does nothing if memory runs out.
void activateObject(CollisionObject* object);
void deactivateObject(CollisionObject* object);
// Removes the object's entry, if any, moving the cursor on when it stands there.
void removeActivation(int32_t number);
void resetStack();
int32_t peekStack();

}  // namespace zep
