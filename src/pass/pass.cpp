#include "pass/pass.h"

#include "base/reference_path.h"
#include "pass/broad_phase.h"
#include "pass/pass_work.h"
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
void resolvePerMesh(PassWork& work, CollisionBody* mover) {
    for (CollisionBody* partner = bodyListHead; partner; partner = partner->next) {
        if (partner == mover || !partner->active || !rulePairsTypes(mover, partner)) continue;
        for (CollisionShape* s = mover->shapesHead; s; s = s->next)
            for (CollisionShape* t = partner->shapesHead; t; t = t->next) {
                EllipsoidShape* ellipsoid = asEllipsoid(s);
                MeshShape* mesh = asMesh(t);
                if (ellipsoid && mesh && rulePairsShapes(s, t)) solveEllipsoid(work, ellipsoid, ChainMeshes{nullptr, mesh});
            }
    }
}

// Each ellipsoid of the mover, in shape order, makes one collide-and-slide
// chain through all the meshes its pairs name.
void resolveMover(PassWork& work, CollisionBody* mover, const PartnerTable* table) {
    if (testing::chainPerMesh) return resolvePerMesh(work, mover);
    for (CollisionShape* shape = mover->shapesHead; shape; shape = shape->next)
        if (EllipsoidShape* ellipsoid = asEllipsoid(shape)) solveEllipsoid(work, ellipsoid, ChainMeshes{table, nullptr});
}

void writeBackPositions() {
    for (CollisionBody* body = bodyListHead; body; body = body->next)
        if (body->active && body->contactsTail)
            body->currentPosition = body->contactsTail->slideDestination;
}

}  // namespace

void runCollisionPass(PassWork& work) {
    work.sweep.passNumber = ++passesRun;
    resetBodies();
    const bool indexed = !linearReference && buildPartnerTable(work.partners);
    for (CollisionBody* mover = bodyListHead; mover; mover = mover->next) {
        if (!mover->active) continue;
        mover->processed = 1;
        if (!indexed)
            resolveMover(work, mover, nullptr);
        else if (typeCanMove(mover))
            resolveMover(work, mover, &work.partners);
    }
    writeBackPositions();
}

void releasePassWork(PassWork& work) {
    releasePartnerTable(work.partners);
    releaseMeshList(work.stepMeshes);
    releaseSweepWork(work.sweep);
}

}  // namespace zep
