// The collision pass and the queries that read its contacts.
#include "api/checks.h"
#include "api/command_entry.h"
#include "api/diagnostics.h"
#include "api/errors.h"
#include "api/memory_reports.h"
#include "api/pass_warnings.h"
#include "api/state.h"
#include "character/character_pass.h"
#include "world/contact.h"
#include "world/shapes.h"
#include "world/system.h"
#include "world/world.h"
#include "zepcollide.h"

using namespace zep;

namespace {

constexpr uint32_t kCornerCount = 3;

// The contact a query names, or nullptr after reporting why. The index 0 is
// refused before the corner is looked at, and the corner before the list.
const Contact* queriedContact(const char* command, int32_t number, int32_t index,
                              const int32_t* corner = nullptr) {
    CollisionObject* object = validateObject(number, command);
    if (!object) return nullptr;
    if (uint32_t(index) == 0) {
        reportError(message::kIndexOutOfRange, index);
        return nullptr;
    }
    if (corner && (uint32_t(*corner) < 1 || uint32_t(*corner) > kCornerCount)) {
        reportError(message::kCornerOutOfRange, *corner);
        return nullptr;
    }
    const Contact* contact = contactAt(object->body, uint32_t(index));
    if (!contact) reportError(message::kIndexOutOfRange, index);
    return contact;
}

// The body that owns the mesh the contact hit; none once that mesh is gone.
const CollisionBody* hitBody(const Contact* contact) {
    return contact->meshShape ? contact->meshShape->header.body : nullptr;
}

}  // namespace

extern "C" {

ZEP_API void ZEPCALL RunCollisionZEP(void) {
    const CommandEntry entry("RunCollisionZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    if (warningsWanted() && !isStarted(world())) warnAboutCall("RunCollisionZEP", kWarnNotStarted);
    warnBeforePass();
    const MemoryWatch memory;
    runPassWithCharacters(world(), passWork());
    reportPassMemory(memory);
    const MemoryWatch checks;
    warnAfterPass();
    reportChecksMemory(checks);
}

ZEP_API int32_t ZEPCALL CountCollisionsZEP(int32_t number) {
    const CommandEntry entry("CountCollisionsZEP", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    CollisionObject* object = validateObject(number, "CountCollisionsZEP");
    return object ? countContacts(object->body) : 0;
}

ZEP_API int32_t ZEPCALL CollisionHit(int32_t number, int32_t index, int32_t component) {
    const CommandEntry entry("CollisionHit", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    const Contact* contact = queriedContact("CollisionHit", number, index);
    if (contact && warningsWanted()) componentIgnored("CollisionHit", number, component);
    return floatResult(contact ? vectorComponent(contact->point, component) : 0.0f);
}

ZEP_API int32_t ZEPCALL CollisionHitNorm(int32_t number, int32_t index, int32_t component) {
    const CommandEntry entry("CollisionHitNorm", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    const Contact* contact = queriedContact("CollisionHitNorm", number, index);
    if (contact && warningsWanted()) componentIgnored("CollisionHitNorm", number, component);
    return floatResult(contact ? vectorComponent(contact->normal, component) : 0.0f);
}

ZEP_API int32_t ZEPCALL CollisionObjHit(int32_t number, int32_t index) {
    const CommandEntry entry("CollisionObjHit", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    const Contact* contact = queriedContact("CollisionObjHit", number, index);
    const CollisionBody* body = contact ? hitBody(contact) : nullptr;
    return body ? body->objectNumber : 0;
}

ZEP_API int32_t ZEPCALL CollisionPolyHit(int32_t number, int32_t index) {
    const CommandEntry entry("CollisionPolyHit", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    const Contact* contact = queriedContact("CollisionPolyHit", number, index);
    return contact ? contact->triangleNumber : 0;
}

ZEP_API int32_t ZEPCALL CollisionTriCorner(int32_t number, int32_t index, int32_t corner,
                                           int32_t component) {
    const CommandEntry entry("CollisionTriCorner", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    const Contact* contact = queriedContact("CollisionTriCorner", number, index, &corner);
    const CollisionBody* body = contact ? hitBody(contact) : nullptr;
    if (!body) return floatResult(0.0f);
    if (warningsWanted()) componentIgnored("CollisionTriCorner", number, component);
    // The corner follows the mesh body as it stands now, not as it stood in
    // the pass.
    const Vec3 world = Add(body->currentPosition, contact->triangle[corner - 1]);
    return floatResult(vectorComponent(world, component));
}

#if !defined(_WIN32)
ZEP_API int32_t zepCollisionCenter(int32_t number, int32_t index, int32_t component) {
    const CommandEntry entry("zepCollisionCenter", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    const Contact* contact = queriedContact("zepCollisionCenter", number, index);
    if (contact && warningsWanted()) componentIgnored("zepCollisionCenter", number, component);
    return floatResult(contact ? vectorComponent(contact->center, component) : 0.0f);
}
#endif

}  // extern "C"
