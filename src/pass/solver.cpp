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

Vec3 slideChain(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, Vec3 start, Vec3 end,
                const ChainRules& rules) {
    CollisionBody* mover = ellipsoid.header.body;
    const Vec3 radii = ellipsoid.radii;
    int64_t iterations = 0;
    int pushOuts = 0;
    for (bool carryOn = true; carryOn;) {
        MeshShape* mesh = nullptr;
        const SweepResult* hit = sweepStep(pass, ellipsoid, chain, start, end, mover->contactsHead, &mesh);
        Contact* previous = mover->contactsTail;
        Contact* contact = guardedStepContact(pass, ellipsoid, chain, hit, mesh, start, end, pushOuts);
        // No contact: the step went all the way, or a guard rested the
        // mover at its last contact; either way that contact's slide
        // destination says where the chain ended.
        if (!contact) return mover->contactsTail ? mover->contactsTail->slideDestination : end;
        pass.work.largestSolverCall = std::max(pass.work.largestSolverCall, ++iterations);
        carryOn = chooseResponse(*contact, previous, radii, end);
        if (rules.respond) carryOn = rules.respond(*contact, end, rules.context) && carryOn;
        start = contact->center;
        end = contact->slideDestination;
    }
    return end;
}

void solveEllipsoid(Pass& pass, EllipsoidShape* ellipsoid, const ChainMeshes& chain) {
    CollisionBody* mover = ellipsoid->header.body;
    // Earlier calls of this pass (the mover's other ellipsoids) may already
    // have corrected the end: aim at their correction.
    const Vec3 end = mover->contactsTail ? mover->contactsTail->slideDestination : mover->currentPosition;
    slideChain(pass, *ellipsoid, chain, mover->previousPosition, end);
}

}  // namespace zep
