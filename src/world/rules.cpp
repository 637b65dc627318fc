#include "world/rules.h"

#include <algorithm>
#include <iterator>

#include "api/allocation.h"
#include "world/intrusive_list.h"
#include "world/object.h"
#include "world/shapes.h"

namespace zep {

CollisionRule* ruleListHead = nullptr;
CollisionRule* ruleListTail = nullptr;
CollisionRule* ruleChainHeads[kRuleTableSize] = {};
CollisionRule* ruleChainTails[kRuleTableSize] = {};

namespace {

// The chain of rules whose typeA is type; none for a type no rule can name.
const CollisionRule* chainOf(int32_t type) {
    return uint32_t(type) <= kMaxRuleType ? ruleChainHeads[type] : nullptr;
}

void emptyChainTables() {
    std::fill(std::begin(ruleChainHeads), std::end(ruleChainHeads), nullptr);
    std::fill(std::begin(ruleChainTails), std::end(ruleChainTails), nullptr);
}

}  // namespace

void addRule(int32_t typeA, int32_t typeB) {
    CollisionRule* rule = makeRecord<CollisionRule>();
    if (!rule) return;
    rule->typeA = typeA;
    rule->typeB = typeB;
    rule->shapeKindA = kShapeEllipsoid;
    rule->shapeKindB = kShapeMesh;
    if (!ruleListHead) emptyChainTables();
    listAppend(ruleListHead, ruleListTail, rule);
    listAppend<&CollisionRule::chainPrev, &CollisionRule::chainNext>(ruleChainHeads[typeA],
                                                                     ruleChainTails[typeA], rule);
}

void freeAllRules() {
    emptyChainTables();
    while (CollisionRule* rule = ruleListHead) {
        listUnlink(ruleListHead, ruleListTail, rule);
        freeRecord(rule);
    }
}

bool rulePairsTypes(const CollisionBody* a, const CollisionBody* b) {
    for (const CollisionRule* rule = chainOf(a->collisionType); rule; rule = rule->chainNext)
        if (rule->typeA == a->collisionType && rule->typeB == b->collisionType) return true;
    return false;
}

bool rulePairsShapes(const CollisionShape* a, const CollisionShape* b) {
    const int32_t typeA = a->body->collisionType;
    const int32_t typeB = b->body->collisionType;
    for (const CollisionRule* rule = chainOf(typeA); rule; rule = rule->chainNext)
        if (rule->typeA == typeA && rule->typeB == typeB && rule->shapeKindA == a->kind &&
            rule->shapeKindB == b->kind)
            return true;
    return false;
}

bool typeHasShapeKind(const CollisionBody* body, int32_t kind) {
    if (!body) return false;
    // Every chain, type 300's included, so a rule naming type 300 is found
    // like any other.
    for (int type = 0; type < kRuleTableSize; ++type)
        for (const CollisionRule* rule = ruleChainHeads[type]; rule; rule = rule->chainNext)
            if ((rule->typeA == body->collisionType && rule->shapeKindA == kind) ||
                (rule->typeB == body->collisionType && rule->shapeKindB == kind))
                return true;
    return false;
}

}  // namespace zep
