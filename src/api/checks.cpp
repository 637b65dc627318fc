#include "api/checks.h"

#include "api/errors.h"
#include "world/system.h"

namespace zep {

CollisionObject* validateObject(int32_t number) {
    if (!isStarted()) {
        reportError(message::kNotStarted, 1);
        return nullptr;
    }
    if (!objectNumberInRange(number)) {
        reportError(message::kNumberTooHigh, number);
        return nullptr;
    }
    CollisionObject* object = objectAt(number);
    if (!object) reportError(message::kNotDefined, number);
    return object;
}

}  // namespace zep
