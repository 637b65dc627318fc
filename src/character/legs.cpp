#include "character/legs.h"

#include <cmath>

#include "character/ground.h"
#include "pass/solver.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/shapes.h"
#include "world/sweep_records.h"

namespace zep {

namespace {

// How far the contact's point rises above the ground's plane.
// Above this (in radii of y) an edge has risen over the ground's plane.
constexpr double kRisen = 1e-3;

double riseOverGround(const Contact& contact, const WalkLimits& limits) {
    return Dot(Subtract(contact.point, limits.basePoint), limits.baseNormal);
}

bool blocksWalk(const Contact& contact, const WalkLimits& limits) {
    if (contact.hitKind == kHitFace) return double(faceNormal(contact).y) < limits.walkableCos;
    if (limits.onGround) return riseOverGround(contact, limits) > double(limits.stepOffset);
    return !isWalkable(contact, limits.radii, limits.walkableCos);
}

// The direction, level, in which a wall pushes back: its normal without its
// vertical part (the contact's direction for an edge or a corner).
Vec3 levelPushOf(const Contact& contact) {
    const Vec3 n = contact.hitKind == kHitFace ? faceNormal(contact) : contact.normal;
    return normalized(Vec3{n.x, 0.0f, n.z});
}

// A wall takes from the rest of the move what goes into it, level, and
// lets none of it climb.
void slideAlongWall(Contact& contact, Vec3 end) {
    const Vec3 push = levelPushOf(contact);
    Vec3 rest = Subtract(end, contact.center);
    const double into = Dot(rest, push);
    if (into < 0.0) rest = Subtract(rest, Scale(push, into));
    if (rest.y > 0.0f) rest.y = 0.0f;
    contact.slideDestination = Add(contact.center, rest);
    contact.slideVector = rest;
}

}  // namespace

bool isStepEdge(const Contact& contact, const WalkLimits& limits) {
    if (!limits.onGround || contact.hitKind == kHitFace || !isBelow(contact)) return false;
    const double rise = riseOverGround(contact, limits);
    return rise > kRisen * double(limits.radii.y) && rise <= double(limits.stepOffset);
}

namespace {

bool respondToWalk(Contact& contact, Vec3 end, const void* context) {
    if (blocksWalk(contact, *static_cast<const WalkLimits*>(context))) slideAlongWall(contact, end);
    return true;
}

// Walkable ground ends a fall where it is met: gravity on a slope the
// character can stand on does not make it creep down, nor off the edge of
// a step it climbs.
bool respondToFall(Contact& contact, Vec3, const void* context) {
    const WalkLimits& limits = *static_cast<const WalkLimits*>(context);
    if (!isWalkable(contact, limits.radii, limits.walkableCos) && !isStepEdge(contact, limits)) return true;
    contact.slideDestination = contact.center;
    contact.slideVector = Vec3{0.0f, 0.0f, 0.0f};
    return false;
}

ChainRules rulesOf(const Leg& leg) {
    switch (leg.kind) {
        case LegKind::kWalk: return ChainRules{&respondToWalk, leg.limits};
        case LegKind::kFall: return ChainRules{&respondToFall, leg.limits};
        default: return ChainRules{};
    }
}

}  // namespace

Vec3 runLeg(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, const Leg& leg, Vec3 start, Vec3 end,
            Contact** first) {
    CollisionBody* body = ellipsoid.header.body;
    const SetAsideContacts earlier = setContactsAside(body);
    const Vec3 reached = slideChain(pass, ellipsoid, chain, start, end, rulesOf(leg));
    *first = body->contactsHead;
    putContactsBack(body, earlier);
    return reached;
}

}  // namespace zep
