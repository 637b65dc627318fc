// Objects by number: create, move, read back, free, activate, and the walk
// over the active ones.
#include "api/checks.h"
#include "api/errors.h"
#include "world/activation.h"
#include "world/system.h"
#include "zepcollide.h"

using namespace zep;

namespace {

int32_t positionComponent(int32_t number, int32_t component) {
    CollisionObject* object = validateObject(number);
    if (!object) return floatResult(0.0f);
    return floatResult(vectorComponent(object->body->currentPosition, component));
}

}  // namespace

extern "C" {

ZEP_API void ZEPCALL NewCollObjZEP(int32_t number, int32_t collisionType) {
    if (!isStarted()) {
        reportError(message::kCreateNotStarted, 1);
        return;
    }
    if (!objectNumberInRange(number)) {
        reportError(message::kNumberTooHigh, number);
        return;
    }
    createObject(number, collisionType);
}

ZEP_API void ZEPCALL UpdateObjZEP(int32_t number, float x, float y, float z, int32_t, int32_t,
                                  int32_t) {
    if (CollisionObject* object = validateObject(number)) moveObject(object, Vec3{x, y, z});
}

ZEP_API int32_t ZEPCALL PeekObjXZEP(int32_t number) { return positionComponent(number, 1); }
ZEP_API int32_t ZEPCALL PeekObjYZEP(int32_t number) { return positionComponent(number, 2); }
ZEP_API int32_t ZEPCALL PeekObjZZEP(int32_t number) { return positionComponent(number, 3); }

ZEP_API void ZEPCALL FreeObjZEP(int32_t number) {
    if (CollisionObject* object = validateObject(number)) removeObject(object);
}

ZEP_API void ZEPCALL ActivateObjZEP(int32_t number) {
    if (CollisionObject* object = validateObject(number)) activateObject(object);
}

ZEP_API void ZEPCALL DeActivateObjZEP(int32_t number) {
    if (CollisionObject* object = validateObject(number)) deactivateObject(object);
}

ZEP_API void ZEPCALL ResetCollisionStackZEP(void) { resetStack(); }

ZEP_API int32_t ZEPCALL PeekCollisionStackZEP(void) { return peekStack(); }

}  // extern "C"
