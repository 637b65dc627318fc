#include "pass/solver.h"

#include <algorithm>

#include "pass/pass_work.h"
#include "pass/slide_response.h"
#include "pass/step_meshes.h"
#include "pass/unswept_moves.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/shapes.h"

namespace zep {

void solveEllipsoid(Pass& pass, EllipsoidShape* ellipsoid, const ChainMeshes& chain) {
    CollisionBody* mover = ellipsoid->header.body;
    const Vec3 radii = ellipsoid->radii;
    Vec3 start = mover->previousPosition;
    // Earlier calls of this pass (the mover's other ellipsoids) may already
    // have corrected the end: aim at their correction.
    Vec3 end = mover->contactsTail ? mover->contactsTail->slideDestination : mover->currentPosition;
    int64_t iterations = 0;
    int pushOuts = 0;
    for (bool carryOn = true; carryOn;) {
        MeshShape* mesh = nullptr;
        const SweepResult* hit = sweepStep(pass, *ellipsoid, chain, start, end, mover->contactsHead, &mesh);
        Contact* previous = mover->contactsTail;
        Contact* contact = guardedStepContact(pass, *ellipsoid, chain, hit, mesh, start, end, pushOuts);
        if (!contact) return;
        pass.work.largestSolverCall = std::max(pass.work.largestSolverCall, ++iterations);
        carryOn = chooseResponse(*contact, previous, radii, end);
        start = contact->center;
        end = contact->slideDestination;
    }
}

}  // namespace zep
