#include "pass/pass.h"

#include "base/allocation.h"
#include "pass/broad_phase.h"
#include "pass/pass_work.h"
#include "pass/solver.h"
#include "pass/step_meshes.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/rules.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zep {

namespace {

void resetBodies(World& world) {
    for (CollisionBody* body = world.bodyListHead; body; body = body->next) {
        body->processed = 0;
        body->passIncomplete = 0;
        clearContacts(body);
    }
}

// One chain per pair, partners in body-list order: for the tests only.
void resolvePerMesh(Pass& pass, CollisionBody* mover) {
    for (CollisionBody* partner = pass.world.bodyListHead; partner; partner = partner->next) {
        if (partner == mover || !partner->active || !rulePairsTypes(pass.world, mover, partner)) continue;
        for (CollisionShape* s = mover->shapesHead; s; s = s->next)
            for (CollisionShape* t = partner->shapesHead; t; t = t->next) {
                EllipsoidShape* ellipsoid = asEllipsoid(s);
                MeshShape* mesh = asMesh(t);
                if (ellipsoid && mesh && rulePairsShapes(pass.world, s, t))
                    solveEllipsoid(pass, ellipsoid, ChainMeshes{nullptr, mesh});
            }
    }
}

// Each ellipsoid of the mover, in shape order, makes one collide-and-slide
// chain through all the meshes its pairs name.
void resolveChains(Pass& pass, CollisionBody* mover, const PartnerTable* table) {
    if (pass.work.chainPerMesh) return resolvePerMesh(pass, mover);
    for (CollisionShape* shape = mover->shapesHead; shape; shape = shape->next)
        if (EllipsoidShape* ellipsoid = asEllipsoid(shape)) solveEllipsoid(pass, ellipsoid, ChainMeshes{table, nullptr});
}

}  // namespace

const PartnerTable* beginPass(Pass& pass) {
    pass.work.sweep.passNumber = ++pass.world.passesRun;
    pass.work.sweep.plainPath = pass.world.plainPath;
    resetBodies(pass.world);
    const bool indexed = !pass.world.plainPath && buildPartnerTable(pass.world, pass.work.partners);
    return indexed ? &pass.work.partners : nullptr;
}

void resolveMover(Pass& pass, CollisionBody* mover, const PartnerTable* table) {
    mover->processed = 1;
    // With a table, a mover whose type no rule moves meets nothing.
    if (!table || typeCanMove(pass.world, mover)) resolveChains(pass, mover, table);
}

// A mover whose pass memory could not keep whole stays where it started:
// the part of its move that was lost may have gone through a wall.
void finishPass(World& world) {
    for (CollisionBody* body = world.bodyListHead; body; body = body->next) {
        if (body->passIncomplete)
            body->currentPosition = body->previousPosition;
        else if (body->active && body->contactsTail)
            body->currentPosition = body->contactsTail->slideDestination;
    }
}

void releasePassWork(PassWork& work) {
    stopWorkerPool(work.pool);
    if (work.slotWorks)
        for (int32_t slot = 0; slot < kMostThreads - 1; ++slot) releasePassWork(work.slotWorks[slot]);
    freeWorkArray(work.slotWorks);
    work.slotWorks = nullptr;
    freeWorkArray(work.movers);
    work.movers = nullptr;
    work.moverCapacity = 0;
    releasePartnerTable(work.partners);
    releaseMeshList(work.stepMeshes);
    releaseSweepWork(work.sweep);
}

void abandonPassThreads(PassWork& work) { abandonWorkerPool(work.pool); }

}  // namespace zep
