#include "character/character_move.h"

#include <algorithm>
#include <cmath>

#include "character/ground.h"
#include "character/legs.h"
#include "pass/pass_work.h"
#include "pass/step_meshes.h"
#include "world/character.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zep {

namespace {

// Below this share of its walk a walk counts as blocked, and a step up is tried.
constexpr double kBlockedShare = 0.99;
// A character that stood still keeps finding its ground: it looks this far
// down (in radii of y) even with no snap distance.
constexpr float kGroundProbe = 1e-3f;

struct Move {
    Pass& pass;
    CollisionBody& body;
    EllipsoidShape& ellipsoid;
    CharacterRecord& character;
    ChainMeshes chain;
    WalkLimits limits;
};

EllipsoidShape* firstEllipsoid(CollisionBody& body) {
    for (CollisionShape* shape = body.shapesHead; shape; shape = shape->next)
        if (EllipsoidShape* ellipsoid = asEllipsoid(shape)) return ellipsoid;
    return nullptr;
}

Vec3 leg(Move& m, LegKind kind, Vec3 start, Vec3 end, Contact** first) {
    return runLeg(m.pass, m.ellipsoid, m.chain, Leg{kind, &m.limits}, start, end, first);
}

double levelDistance(Vec3 a, Vec3 b) {
    const double dx = double(b.x) - double(a.x), dz = double(b.z) - double(a.z);
    return std::sqrt(dx * dx + dz * dz);
}

// The body the character stood on in the last pass, if it is still there,
// active and has moved since; its move carries the character first.
const CollisionBody* movedPlatform(const World& world, const CharacterRecord& c) {
    if (c.ground == kInAir || !objectNumberInRange(c.groundObject)) return nullptr;
    const CollisionObject* object = objectAt(world, c.groundObject);
    const CollisionBody* platform = object ? object->body : nullptr;
    if (!platform || !platform->active) return nullptr;
    const Vec3 p = platform->currentPosition, q = c.groundBodyPosition;
    return p.x == q.x && p.y == q.y && p.z == q.z ? nullptr : platform;
}

Vec3 carry(Move& m, Vec3 at) {
    const CollisionBody* platform = movedPlatform(m.pass.world, m.character);
    if (!platform) return at;
    const Vec3 by = Subtract(platform->currentPosition, m.character.groundBodyPosition);
    ChainMeshes chain = m.chain;
    chain.skip = platform;  // it moves with the character
    Contact* first = nullptr;
    const Vec3 carried = runLeg(m.pass, m.ellipsoid, chain, Leg{LegKind::kFree, &m.limits}, at, Add(at, by), &first);
    m.limits.basePoint = Add(m.limits.basePoint, by);
    return carried;
}

// The last contact below the centre from `first` on: what the character
// stands on, if anything.
const Contact* groundContact(const Contact* first) {
    const Contact* ground = nullptr;
    for (const Contact* contact = first; contact; contact = contact->next)
        if (isBelow(*contact)) ground = contact;
    return ground;
}

// Ground to stand on: walkable, or the edge of a step being climbed.
bool supports(const Move& m, const Contact& contact) {
    return isWalkable(contact, m.limits.radii, m.limits.walkableCos) || isStepEdge(contact, m.limits);
}

// Up by the step offset, the walk from there, and down again: taken only
// when it lands on walkable ground no higher than the step offset and gets
// farther than the blocked walk did.
Vec3 stepUp(Move& m, Vec3 from, Vec3 walk, Vec3 blockedAt) {
    Contact* keep = m.body.contactsTail;
    Contact* first = nullptr;
    const Vec3 up = leg(m, LegKind::kFree, from, Add(from, Vec3{0.0f, m.character.stepOffset, 0.0f}), &first);
    const Vec3 ahead = leg(m, LegKind::kWalk, up, Add(up, walk), &first);
    const float climbed = up.y - from.y;
    Contact* landing = nullptr;
    const Vec3 down = leg(m, LegKind::kFall, ahead, Subtract(ahead, Vec3{0.0f, climbed, 0.0f}), &landing);
    const Contact* ground = groundContact(landing);
    const bool landed = ground && supports(m, *ground);
    if (landed && down.y - from.y <= m.character.stepOffset &&
        levelDistance(from, down) > levelDistance(from, blockedAt))
        return down;
    dropContactsAfter(&m.body, keep);
    return blockedAt;
}

Vec3 walk(Move& m, Vec3 at, Vec3 wanted) {
    const Vec3 walk{wanted.x, 0.0f, wanted.z};
    if (isZero(walk)) return at;
    Contact* first = nullptr;
    const Vec3 walked = leg(m, LegKind::kWalk, at, Add(at, walk), &first);
    const double wantedLength = levelDistance(Vec3{}, walk);
    const bool blocked = levelDistance(at, walked) < kBlockedShare * wantedLength;
    if (!blocked || !m.limits.onGround || m.character.stepOffset <= 0.0f) return walked;
    return stepUp(m, at, walk, walked);
}

// A fall that slides off an edge loses height to the slide: a snap falls
// again from where it slid to, this many times at most.
constexpr int kSnapFalls = 4;

// Down by up to the snap distance onto walkable ground, or not at all.
Vec3 snap(Move& m, Vec3 at, float distance, const Contact** ground) {
    Contact* keep = m.body.contactsTail;
    Vec3 down = at;
    for (int fall = 0; fall < kSnapFalls; ++fall) {
        const float left = distance - (at.y - down.y);
        if (!(left > 0.0f)) break;
        Contact* first = nullptr;
        down = leg(m, LegKind::kFall, down, Subtract(down, Vec3{0.0f, left, 0.0f}), &first);
        const Contact* found = groundContact(first);
        if (found && supports(m, *found)) {
            *ground = found;
            return down;
        }
        if (!first) break;
    }
    dropContactsAfter(&m.body, keep);
    return at;
}

void recordGround(Move& m, const Contact* ground) {
    CharacterRecord& c = m.character;
    const CollisionBody* on = ground && ground->meshShape ? ground->meshShape->header.body : nullptr;
    if (!on) {
        c.ground = kInAir;
        c.groundNormal = Vec3{};
        c.groundObject = 0;
        return;
    }
    const bool walkable = isWalkable(*ground, m.limits.radii, c.walkableCos);
    c.ground = walkable || isStepEdge(*ground, m.limits) ? kOnWalkableGround : kOnSteepGround;
    c.groundNormal = groundNormalOf(*ground, m.limits.radii, c.walkableCos);
    c.groundObject = on->objectNumber;
    c.groundBodyPosition = on->currentPosition;
    // A step's edge is climbed from the plane below it.
    if (walkable) {
        c.stepBasePoint = ground->point;
        c.stepBaseNormal = c.groundNormal;
    } else if (c.ground == kOnWalkableGround) {
        c.stepBasePoint = m.limits.basePoint;
        c.stepBaseNormal = m.limits.baseNormal;
    }
}

WalkLimits limitsOf(const CharacterRecord& c, Vec3 radii) {
    return WalkLimits{radii, c.walkableCos, c.stepOffset, c.ground == kOnWalkableGround, c.stepBasePoint,
                      c.stepBaseNormal};
}

}  // namespace

