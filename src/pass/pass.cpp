#include "pass/pass.h"

#include "base/reference_path.h"
#include "base/scratch.h"
#include "pass/broad_phase.h"
#include "pass/solver.h"
#include "pass/step_meshes.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/rules.h"
#include "world/shapes.h"
#include "world/system.h"

namespace zep {

namespace {

void resetBodies() {
    for (CollisionBody* body = bodyListHead; body; body = body->next) {
        body->processed = 0;
        clearContacts(body);
    }
}

// One chain per pair, partners in body-list order: for the tests only.
void resolvePerMesh(CollisionBody* mover) {
    for (CollisionBody* partner = bodyListHead; partner; partner = partner->next) {
        if (partner == mover || !partner->active || !rulePairsTypes(mover, partner)) continue;
        for (CollisionShape* s = mover->shapesHead; s; s = s->next)
            for (CollisionShape* t = partner->shapesHead; t; t = t->next) {
                EllipsoidShape* ellipsoid = asEllipsoid(s);
                MeshShape* mesh = asMesh(t);
                if (ellipsoid && mesh && rulePairsShapes(s, t)) solveEllipsoid(ellipsoid, ChainMeshes{nullptr, mesh});
            }
    }
}

// Each ellipsoid of the mover, in shape order, makes one collide-and-slide
// chain through all the meshes its pairs name.
void resolveMover(CollisionBody* mover, const PartnerTable* table) {
    if (testing::chainPerMesh) return resolvePerMesh(mover);
    for (CollisionShape* shape = mover->shapesHead; shape; shape = shape->next)
        if (EllipsoidShape* ellipsoid = asEllipsoid(shape)) solveEllipsoid(ellipsoid, ChainMeshes{table, nullptr});
}

void writeBackPositions() {
    for (CollisionBody* body = bodyListHead; body; body = body->next)
        if (body->active && body->contactsTail)
            body->currentPosition = body->contactsTail->slideDestination;
}

}  // namespace

void runCollisionPass() {
    ++passesRun;
    resetBodies();
    const bool indexed = !linearReference && buildPartnerTable(partnerTable);
    for (CollisionBody* mover = bodyListHead; mover; mover = mover->next) {
        if (!mover->active) continue;
        mover->processed = 1;
        if (!indexed)
            resolveMover(mover, nullptr);
        else if (typeCanMove(mover))
            resolveMover(mover, &partnerTable);
    }
    writeBackPositions();
}

void releasePassMemory() {
    releasePartnerTable();
    releaseStepMeshes();
    releaseScratch();
}

}  // namespace zep
