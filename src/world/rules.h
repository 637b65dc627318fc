// Collision type rules: ellipsoids of type A slide against meshes of type B.
//
// Rules are one-way and live until the system stops. Each type A has a chain
// of its rules, reached in constant time through ruleChainHeads, so the pass's
// pair queries walk only the rules of the mover's type.
#pragma once

#include <cstdint>

namespace zep {

// Rule types run from 0 to kMaxRuleType inclusive.
constexpr uint32_t kMaxRuleType = 300;
constexpr int kRuleTableSize = int(kMaxRuleType) + 1;

struct CollisionBody;
struct CollisionShape;
struct World;

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

// Stores the rule (types already checked); does nothing if memory runs out.
void addRule(World& world, int32_t typeA, int32_t typeB);
void freeAllRules(World& world);

bool rulePairsTypes(const World& world, const CollisionBody* a, const CollisionBody* b);
// True when some rule has the body's type as typeA; on the plain path,
// which walks every pair, always.
bool typeCanMove(const World& world, const CollisionBody* body);
// True when some rule has the body's type as typeA, on either path: what the
// host is told about.
bool ruleMovesType(const World& world, const CollisionBody* body);
// True when a rule pairs the two shapes: their bodies' types and their kinds.
bool rulePairsShapes(const World& world, const CollisionShape* a, const CollisionShape* b);
bool typeHasShapeKind(const World& world, const CollisionBody* body, int32_t kind);

}  // namespace zep
