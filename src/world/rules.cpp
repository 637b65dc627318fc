#include "world/rules.h"

#include <algorithm>
#include <iterator>

#include "base/allocation.h"
#include "base/intrusive_list.h"
#include "world/object.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zep {

namespace {

// The chain of rules whose typeA is type; none for a type no rule can name.
const CollisionRule* chainOf(const World& world, int32_t type) {
    return uint32_t(type) <= kMaxRuleType ? world.ruleChainHeads[type] : nullptr;
}

bool inRuleRange(int32_t type) { return uint32_t(type) <= kMaxRuleType; }

void emptyChainTables(World& world) {
    std::fill(std::begin(world.ruleChainHeads), std::end(world.ruleChainHeads), nullptr);
    std::fill(std::begin(world.ruleChainTails), std::end(world.ruleChainTails), nullptr);
    // Only a type that moves has pairs set in its row: clearing those rows
    // alone spares a 90 KB sweep at every stop and every first rule.
    for (int32_t typeA = 0; typeA < kRuleTableSize; ++typeA) {
        if (!world.typeMoves[typeA]) continue;
        std::fill(std::begin(world.typePairs[typeA]), std::end(world.typePairs[typeA]), false);
        world.typeMoves[typeA] = false;
    }
}

// The chain walk: the plain answer, kept as the reference for the table.
bool chainPairsTypes(const World& world, int32_t typeA, int32_t typeB) {
    for (const CollisionRule* rule = chainOf(world, typeA); rule; rule = rule->chainNext)
        if (rule->typeA == typeA && rule->typeB == typeB) return true;
    return false;
}

bool pairsTypes(const World& world, int32_t typeA, int32_t typeB) {
    if (world.plainPath) return chainPairsTypes(world, typeA, typeB);
    return inRuleRange(typeA) && inRuleRange(typeB) && world.typePairs[typeA][typeB];
}

}  // namespace

void addRule(World& world, int32_t typeA, int32_t typeB) {
    CollisionRule* rule = makeRecord<CollisionRule>();
    if (!rule) return;
    rule->typeA = typeA;
    rule->typeB = typeB;
    rule->shapeKindA = kShapeEllipsoid;
    rule->shapeKindB = kShapeMesh;
    if (!world.ruleListHead) emptyChainTables(world);
    listAppend(world.ruleListHead, world.ruleListTail, rule);
    listAppend<&CollisionRule::chainPrev, &CollisionRule::chainNext>(world.ruleChainHeads[typeA],
                                                                     world.ruleChainTails[typeA], rule);
    world.typePairs[typeA][typeB] = true;
    world.typeMoves[typeA] = true;
}

void freeAllRules(World& world) {
    emptyChainTables(world);
    while (CollisionRule* rule = world.ruleListHead) {
        listUnlink(world.ruleListHead, world.ruleListTail, rule);
        freeRecord(rule);
    }
}

bool rulePairsTypes(const World& world, const CollisionBody* a, const CollisionBody* b) {
    return pairsTypes(world, a->collisionType, b->collisionType);
}

bool typeCanMove(const World& world, const CollisionBody* body) {
    return world.plainPath || (inRuleRange(body->collisionType) && world.typeMoves[body->collisionType]);
}

bool ruleMovesType(const World& world, const CollisionBody* body) {
    return chainOf(world, body->collisionType) != nullptr;
}

bool rulePairsShapes(const World& world, const CollisionShape* a, const CollisionShape* b) {
    const int32_t typeA = a->body->collisionType;
    const int32_t typeB = b->body->collisionType;
    // Every stored rule pairs an ellipsoid with a mesh, so the table answers
    // for the kinds too.
    if (!world.plainPath)
        return a->kind == kShapeEllipsoid && b->kind == kShapeMesh && pairsTypes(world, typeA, typeB);
    for (const CollisionRule* rule = chainOf(world, typeA); rule; rule = rule->chainNext)
        if (rule->typeA == typeA && rule->typeB == typeB && rule->shapeKindA == a->kind &&
            rule->shapeKindB == b->kind)
            return true;
    return false;
}

bool typeHasShapeKind(const World& world, const CollisionBody* body, int32_t kind) {
    if (!body) return false;
    // Every chain, type 300's included, so a rule naming type 300 is found
    // like any other.
    for (int type = 0; type < kRuleTableSize; ++type)
        for (const CollisionRule* rule = world.ruleChainHeads[type]; rule; rule = rule->chainNext)
            if ((rule->typeA == body->collisionType && rule->shapeKindA == kind) ||
                (rule->typeB == body->collisionType && rule->shapeKindB == kind))
                return true;
    return false;
}

}  // namespace zep
