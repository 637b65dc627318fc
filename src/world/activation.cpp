#include "world/activation.h"

#include <algorithm>
#include <iterator>

#include "base/allocation.h"
#include "base/intrusive_list.h"

namespace zep {

ActivationEntry* activationTable[kObjectTableSize] = {};
ActivationEntry* activationListHead = nullptr;
ActivationEntry* activationListTail = nullptr;
ActivationEntry* stackCursor = nullptr;

namespace {

void unlinkActivation(ActivationEntry* entry) {
    // Moving the cursor first lets a host walk deactivate or free the very
    // object it was just handed.
    if (stackCursor == entry) stackCursor = entry->next;
    activationTable[uint32_t(entry->object->objectNumber)] = nullptr;
    listUnlink(activationListHead, activationListTail, entry);
}

}  // namespace

void removeActivation(int32_t number) {
    ActivationEntry* entry = activationTable[uint32_t(number)];
    if (!entry) return;
    unlinkActivation(entry);
    freeRecord(entry);
}

void activateObject(CollisionObject* object) {
    ActivationEntry* entry = makeRecord<ActivationEntry>();
    if (!entry) return;
    entry->object = object;
    if (!activationListHead)
        std::fill(std::begin(activationTable), std::end(activationTable), nullptr);
    removeActivation(object->objectNumber);
    activationTable[uint32_t(object->objectNumber)] = entry;
    listAppend(activationListHead, activationListTail, entry);
    object->body->active = 1;
}

void deactivateObject(CollisionObject* object) {
    removeActivation(object->objectNumber);
    object->body->active = 0;
}

void resetStack() { stackCursor = activationListHead; }

int32_t peekStack() {
    if (!stackCursor) return 0;
    const int32_t number = stackCursor->object->objectNumber;
    stackCursor = stackCursor->next;
    return number;
}

}  // namespace zep
