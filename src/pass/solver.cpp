#include "pass/solver.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "pass/pass_work.h"
#include "pass/step_meshes.h"
#include "pass/unswept_moves.h"
#include "sweep/crossing.h"
#include "sweep/sweep_cache.h"
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
    contact.moveLength = float(std::sqrt(squaredLengthXYZ(contact.moveToContact)));
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

// A crease between a contact and one on the same plane, or on a plane
// tilted by less than rounding can tell, has no direction: Normalize would
// turn the noise of p − r into a unit vector pointing anywhere and shove the
// mover sideways across every seam of a flat floor. Compared in the sweep's
// unit-sphere space, where 1 − cos of the angle between the normals is the
// depth in radii by which the sphere dips into a grazing edge: seams of
// coplanar triangles near the origin tilt by at most about 1e-5 there, and
// half an ulp of the centre's largest coordinate in radii (2^-24 X) bounds
// the height a sweep far from the origin can resolve. Signed, so a floor and
// a ceiling keep their crease.
constexpr double kParallelAtOrigin = 3.0e-5;
constexpr double kParallelPerCoordinate = 0x1p-22;

double largestCoordinateInRadii(Vec3 centre, Vec3 radii) {
    const double q[3] = {std::fabs(double(centre.x)) / double(radii.x), std::fabs(double(centre.y)) / double(radii.y),
                         std::fabs(double(centre.z)) / double(radii.z)};
    double largest = 0.0;
    for (double value : q)
        if (value > largest) largest = value;
    return largest;
}

// NaN anywhere answers no.
bool onParallelPlanes(const Contact& contact, const Contact& previous, Vec3 radii) {
    const Vec3 a = DivideComponents(contact.normal, radii);
    const Vec3 b = DivideComponents(previous.normal, radii);
    const double aa = Dot(a, a);
    const double bb = Dot(b, b);
    const double ab = Dot(a, b);
    const double limit = kParallelAtOrigin + kParallelPerCoordinate * largestCoordinateInRadii(contact.center, radii);
    return aa > 0.0 && bb > 0.0 && 1.0 - ab / std::sqrt(aa * bb) <= limit;
}

// Along a surface parallel to the previous one: a face keeps the slide its
// sweep computed. An edge goes on to the step's end: it stands at most the
// tolerance above the previous plane, so the end overlaps it by no more than
// that, while its own slide plane passes through the edge's far end and
// would sink the mover.
void slideAlongParallel(Contact& contact, Vec3 end) {
    if (contact.hitKind != kHitEdge) return;
    contact.slideDestination = end;
    contact.slideVector = Subtract(end, contact.center);
}

// The crease of a mover whose radii differ: world normals point from the
// contact to the centre and are weighted by the radii, so the world crease
// line is not where the two surfaces meet. In the unit-sphere space it is.
void creaseStepInUnitSpace(Contact& contact, const Contact& previous, Vec3 radii, Vec3 end) {
    const Vec3 ne = normalized(DivideComponents(contact.normal, radii));
    const Vec3 pne = normalized(DivideComponents(previous.normal, radii));
    const Vec3 s = normalized(Subtract(ne, Scale(pne, Dot(ne, pne))));
    if (isZero(s)) return;  // as in the world-space step: the sweep's slide stands
    const Vec3 centre = DivideComponents(contact.center, radii);
    const Vec3 target = DivideComponents(end, radii);
    const double f = Dot(Subtract(centre, target), s);
    contact.slideDestination = MultiplyComponents(Add(target, Scale(s, f)), radii);
    contact.slideVector = Subtract(contact.slideDestination, contact.center);
}

bool isSphere(Vec3 radii) { return radii.x == radii.y && radii.y == radii.z; }

// Picks the next movement after contact; false when the mover is wedged.
bool chooseResponse(Contact& contact, const Contact* previous, Vec3 radii, Vec3 end) {
    if (!previous) return true;
    if (contact.hitKind == kHitVertex) return true;
    if (previous->hitKind == kHitEdge && contact.hitKind == kHitEdge) return true;
    if (contact.hitKind == kHitFace && faceContactsFrom(previous) >= kFaceContactsThatWedge) {
        contact.slideDestination = contact.center;
        return false;
    }
    if (onParallelPlanes(contact, *previous, radii))
        slideAlongParallel(contact, end);
    else if (isSphere(radii))
        creaseStep(contact, *previous, radii, end);
    else
        creaseStepInUnitSpace(contact, *previous, radii, end);
    return true;
}

// One step: every mesh the step can reach, each sweep taking only hits no
// farther than the nearest so far, so the last mesh with a hit holds the
// nearest of all. nullptr when nothing is hit (or memory for the list runs
// out, which ends the call like a sweep that finds nothing).
const SweepResult* nearestHit(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, Vec3 start,
                              Vec3 end, const Contact* firstContact, MeshShape** hitMesh) {
    StepMeshes meshes{&chain.onlyMesh, 1};
    if (!chain.onlyMesh && !gatherStepMeshes(pass, ellipsoid, chain.table, start, end, meshes)) return nullptr;
    const SweepResult* best = nullptr;
    StepCacheHolder cache(ellipsoid.sweepCache);
    for (int32_t i = 0; i < meshes.count; ++i) {
        MeshShape* mesh = meshes.meshes[i];
        std::optional<float> limit;
        if (best) limit = best->nearestDistance;
        const SweepResult* hit = SweepMesh(pass.work.sweep, mesh, start, end, ellipsoid.radii, kUnitSphereRadius,
                                           firstContact, cache.offer(), limit);
        cache.swept(*mesh);
        if (hit && hit->found) {
            best = hit;
            *hitMesh = mesh;
        }
    }
    return best;
}

// Where the centre would be at the hit, in world units, as the contact made
// from it will hold it.
Vec3 worldCentre(const SweepResult& hit, Vec3 radii, const MeshShape& mesh) {
    return Add(MultiplyComponents(hit.centerAtContact, radii), mesh.header.body->currentPosition);
}

bool pushCrossesChainMeshes(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, Vec3 from, Vec3 to) {
    if (chain.onlyMesh) return segmentCrossesMesh(pass.work.sweep, *chain.onlyMesh, from, to);
    return segmentCrossesPairedMeshes(pass, ellipsoid, chain.table, from, to);
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
        const SweepResult* hit = nearestHit(pass, *ellipsoid, chain, start, end, mover->contactsHead, &mesh);
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
            (++pushOuts > 1 || pushCrossesChainMeshes(pass, *ellipsoid, chain, start, contact->center)))
            meetFaceAtStart(*contact, start);
        carryOn = chooseResponse(*contact, previous, radii, end);
        start = contact->center;
        end = contact->slideDestination;
    }
}

}  // namespace zep
