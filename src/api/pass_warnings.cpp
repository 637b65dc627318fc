#include "api/pass_warnings.h"

#include <algorithm>
#include <bitset>
#include <cmath>

#include "api/diagnostics.h"
#include "api/state.h"
#include "base/same_bits.h"
#include "base/vec3d.h"
#include "pass/pass_work.h"
#include "sweep/crossing.h"
#include "world/object.h"
#include "world/rules.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zep {

namespace {

constexpr const char kCommand[] = "RunCollisionZEP";
// A mesh this small (floors, ramps, rooms, props: what a first scene is
// made of) is searched whole for the triangle a mover went through from
// behind; a larger one only through its index, so that a level does not
// cost every mover a walk over all its triangles.
constexpr int32_t kWholeSearchTriangles = 256;
// How far from a mesh's position, in the mover's radii, its sweeps have been
// measured to land as well as at the position itself.
constexpr double kSafeRadii = 1e6;
// How far back along a mover's path, in its largest radius, the look for
// an enclosing solid goes, and how many triangles' boxes on the way it
// tests at most (beyond that it takes the mover to be in the open).
constexpr double kEnclosureRadii = 64;
constexpr int32_t kEnclosureCandidates = 4096;

enum Cause {
    kNoRule,
    kRuleMeetsNothing,
    kNeverActivated,
    kThroughBack,
    kMoverNeverActivated,
    kSweptFromOrigin,
    kOutsideSafeRange,
    kCauseCount
};

static_assert(kCauseCount == kPassWarningCauses, "the world keeps a record per cause");

bool alreadyWarned(Cause cause, int32_t number) { return world().reports.passWarned[cause][uint32_t(number)]; }

// True the first time for this object and cause.
bool firstTime(Cause cause, int32_t number) {
    if (!objectNumberInRange(number) || alreadyWarned(cause, number)) return false;
    world().reports.passWarned[cause][uint32_t(number)] = true;
    return true;
}

bool typeInRange(int32_t type) { return uint32_t(type) <= kMaxRuleType; }

bool isMover(const CollisionBody* body) { return body->active && hasShapeOfKind(body, kShapeEllipsoid); }

// Placed once, a body still has (0, 0, 0) as where it was: a pass sweeps it
// in from there.
bool sweepsFromOrigin(const CollisionBody* body) { return body->placements == 1 && !isZero(body->currentPosition); }

// Types with at least one active mesh shape this pass.
std::bitset<kRuleTableSize> activeMeshTypes() {
    std::bitset<kRuleTableSize> types;
    for (const CollisionBody* body = world().bodyListHead; body; body = body->next)
        if (body->active && typeInRange(body->collisionType) && hasShapeOfKind(body, kShapeMesh))
            types[uint32_t(body->collisionType)] = true;
    return types;
}

// ---- before the pass: what the rules, activations and placements leave out

void warnUnruledMover(const CollisionBody* body) {
    if (ruleMovesType(world(), body) || hasShapeOfKind(body, kShapeMesh) || !firstTime(kNoRule, body->objectNumber)) return;
    warnAbout(kCommand, body->objectNumber,
              "the ellipsoid meets nothing: no SetCollisionZEP rule moves its type %d (SetCollisionZEP %d, MESHTYPE)",
              int(body->collisionType), int(body->collisionType));
}

void warnRulesMeetingNothing(const CollisionBody* mover, const std::bitset<kRuleTableSize>& meshTypes) {
    if (!typeInRange(mover->collisionType)) return;
    for (const CollisionRule* rule = world().ruleChainHeads[mover->collisionType]; rule; rule = rule->chainNext) {
        if (meshTypes[uint32_t(rule->typeB)] || !firstTime(kRuleMeetsNothing, mover->objectNumber)) continue;
        warnAbout(kCommand, mover->objectNumber,
                  "rule %d -> %d meets nothing: no active object of type %d has a mesh shape", int(rule->typeA),
                  int(rule->typeB), int(rule->typeB));
        return;
    }
}

void warnSweptFromOrigin(const CollisionBody* mover) {
    if (!sweepsFromOrigin(mover) || !ruleMovesType(world(), mover) || !firstTime(kSweptFromOrigin, mover->objectNumber))
        return;
    const Vec3 to = mover->currentPosition;
    warnAbout(kCommand, mover->objectNumber,
              "this pass sweeps the ellipsoid in from (0, 0, 0), where a new object starts, to (%g, %g, %g): it had "
              "one UpdateObjZEP, and a pass sweeps from where the last but one put it; place it with two (where it "
              "is, then where it goes)",
              double(to.x), double(to.y), double(to.z));
}

bool wasEverActive(const CollisionBody* body) {
    return body->active || world().reports.seenActive[uint32_t(body->objectNumber)];
}

void warnMoverNeverActivated(const CollisionBody* body) {
    const bool moved = body->placements == 2 && !sameBits(body->previousPosition, body->currentPosition);
    if (wasEverActive(body) || !moved || !hasShapeOfKind(body, kShapeEllipsoid) || !ruleMovesType(world(), body)) return;
    if (!firstTime(kMoverNeverActivated, body->objectNumber)) return;
    warnAbout(kCommand, body->objectNumber,
              "the ellipsoid goes through everything: UpdateObjZEP moves it and a rule moves its type %d, but it was "
              "never activated (ActivateObjZEP), so no pass sweeps it",
              int(body->collisionType));
}

// The active mover types that some rule lets meet this mesh's type.
bool someMoverMeets(const CollisionBody* mesh) {
    for (const CollisionBody* mover = world().bodyListHead; mover; mover = mover->next)
        if (mover != mesh && isMover(mover) && rulePairsTypes(world(), mover, mesh)) return true;
    return false;
}

void warnNeverActivated(const CollisionBody* body) {
    if (wasEverActive(body) || !hasShapeOfKind(body, kShapeMesh) || !someMoverMeets(body)) return;
    if (!firstTime(kNeverActivated, body->objectNumber)) return;
    warnAbout(kCommand, body->objectNumber,
              "the mesh is not met: a rule lets movers meet its type %d, but it was never activated (ActivateObjZEP)",
              int(body->collisionType));
}

// ---- after the pass: how the movers met the meshes -------------------------

// Whether the ellipsoid's path, grown by its radii, meets the box of some
// mesh of the body: only the triangles near a mover take part in its
// sweeps, so a far piece of a level is no concern however far it is.
bool pathNearMesh(const CollisionBody* mover, const EllipsoidShape& ellipsoid, const CollisionBody* meshBody) {
    const Vec3 from = mover->previousPosition, to = mover->currentPosition, at = meshBody->currentPosition;
    const auto near = [&](float lo, float hi, float a, float b, float radius, float offset) {
        const double r = std::fabs(double(radius));
        return std::min(double(a), double(b)) - r <= double(hi) + offset &&
               std::max(double(a), double(b)) + r >= double(lo) + offset;
    };
    for (CollisionShape* shape = meshBody->shapesHead; shape; shape = shape->next) {
        const MeshShape* mesh = asMesh(shape);
        if (!mesh || mesh->triangles.count == 0 || !mesh->allFinite) continue;
        const Box3& box = mesh->bounds;
        const Vec3 r = ellipsoid.radii;
        if (near(box.lo.x, box.hi.x, from.x, to.x, r.x, at.x) && near(box.lo.y, box.hi.y, from.y, to.y, r.y, at.y) &&
            near(box.lo.z, box.hi.z, from.z, to.z, r.z, at.z))
            return true;
    }
    return false;
}

// How far the ellipsoid's path runs from the mesh's position, in its radii
// along each axis (infinite for a radius of 0 away from it).
double radiiFromMesh(const CollisionBody* mover, const EllipsoidShape& ellipsoid, const CollisionBody* meshBody) {
    const Vec3d at = widen(meshBody->currentPosition), radii = widen(ellipsoid.radii);
    double farthest = 0.0;
    for (Vec3 end : {mover->previousPosition, mover->currentPosition}) {
        const Vec3d d = minus(widen(end), at);
        for (double ratio : {d.x / radii.x, d.y / radii.y, d.z / radii.z}) farthest = std::max(farthest, std::fabs(ratio));
    }
    return farthest;
}

void warnOutsideSafeRange(const CollisionBody* mover, const CollisionBody* meshBody) {
    if (alreadyWarned(kOutsideSafeRange, mover->objectNumber)) return;
    for (CollisionShape* shape = mover->shapesHead; shape; shape = shape->next) {
        const EllipsoidShape* ellipsoid = asEllipsoid(shape);
        if (!ellipsoid || !pathNearMesh(mover, *ellipsoid, meshBody)) continue;
        const double radii = radiiFromMesh(mover, *ellipsoid, meshBody);
        if (!(radii > kSafeRadii) || !firstTime(kOutsideSafeRange, mover->objectNumber)) continue;
        warnAbout(kCommand, mover->objectNumber,
                  "the ellipsoid's path runs %.3g of its radii from mesh %d's position, past the 10^6 radii within "
                  "which sweeps in 32-bit floats land reliably: keep coordinates nearer the mesh's position, or the "
                  "radii larger",
                  radii, int(meshBody->objectNumber));
        return;
    }
}

// True when the point is in front of none of the mesh's triangles (a small
// mesh: it looks at them all).
bool everyTriangleFacesAway(const MeshShape& mesh, Vec3 meshPosition, Vec3 point) {
    const Vec3d p = minus(widen(point), widen(meshPosition));
    for (const TriangleCorners& t : mesh.triangles) {
        const Vec3d a = widen(t.corner1);
        const Vec3d normal = cross(minus(widen(t.corner2), a), minus(widen(t.corner3), a));
        if (dotXYZ(normal, minus(p, a)) > 0.0) return false;
    }
    return true;
}

// The sure sign of a small mesh wound the wrong way, a room turned inside
// out included: every triangle faces away from every mover that meets it.
bool facesAwayFromEveryMover(const CollisionBody* meshBody, const MeshShape& mesh) {
    if (mesh.triangles.count > kWholeSearchTriangles) return false;
    for (const CollisionBody* mover = world().bodyListHead; mover; mover = mover->next)
        if (mover != meshBody && isMover(mover) && rulePairsTypes(world(), mover, meshBody) &&
            !everyTriangleFacesAway(mesh, meshBody->currentPosition, mover->previousPosition))
            return false;
    return true;
}

float largestRadius(const CollisionBody* mover) {
    float largest = 0.0f;
    for (CollisionShape* shape = mover->shapesHead; shape; shape = shape->next)
        if (const EllipsoidShape* e = asEllipsoid(shape)) largest = std::max({largest, e->radii.x, e->radii.y, e->radii.z});
    return largest;
}

// Whether the first triangle of the meshes the mover meets, from its start
// along `direction` (at most kEnclosureRadii of its radii), is met from its
// back; the triangle it went through is passed over.
bool backFirstAlong(const CollisionBody* mover, Vec3 direction, const TriangleCorners* crossed) {
    const double length = std::sqrt(squaredLengthXYZ(direction));
    if (!(length > 0.0)) return false;
    const Vec3 to = Add(mover->previousPosition, Scale(direction, kEnclosureRadii * largestRadius(mover) / length));
    double nearest = 2.0;
    bool fromBehindFirst = false;
    for (const CollisionBody* body = world().bodyListHead; body; body = body->next) {
        if (body == mover || !body->active || !rulePairsTypes(world(), mover, body)) continue;
        for (CollisionShape* shape = body->shapesHead; shape; shape = shape->next) {
            const MeshShape* mesh = asMesh(shape);
            bool fromBehind = false;
            const double at = mesh ? firstMeeting(passWork().sweep, *mesh, mover->previousPosition, to,
                                                  kWholeSearchTriangles, kEnclosureCandidates, crossed, fromBehind)
                                   : 2.0;
            if (at < nearest) nearest = at, fromBehindFirst = fromBehind;
        }
    }
    return nearest <= 1.0 && fromBehindFirst;
}

// Whether the mover started enclosed: back along its path or along an
// axis, the first face it meets is met from behind. So is a walker that
// fell into a pillar open at the top and walks out through its wall, which
// is no winding mistake (the pillar's walls may lie in several meshes, so
// all are looked at); around a mover that fell through a floor wound the
// wrong way there is open air, or the fronts of a room's walls and ceiling.
bool startedEnclosed(const CollisionBody* mover, const TriangleCorners* crossed) {
    const Vec3 directions[] = {Subtract(mover->previousPosition, mover->currentPosition),
                               {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (Vec3 direction : directions)
        if (backFirstAlong(mover, direction, crossed)) return true;
    return false;
}

// Warns of the triangle the mover went through from behind, when that
// tells of winding; false when it does not (the mover started enclosed).
bool warnThroughBack(const CollisionBody* mover, const CollisionBody* meshBody, const MeshShape& mesh,
                     int32_t triangle) {
    const bool allAway = facesAwayFromEveryMover(meshBody, mesh);
    if (!allAway && startedEnclosed(mover, &triangleAt(mesh.triangles, triangle - 1))) return false;
    if (!firstTime(kThroughBack, meshBody->objectNumber)) return true;
    if (allAway)
        warnAbout(kCommand, meshBody->objectNumber,
                  "all %d triangles face away from every mover that meets them, and mover %d went through triangle "
                  "%d from behind: a triangle is met only from the side its corners run counter-clockwise",
                  int(mesh.triangles.count), int(mover->objectNumber), int(triangle));
    else
        warnAbout(kCommand, meshBody->objectNumber,
                  "triangle %d faces away from mover %d, which went through it from behind without a contact: a "
                  "triangle is met only from the side its corners run counter-clockwise",
                  int(triangle), int(mover->objectNumber));
    return true;
}

// The first triangle of the mesh the mover's centre went through from
// behind in this pass. A mover swept in from the origin is left out: its
// path is a placement mistake, warned as such, and says nothing of winding.
void checkThroughBack(const CollisionBody* mover, const CollisionBody* meshBody) {
    if (alreadyWarned(kThroughBack, meshBody->objectNumber) || mover->placements < 2) return;
    for (CollisionShape* shape = meshBody->shapesHead; shape; shape = shape->next) {
        const MeshShape* mesh = asMesh(shape);
        if (!mesh) continue;
        const int32_t triangle = triangleCrossedFromBehind(passWork().sweep, *mesh, mover->previousPosition,
                                                           mover->currentPosition, kWholeSearchTriangles);
        if (triangle > 0 && warnThroughBack(mover, meshBody, *mesh, triangle)) return;
    }
}

void checkMoversMeeting(const CollisionBody* meshBody) {
    for (const CollisionBody* mover = world().bodyListHead; mover; mover = mover->next) {
        if (mover == meshBody || !isMover(mover) || !objectNumberInRange(mover->objectNumber) ||
            !rulePairsTypes(world(), mover, meshBody))
            continue;
        warnOutsideSafeRange(mover, meshBody);
        checkThroughBack(mover, meshBody);
    }
}

}  // namespace

void warnBeforePass() {
    if (!warningsWanted()) return;
    const std::bitset<kRuleTableSize> meshTypes = activeMeshTypes();
    for (const CollisionBody* body = world().bodyListHead; body; body = body->next) {
        if (!objectNumberInRange(body->objectNumber)) continue;
        if (body->active) world().reports.seenActive[uint32_t(body->objectNumber)] = true;
        if (isMover(body)) {
            warnUnruledMover(body);
            warnRulesMeetingNothing(body, meshTypes);
            warnSweptFromOrigin(body);
        }
        warnMoverNeverActivated(body);
        warnNeverActivated(body);
    }
}

void warnAfterPass() {
    if (!warningsWanted()) return;
    for (const CollisionBody* body = world().bodyListHead; body; body = body->next)
        if (body->active && objectNumberInRange(body->objectNumber) && hasShapeOfKind(body, kShapeMesh))
            checkMoversMeeting(body);
}

void forgetPassWarnings() {
    for (auto& objects : world().reports.passWarned) objects.reset();
    world().reports.seenActive.reset();
}

}  // namespace zep
