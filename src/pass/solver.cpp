#include "pass/solver.h"

#include <algorithm>
#include <cmath>

#include "sweep/mesh_sweep.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/shapes.h"

namespace zep {

namespace {

// The sweep runs in a space where the ellipsoid is a unit sphere.
constexpr float kUnitSphereRadius = 1.0f;
// A face hit after this many earlier face contacts means the mover is wedged.
constexpr int kFaceContactsThatWedge = 2;

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
    const Vec3& move = contact.moveToContact;
    contact.moveLength = float(std::sqrt(double(move.x) * move.x + double(move.y) * move.y +
                                         double(move.z) * move.z));
    // Edge and vertex stay in the mesh's frame: no offset is added.
    contact.edgeStart = MultiplyComponents(contact.edgeStart, radii);
    contact.edgeEnd = MultiplyComponents(contact.edgeEnd, radii);
    contact.vertex = MultiplyComponents(contact.vertex, radii);
    contact.point = Add(contact.point, meshPosition);
    contact.center = Add(contact.center, meshPosition);
    contact.slideDestination = Add(contact.slideDestination, meshPosition);
}

int faceContactsFrom(const Contact* contact) {
    int count = 0;
    for (; contact; contact = contact->prev)
        if (contact->hitKind == kHitFace) ++count;
    return count;
}

int64_t largestCall = 0;

bool isZero(Vec3 v) { return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f; }

// After a second hit, slide along the crease where the previous contact's
// plane meets this one, instead of following this plane alone (which would
// lead back into the previous surface).
void creaseStep(Contact& contact, const Contact& previous, Vec3 radii, Vec3 end) {
    const Vec3 p = previous.point;
    const Vec3 pn = previous.normal;
    const Vec3 n = contact.normal;
    const Vec3 t = contact.triangle[0];  // corner 1 as stored, mesh frame
    const double d = Dot(Subtract(p, t), n);
    const Vec3 q = Subtract(p, Scale(n, d));
    const double e = Dot(Subtract(q, p), pn);
    const Vec3 r = Subtract(q, Scale(pn, e));
    const Vec3 s = normalized(Subtract(p, r));
    // Parallel planes (or a previous point on this plane) give no crease
    // direction; the slide this sweep computed stands, rather than sending the
    // mover back to the end of a sweep that went through the surface.
    if (isZero(s)) return;
    const Vec3 c = Add(contact.point, MultiplyComponents(n, radii));
    const double f = Dot(Subtract(c, end), s);
    contact.slideDestination = Add(end, Scale(s, f));
    contact.slideVector = Subtract(contact.slideDestination, contact.center);
}

// Picks the next movement after contact; false when the mover is wedged.
bool chooseResponse(Contact& contact, const Contact* previous, Vec3 radii, Vec3 end) {
    if (!previous) return true;
    if (contact.hitKind == kHitVertex) return true;
    if (previous->hitKind == kHitEdge && contact.hitKind == kHitEdge) return true;
    if (contact.hitKind == kHitFace && faceContactsFrom(previous) >= kFaceContactsThatWedge) {
        contact.slideDestination = contact.center;
        return false;
    }
    creaseStep(contact, *previous, radii, end);
    return true;
}

}  // namespace

void solveEllipsoidAgainstMesh(EllipsoidShape* ellipsoid, MeshShape* mesh) {
    CollisionBody* mover = ellipsoid->header.body;
    const Vec3 radii = ellipsoid->radii;
    const Vec3 meshPosition = mesh->header.body->currentPosition;
    Vec3 start = mover->previousPosition;
    // Earlier solver calls of this pass may already have corrected the end:
    // aim at their correction, not at the raw target they found blocked.
    Vec3 end = mover->contactsTail ? mover->contactsTail->slideDestination : mover->currentPosition;
    int64_t iterations = 0;
    for (bool carryOn = true; carryOn;) {
        const SweepResult* hit =
            SweepMesh(mesh, start, end, radii, kUnitSphereRadius, mover->contactsHead, &ellipsoid->sweepCache);
        if (!hit || !hit->found) return;
        Contact* previous = mover->contactsTail;
        Contact* contact = appendContact(mover);
        if (!contact) return;  // out of memory: the mover keeps what it has so far
        largestCall = std::max(largestCall, ++iterations);
        setContactMesh(contact, mesh);
        copyHit(*contact, *hit);
        toWorldUnits(*contact, radii, meshPosition);
        carryOn = chooseResponse(*contact, previous, radii, end);
        start = contact->center;
        end = contact->slideDestination;
    }
}

namespace testing {
int64_t largestSolverCall() { return largestCall; }
void resetSolverWork() { largestCall = 0; }
}  // namespace testing

}  // namespace zep
