#include "api/checks.h"

#include "api/diagnostics.h"
#include "api/errors.h"
#include "api/state.h"
#include "world/system.h"
#include "world/world.h"

namespace zep {

CollisionObject* validateObject(int32_t number, const char* command) {
    if (!isStarted(world())) {
        reportError(message::kNotStarted, 1);
        if (warningsWanted()) warnAbout(command, number, kWarnNotStarted);
        return nullptr;
    }
    if (!objectNumberInRange(number)) {
        reportError(message::kNumberTooHigh, number);
        return nullptr;
    }
    CollisionObject* object = objectAt(world(), number);
    if (!object) reportError(message::kNotDefined, number);
    return object;
}

bool componentIgnored(const char* command, int32_t number, int32_t component) {
    if (component >= 1 && component <= 3) return false;
    if (warningsWanted())
        warnAbout(command, number, "component %d read as 0.0: components are 1 (x), 2 (y) and 3 (z)", int(component));
    return true;
}

}  // namespace zep
