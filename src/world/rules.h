// Collision type rules: ellipsoids of type A slide against meshes of type B.
//
// Rules are one-way and live until the system stops. Each type A has a chain
// of its rules, reached in constant time through ruleChainHeads, so the pass's
// pair queries walk only the rules of the mover's type.
#pragma once

#include <cstdint>

namespace zep {

struct CollisionBody;
struct CollisionShape;

// Rule types run from 0 to kMaxRuleType inclusive.
constexpr uint32_t kMaxRuleType = 300;
constexpr int kRuleTableSize = int(kMaxRuleType) + 1;

struct CollisionRule {
    int32_t typeA = 0;
    int32_t typeB = 0;
    int32_t shapeKindA = 1;
    int32_t shapeKindB = 2;
    CollisionRule* next = nullptr;
    CollisionRule* prev = nullptr;
    CollisionRule* chainNext = nullptr;
    CollisionRule* chainPrev = nullptr;
};

extern CollisionRule* ruleListHead;
extern CollisionRule* ruleListTail;
extern CollisionRule* ruleChainHeads[kRuleTableSize];
extern CollisionRule* ruleChainTails[kRuleTableSize];
// typePairs[a][b] is set when some rule has typeA a and typeB b: the answer of
// the chains, kept up to date as rules are added, for constant-time queries.
extern bool typePairs[kRuleTableSize][kRuleTableSize];
// Set for each type that stands as typeA in some rule.
extern bool typeMoves[kRuleTableSize];

// Stores the rule (types already checked); does nothing if memory runs out.
void addRule(int32_t typeA, int32_t typeB);
void freeAllRules();

bool rulePairsTypes(const CollisionBody* a, const CollisionBody* b);
// True when some rule has the body's type as typeA.
bool typeCanMove(const CollisionBody* body);
bool rulePairsShapes(const CollisionShape* a, const CollisionShape* b);
bool typeHasShapeKind(const CollisionBody* body, int32_t kind);

}  // namespace zep
