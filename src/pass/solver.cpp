#include "pass/solver.h"

#include <algorithm>
#include <cmath>

#include "pass/pass_work.h"
#include "pass/step_meshes.h"
#include "pass/slide_response.h"
#include "pass/unswept_moves.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/shapes.h"

namespace zep {

namespace {


void copyHit(Contact& contact, const SweepResult& hit) {
    contact.hitTime = hit.hitTime;
    contact.triangleNumber = hit.triangleNumber;
    contact.hitKind = hit.hitKind;
    contact.point = hit.contactPoint;
    contact.normal = hit.normal;
    contact.center = hit.centerAtContact;
    contact.slideDestination = hit.slideDestination;
    contact.moveToContact = hit.moveToContact;
    contact.slideVector = hit.slideVector;
    for (int corner = 0; corner < 3; ++corner) contact.triangle[corner] = hit.triangle[corner];
    contact.edgeStart = hit.edgeStart;
    contact.edgeEnd = hit.edgeEnd;
    contact.vertex = hit.vertex;
}

// From the sweep's ellipsoid space back to world units; the order of these
// steps decides the rounding of every field.
void toWorldUnits(Contact& contact, Vec3 radii, Vec3 meshPosition) {
    contact.point = MultiplyComponents(contact.point, radii);
    contact.center = MultiplyComponents(contact.center, radii);
    contact.slideDestination = MultiplyComponents(contact.slideDestination, radii);
    Normalize(contact.normal, Subtract(contact.center, contact.point));
    contact.moveToContact = MultiplyComponents(contact.moveToContact, radii);
    contact.slideVector = MultiplyComponents(contact.slideVector, radii);
    contact.moveLength = float(std::sqrt(squaredLengthXYZ(contact.moveToContact)));
    // Edge and vertex stay in the mesh's frame: no offset is added.
    contact.edgeStart = MultiplyComponents(contact.edgeStart, radii);
    contact.edgeEnd = MultiplyComponents(contact.edgeEnd, radii);
    contact.vertex = MultiplyComponents(contact.vertex, radii);
    contact.point = Add(contact.point, meshPosition);
    contact.center = Add(contact.center, meshPosition);
    contact.slideDestination = Add(contact.slideDestination, meshPosition);
}

// Where the centre would be at the hit, in world units, as the contact made
// from it will hold it.
Vec3 worldCentre(const SweepResult& hit, Vec3 radii, const MeshShape& mesh) {
    return Add(MultiplyComponents(hit.centerAtContact, radii), mesh.header.body->currentPosition);
}

}  // namespace

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
        // The sweep left out the triangles met earlier in the pass; a leg
        // through one of them is not taken.
        if (mover->contactsHead && legCrossesMetTriangle(*mover, start, hit ? worldCentre(*hit, radii, *mesh) : end)) {
            restAtLastContact(*mover);
            return;
        }
        if (!hit) return;
        Contact* previous = mover->contactsTail;
        Contact* contact = appendContact(mover);
        if (!contact) return;  // out of memory: the mover keeps what it has so far
        pass.work.largestSolverCall = std::max(pass.work.largestSolverCall, ++iterations);
        setContactMesh(contact, mesh);
        copyHit(*contact, *hit);
        toWorldUnits(*contact, radii, mesh->header.body->currentPosition);
        // A push out of an embedded face is not swept either: the call's
        // first is made unless it crosses a triangle, later ones never (a
        // mover squeezed between surfaces would be thrown along a chain of
        // them).
        if (isPushOut(*contact, start, radii) &&
            (++pushOuts > 1 || chainCrossedBy(pass, *ellipsoid, chain, start, contact->center)))
            meetFaceAtStart(*contact, start);
        carryOn = chooseResponse(*contact, previous, radii, end);
        start = contact->center;
        end = contact->slideDestination;
    }
}

}  // namespace zep
