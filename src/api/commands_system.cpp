// Start, stop, the debug switch and the type rules.
#include "api/checks.h"
#include "api/command_entry.h"
#include "api/diagnostics.h"
#include "api/errors.h"
#include "api/memory_reports.h"
#include "api/pass_warnings.h"
#include "api/state.h"
#include "pass/pass_work.h"
#include "world/rules.h"
#include "world/system.h"
#include "world/world.h"
#include "zepcollide.h"

using namespace zep;

extern "C" {

ZEP_API void ZEPCALL StartCollisionZEP(void) {
    const CommandEntry entry("StartCollisionZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    const MemoryWatch memory;
    startSystem(world());
    if (memory.ranOut())
        reportOutOfMemoryInCall("StartCollisionZEP", message::kStartNoMemory, 1, "the system was not started");
}

ZEP_API void ZEPCALL StartCollisionDebugZEP(void) {
    const CommandEntry entry("StartCollisionDebugZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    world().reports.debugMessages = 1;
}

ZEP_API void ZEPCALL StopCollisionZEP(void) {
    const CommandEntry entry("StopCollisionZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    stopSystem(world());
    releasePassWork(passWork());
    forgetPassWarnings();
}

ZEP_API void ZEPCALL SetCollisionZEP(int32_t typeA, int32_t typeB, int32_t, int32_t, int32_t) {
    const CommandEntry entry("SetCollisionZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    if (!isStarted(world())) {
        reportError(message::kRulesNotStarted, 1);
        if (warningsWanted()) warnAboutCall("SetCollisionZEP", kWarnNotStarted);
        return;
    }
    if (uint32_t(typeA) > kMaxRuleType || uint32_t(typeB) > kMaxRuleType) {
        if (warningsWanted())
            warnAboutCall("SetCollisionZEP", "rule %d -> %d ignored: collision types run from 0 to 300", int(typeA),
                          int(typeB));
        return;
    }
    const MemoryWatch memory;
    addRule(world(), typeA, typeB);
    if (memory.ranOut())
        reportOutOfMemoryInCall("SetCollisionZEP", message::kRuleNoMemory, typeA, "the rule was not added");
}

ZEP_API int32_t ZEPCALL CheckShapeZEP(int32_t number, int32_t shapeKind) {
    const CommandEntry entry("CheckShapeZEP", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    CollisionObject* object = validateObject(number, "CheckShapeZEP");
    if (!object) return 0;
    if (warningsWanted() && shapeKind != 1 && shapeKind != 2)
        warnAbout("CheckShapeZEP", number, "shape kind %d answered 0: the kinds are 1 (ellipsoid) and 2 (mesh)",
                  int(shapeKind));
    return typeHasShapeKind(world(), object->body, shapeKind) ? 1 : 0;
}

}  // extern "C"
