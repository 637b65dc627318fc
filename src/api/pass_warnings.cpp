#include "api/pass_warnings.h"

#include <bitset>

#include "api/diagnostics.h"
#include "api/state.h"
#include "world/object.h"
#include "world/rules.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zep {

namespace {

constexpr const char kCommand[] = "RunCollisionZEP";
// The face checks walk every triangle of a mesh for every mover that meets
// it, so they look only at meshes this small: floors, ramps, rooms and
// props, the meshes a newcomer's first scene is made of.
constexpr int32_t kFaceCheckTriangles = 256;

enum Cause { kNoRule, kRuleMeetsNothing, kNeverActivated, kFacesAway, kCauseCount };

static_assert(kCauseCount == kPassWarningCauses, "the world keeps a record per cause");

// True the first time for this object and cause.
bool firstTime(Cause cause, int32_t number) {
    if (!objectNumberInRange(number) || world().reports.passWarned[cause][uint32_t(number)]) return false;
    world().reports.passWarned[cause][uint32_t(number)] = true;
    return true;
}

bool typeInRange(int32_t type) { return uint32_t(type) <= kMaxRuleType; }

bool isMover(const CollisionBody* body) { return body->active && hasShapeOfKind(body, kShapeEllipsoid); }

// Types with at least one active mesh shape this pass.
std::bitset<kRuleTableSize> activeMeshTypes() {
    std::bitset<kRuleTableSize> types;
    for (const CollisionBody* body = world().bodyListHead; body; body = body->next)
        if (body->active && typeInRange(body->collisionType) && hasShapeOfKind(body, kShapeMesh))
            types[uint32_t(body->collisionType)] = true;
    return types;
}

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

// The active mover types that some rule lets meet this mesh's type.
bool someMoverMeets(const CollisionBody* mesh) {
    for (const CollisionBody* mover = world().bodyListHead; mover; mover = mover->next)
        if (mover != mesh && isMover(mover) && rulePairsTypes(world(), mover, mesh)) return true;
    return false;
}

void warnNeverActivated(const CollisionBody* body) {
    const uint32_t number = uint32_t(body->objectNumber);
    const bool wasActive = body->active || world().reports.seenActive[number];
    if (wasActive || !hasShapeOfKind(body, kShapeMesh) || !someMoverMeets(body)) return;
    if (!firstTime(kNeverActivated, body->objectNumber)) return;
    warnAbout(kCommand, body->objectNumber,
              "the mesh is not met: a rule lets movers meet its type %d, but it was never activated (ActivateObjZEP)",
              int(body->collisionType));
}

// ---- the face checks --------------------------------------------------------

struct Point {
    double x, y, z;
};
Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
double dot(Point a, Point b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Point cross(Point a, Point b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Point point(Vec3 v) { return {v.x, v.y, v.z}; }

struct WorldTriangle {
    Point a, b, c, normal;  // normal unnormalised, towards the front
};

WorldTriangle inWorld(const TriangleCorners& t, Vec3 meshPosition) {
    const Point at = point(meshPosition);
    WorldTriangle w{point(t.corner1) + at, point(t.corner2) + at, point(t.corner3) + at, {}};
    w.normal = cross(w.b - w.a, w.c - w.a);
    return w;
}

bool inFront(const WorldTriangle& t, Point p) { return dot(t.normal, p - t.a) > 0.0; }

// The centre's path from start to end went through the triangle from its
// back: a floor wound the wrong way that the mover fell through.
bool passedThroughBack(const WorldTriangle& t, Point start, Point end) {
    const double ds = dot(t.normal, start - t.a), de = dot(t.normal, end - t.a);
    if (!(ds <= 0.0 && de > 0.0)) return false;
    const double at = ds / (ds - de);
    const Point p{start.x + (end.x - start.x) * at, start.y + (end.y - start.y) * at, start.z + (end.z - start.z) * at};
    return dot(cross(t.b - t.a, p - t.a), t.normal) >= 0.0 && dot(cross(t.c - t.b, p - t.b), t.normal) >= 0.0 &&
           dot(cross(t.a - t.c, p - t.c), t.normal) >= 0.0;
}

enum class Facing { Towards, Away, AwayAndPassedThrough };

// One mover against one small mesh: whether some triangle had the mover's
// centre in front of it where the pass started (where it ended says
// nothing: a mover that fell through a floor is in front of its back), and
// if none did, whether the mover went through one of them from behind.
Facing facing(const CollisionBody* mover, const CollisionBody* meshBody, const MeshShape& mesh) {
    const Point start = point(mover->previousPosition), end = point(mover->currentPosition);
    bool passedThrough = false;
    for (const TriangleCorners& t : mesh.triangles) {
        const WorldTriangle w = inWorld(t, meshBody->currentPosition);
        if (inFront(w, start)) return Facing::Towards;
        passedThrough = passedThrough || passedThroughBack(w, start, end);
    }
    return passedThrough ? Facing::AwayAndPassedThrough : Facing::Away;
}

bool smallMesh(const CollisionShape* shape) {
    const MeshShape* mesh = asMesh(const_cast<CollisionShape*>(shape));
    return mesh && mesh->triangles.count > 0 && mesh->triangles.count <= kFaceCheckTriangles;
}

void checkMeshFaces(const CollisionBody* meshBody) {
    if (world().reports.passWarned[kFacesAway][uint32_t(meshBody->objectNumber)]) return;
    for (const CollisionShape* shape = meshBody->shapesHead; shape; shape = shape->next) {
        if (!smallMesh(shape)) continue;
        const MeshShape& mesh = *asMesh(const_cast<CollisionShape*>(shape));
        bool facesSome = false;
        int32_t fellThrough = -1;  // a mover that went through it from behind
        for (const CollisionBody* mover = world().bodyListHead; mover && !facesSome; mover = mover->next) {
            if (mover == meshBody || !isMover(mover) || !rulePairsTypes(world(), mover, meshBody)) continue;
            const Facing f = facing(mover, meshBody, mesh);
            facesSome = f == Facing::Towards;
            if (f == Facing::AwayAndPassedThrough && fellThrough < 0) fellThrough = mover->objectNumber;
        }
        if (!facesSome && fellThrough >= 0 && firstTime(kFacesAway, meshBody->objectNumber))
            warnAbout(kCommand, meshBody->objectNumber,
                      "all %d triangles face away from every mover that meets them, and mover %d went through "
                      "one from behind: a triangle is met only from the side its corners run counter-clockwise",
                      int(mesh.triangles.count), int(fellThrough));
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
        }
        warnNeverActivated(body);
    }
}

void warnAfterPass() {
    if (!warningsWanted()) return;
    for (const CollisionBody* body = world().bodyListHead; body; body = body->next)
        if (body->active && objectNumberInRange(body->objectNumber) && hasShapeOfKind(body, kShapeMesh))
            checkMeshFaces(body);
}

void forgetPassWarnings() {
    for (auto& objects : world().reports.passWarned) objects.reset();
    world().reports.seenActive.reset();
}

}  // namespace zep
