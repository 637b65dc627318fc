#include "world/rules.h"

#include <algorithm>
#include <iterator>

#include "base/allocation.h"
#include "base/intrusive_list.h"
#include "base/reference_path.h"
#include "world/object.h"
#include "world/shapes.h"

namespace zep {

CollisionRule* ruleListHead = nullptr;
CollisionRule* ruleListTail = nullptr;
CollisionRule* ruleChainHeads[kRuleTableSize] = {};
CollisionRule* ruleChainTails[kRuleTableSize] = {};
bool typePairs[kRuleTableSize][kRuleTableSize] = {};
bool typeMoves[kRuleTableSize] = {};

namespace {

// The chain of rules whose typeA is type; none for a type no rule can name.
const CollisionRule* chainOf(int32_t type) {
    return uint32_t(type) <= kMaxRuleType ? ruleChainHeads[type] : nullptr;
}

bool inRuleRange(int32_t type) { return uint32_t(type) <= kMaxRuleType; }

void emptyChainTables() {
    std::fill(std::begin(ruleChainHeads), std::end(ruleChainHeads), nullptr);
    std::fill(std::begin(ruleChainTails), std::end(ruleChainTails), nullptr);
    // Only a type that moves has pairs set in its row: clearing those rows
    // alone spares a 90 KB sweep at every stop and every first rule.
    for (int32_t typeA = 0; typeA < kRuleTableSize; ++typeA) {
        if (!typeMoves[typeA]) continue;
        std::fill(std::begin(typePairs[typeA]), std::end(typePairs[typeA]), false);
        typeMoves[typeA] = false;
    }
}

// The chain walk: the plain answer, kept as the reference for the table.
bool chainPairsTypes(int32_t typeA, int32_t typeB) {
    for (const CollisionRule* rule = chainOf(typeA); rule; rule = rule->chainNext)
        if (rule->typeA == typeA && rule->typeB == typeB) return true;
    return false;
}

bool pairsTypes(int32_t typeA, int32_t typeB) {
    if (linearReference) return chainPairsTypes(typeA, typeB);
    return inRuleRange(typeA) && inRuleRange(typeB) && typePairs[typeA][typeB];
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
    typePairs[typeA][typeB] = true;
    typeMoves[typeA] = true;
}

void freeAllRules() {
    emptyChainTables();
    while (CollisionRule* rule = ruleListHead) {
        listUnlink(ruleListHead, ruleListTail, rule);
        freeRecord(rule);
    }
}

bool rulePairsTypes(const CollisionBody* a, const CollisionBody* b) {
    return pairsTypes(a->collisionType, b->collisionType);
}

bool typeCanMove(const CollisionBody* body) {
    return linearReference || (inRuleRange(body->collisionType) && typeMoves[body->collisionType]);
}

bool rulePairsShapes(const CollisionShape* a, const CollisionShape* b) {
    const int32_t typeA = a->body->collisionType;
    const int32_t typeB = b->body->collisionType;
    // Every stored rule pairs an ellipsoid with a mesh, so the table answers
    // for the kinds too.
    if (!linearReference)
        return a->kind == kShapeEllipsoid && b->kind == kShapeMesh && pairsTypes(typeA, typeB);
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