void moveCharacter(Pass& pass, CollisionBody& body, const PartnerTable* table) {
    body.processed = 1;
    EllipsoidShape* ellipsoid = firstEllipsoid(body);
    CharacterRecord& c = *body.character;
    c.endOfPass = body.currentPosition;
    if (!ellipsoid) return;
    Move m{pass, body, *ellipsoid, c, ChainMeshes{table, nullptr}, limitsOf(c, ellipsoid->radii)};
    const Vec3 wanted = Subtract(body.currentPosition, body.previousPosition);
    Vec3 at = carry(m, body.previousPosition);
    at = walk(m, at, wanted);
    Contact* fallFirst = nullptr;
    if (wanted.y != 0.0f) at = leg(m, LegKind::kFall, at, Add(at, Vec3{0.0f, wanted.y, 0.0f}), &fallFirst);
    const Contact* ground = wanted.y < 0.0f ? groundContact(fallFirst) : nullptr;
    const bool wasOnGround = c.ground == kOnWalkableGround;
    if (wanted.y <= 0.0f && wasOnGround && !(ground && supports(m, *ground))) {
        const float probe = std::max(c.snapDistance, kGroundProbe * ellipsoid->radii.y);
        const Contact* snapped = nullptr;
        at = snap(m, at, probe, &snapped);
        if (snapped) ground = snapped;
    }
    recordGround(m, ground);
    c.touched = touchedBy(body.contactsHead, ellipsoid->radii, c.walkableCos);
    c.endOfPass = at;
}

}  // namespace zep
