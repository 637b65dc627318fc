// Objects by number: create, move, read back, free, activate, and the walk
// over the active ones.
#include <cmath>

#include "api/checks.h"
#include "api/command_entry.h"
#include "api/diagnostics.h"
#include "api/errors.h"
#include "api/memory_reports.h"
#include "api/state.h"
#include "pass/pass_work.h"
#include "world/activation.h"
#include "world/mesh_index.h"
#include "world/rules.h"
#include "world/system.h"
#include "world/world.h"
#include "zepcollide.h"

using namespace zep;

namespace {

int32_t positionComponent(int32_t number, int32_t component, const char* command) {
    CollisionObject* object = validateObject(number, command);
    if (!object) return floatResult(0.0f);
    return floatResult(vectorComponent(object->body->currentPosition, component));
}

}  // namespace

extern "C" {

ZEP_API void ZEPCALL NewCollObjZEP(int32_t number, int32_t collisionType) {
    const CommandEntry entry("NewCollObjZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    if (!isStarted(world())) {
        reportError(message::kCreateNotStarted, 1);
        if (warningsWanted()) warnAbout("NewCollObjZEP", number, kWarnNotStarted);
        return;
    }
    if (!objectNumberInRange(number)) {
        reportError(message::kNumberTooHigh, number);
        return;
    }
    if (warningsWanted() && uint32_t(collisionType) > kMaxRuleType)
        warnAbout("NewCollObjZEP", number,
                  "collision type %d is outside 0 to 300: no rule can name it, so the object meets nothing",
                  int(collisionType));
    const MemoryWatch memory;
    createObject(world(), number, collisionType);
    if (memory.ranOut())
        reportOutOfMemory("NewCollObjZEP", number, message::kCreateNoMemory, number,
                          "the object was not created (an object of that number is kept as it was)");
}

ZEP_API void ZEPCALL UpdateObjZEP(int32_t number, float x, float y, float z, int32_t, int32_t,
                                  int32_t) {
    const CommandEntry entry("UpdateObjZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    CollisionObject* object = validateObject(number, "UpdateObjZEP");
    if (!object) return;
    if (warningsWanted() && !(std::isfinite(x) && std::isfinite(y) && std::isfinite(z)))
        warnAbout("UpdateObjZEP", number, "position (%g, %g, %g) is not finite: sweeps to or from it have no meaning",
                  double(x), double(y), double(z));
    moveObject(object, Vec3{x, y, z});
}

ZEP_API int32_t ZEPCALL PeekObjXZEP(int32_t number) {
    const CommandEntry entry("PeekObjXZEP", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    return positionComponent(number, 1, "PeekObjXZEP");
}
ZEP_API int32_t ZEPCALL PeekObjYZEP(int32_t number) {
    const CommandEntry entry("PeekObjYZEP", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    return positionComponent(number, 2, "PeekObjYZEP");
}
ZEP_API int32_t ZEPCALL PeekObjZZEP(int32_t number) {
    const CommandEntry entry("PeekObjZZEP", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    return positionComponent(number, 3, "PeekObjZZEP");
}

ZEP_API void ZEPCALL FreeObjZEP(int32_t number) {
    const CommandEntry entry("FreeObjZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    if (CollisionObject* object = validateObject(number, "FreeObjZEP")) removeObject(world(), object);
}

ZEP_API void ZEPCALL ActivateObjZEP(int32_t number) {
    const CommandEntry entry("ActivateObjZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    CollisionObject* object = validateObject(number, "ActivateObjZEP");
    if (!object) return;
    const MemoryWatch memory;
    activateObject(world(), object);
    if (memory.ranOut()) {
        reportOutOfMemory("ActivateObjZEP", number, message::kActivateNoMemory, number,
                          "the object's activation was not made (it stays as it was)");
        return;
    }
    // A game activates a level once its triangles are in: its tree is built
    // now, while the game loads, and not in the first pass. The plain path
    // never reads an index.
    if (object->body->active && !world().plainPath) buildDueMeshTrees(*object->body, passWork().sweep.indexVersions);
    warnLostIndex("ActivateObjZEP", *object->body, memory);
}

ZEP_API void ZEPCALL DeActivateObjZEP(int32_t number) {
    const CommandEntry entry("DeActivateObjZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    if (CollisionObject* object = validateObject(number, "DeActivateObjZEP")) deactivateObject(world(), object);
}

ZEP_API void ZEPCALL ResetCollisionStackZEP(void) {
    const CommandEntry entry("ResetCollisionStackZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    if (warningsWanted() && !isStarted(world())) warnAboutCall("ResetCollisionStackZEP", kWarnNotStarted);
    resetStack(world());
}

ZEP_API int32_t ZEPCALL PeekCollisionStackZEP(void) {
    const CommandEntry entry("PeekCollisionStackZEP", FromHandler::Refused);
    if (!entry.admitted()) return 0;
    if (warningsWanted() && !isStarted(world())) warnAboutCall("PeekCollisionStackZEP", kWarnNotStarted);
    return peekStack(world());
}

}  // extern "C"
