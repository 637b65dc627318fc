#include "api/memory_reports.h"

#include "api/diagnostics.h"
#include "api/errors.h"
#include "api/state.h"
#include "world/object.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zep {

namespace {

constexpr const char kPass[] = "RunCollisionZEP";

bool lostIndex(const CollisionBody& body, const MemoryWatch& watch) {
    for (CollisionShape* shape = body.shapesHead; shape; shape = shape->next) {
        const MeshShape* mesh = asMesh(shape);
        if (mesh && mesh->indexRefusedAt > watch.before()) return true;
    }
    return false;
}

}  // namespace

void warnLostIndex(const char* command, const CollisionBody& body, const MemoryWatch& watch) {
    if (!warningsWanted() || !lostIndex(body, watch)) return;
    warnAbout(command, body.objectNumber,
              "out of memory: the mesh's index could not be built, so its sweeps take the slow path (the same "
              "results, slower) until memory is given back");
}

void reportPassMemory(const MemoryWatch& watch) {
    if (!watch.ranOut()) return;
    bool lostAny = false;
    for (const CollisionBody* body = world().bodyListHead; body; body = body->next) {
        if (body->passIncomplete)
            reportOutOfMemory(kPass, body->objectNumber, message::kPassNoMemory, body->objectNumber,
                              "a sweep or contact of the object's move could not be kept, so it stays where it "
                              "was before the pass");
        const bool lost = body->passIncomplete || lostIndex(*body, watch);
        warnLostIndex(kPass, *body, watch);
        lostAny = lostAny || lost;
    }
    if (!lostAny && warningsWanted())
        warnAboutCall(kPass,
                      "out of memory: the pass's working memory could not grow, so it took a slower path (the "
                      "same results)");
}

void reportChecksMemory(const MemoryWatch& watch) {
    if (watch.ranOut() && warningsWanted())
        warnAboutCall(kPass,
                      "out of memory: the checks for movers gone through a triangle from behind could not all "
                      "search (the pass itself is whole)");
}

}  // namespace zep
