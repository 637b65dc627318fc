#include "pass/pass.h"

#include "pass/contact.h"
#include "pass/solver.h"
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

// Only an ellipsoid of the mover against a mesh of the partner does anything.
void dispatchShapePair(CollisionShape* moverShape, CollisionShape* partnerShape) {
    EllipsoidShape* ellipsoid = asEllipsoid(moverShape);
    MeshShape* mesh = asMesh(partnerShape);
    if (ellipsoid && mesh) solveEllipsoidAgainstMesh(ellipsoid, mesh);
}

void resolveMover(CollisionBody* mover) {
    for (CollisionBody* partner = bodyListHead; partner; partner = partner->next) {
        if (partner == mover || !partner->active || !rulePairsTypes(mover, partner)) continue;
        for (CollisionShape* s = mover->shapesHead; s; s = s->next)
            for (CollisionShape* t = partner->shapesHead; t; t = t->next)
                if (rulePairsShapes(s, t)) dispatchShapePair(s, t);
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
    for (CollisionBody* mover = bodyListHead; mover; mover = mover->next) {
        if (!mover->active) continue;
        mover->processed = 1;
        resolveMover(mover);
    }
    writeBackPositions();
}

}  // namespace zep
