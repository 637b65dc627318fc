#include "pass/pass.h"

#include "base/reference_path.h"
#include "base/scratch.h"
#include "pass/broad_phase.h"
#include "pass/solver.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/rules.h"
#include "world/shapes.h"

namespace zep {

namespace {

void resetBodies() {
    for (CollisionBody* body = bodyListHead; body; body = body->next) {
        body->processed = 0;
        clearContacts(body);
    }
}

// Where the mover's next solver call aims: the end as earlier calls of this
// pass corrected it, or the host's target.
Vec3 currentEnd(const CollisionBody& mover) {
    return mover.contactsTail ? mover.contactsTail->slideDestination : mover.currentPosition;
}

// Only an ellipsoid of the mover against a mesh of the partner does anything.
void dispatchShapePair(CollisionShape* moverShape, CollisionShape* partnerShape) {
    EllipsoidShape* ellipsoid = asEllipsoid(moverShape);
    MeshShape* mesh = asMesh(partnerShape);
    if (!ellipsoid || !mesh) return;
    // A call whose first sweep cannot reach the mesh would find nothing.
    if (!linearReference) {
        const CollisionBody& mover = *ellipsoid->header.body;
        if (!meshInReach(*mesh, ellipsoid->radii, mover.previousPosition, currentEnd(mover))) return;
    }
    solveEllipsoidAgainstMesh(ellipsoid, mesh);
}

void resolvePartner(CollisionBody* mover, CollisionBody* partner) {
    if (partner == mover || !partner->active || !rulePairsTypes(mover, partner)) return;
    for (CollisionShape* s = mover->shapesHead; s; s = s->next)
        for (CollisionShape* t = partner->shapesHead; t; t = t->next)
            if (rulePairsShapes(s, t)) dispatchShapePair(s, t);
}

// Every body in list order: the plain path.
void resolveAgainstAll(CollisionBody* mover) {
    for (CollisionBody* partner = bodyListHead; partner; partner = partner->next)
        resolvePartner(mover, partner);
}

// Only the partners in reach, still in list order. A contact moves the end
// that later calls aim at, so the partners after it are looked up again.
void resolveAgainstReachable(CollisionBody* mover, const PartnerTable& table) {
    int32_t after = -1;
    for (;;) {
        const int32_t* places = nullptr;
        const int32_t count = partnersInReach(table, *mover, currentEnd(*mover), after, &places);
        if (count < 0) {
            for (int32_t place = after + 1; place < table.count; ++place)
                resolvePartner(mover, table.bodies[place]);
            return;
        }
        bool endMoved = false;
        for (int32_t i = 0; i < count && !endMoved; ++i) {
            const Contact* lastBefore = mover->contactsTail;
            resolvePartner(mover, table.bodies[places[i]]);
            after = places[i];
            endMoved = mover->contactsTail != lastBefore;
        }
        if (!endMoved) return;
    }
}

void writeBackPositions() {
    for (CollisionBody* body = bodyListHead; body; body = body->next)
        if (body->active && body->contactsTail)
            body->currentPosition = body->contactsTail->slideDestination;
}

}  // namespace

void runCollisionPass() {
    resetBodies();
    const bool indexed = !linearReference && buildPartnerTable(partnerTable);
    for (CollisionBody* mover = bodyListHead; mover; mover = mover->next) {
        if (!mover->active) continue;
        mover->processed = 1;
        if (!indexed)
            resolveAgainstAll(mover);
        else if (typeCanMove(mover))
            resolveAgainstReachable(mover, partnerTable);
    }
    writeBackPositions();
}

void releasePassMemory() {
    releasePartnerTable();
    releaseScratch();
}

}  // namespace zep
