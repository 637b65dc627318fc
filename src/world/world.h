// Everything the host has built through the commands, in one record: the
// objects by number and in creation order, their bodies, the activation
// list with the host's walk over it, the type rules with their tables, and
// whether the system is started. One instance lives from load to unload,
// owned by the command layer and handed down to every operation that reads
// or changes it.
#pragma once

#include <atomic>
#include <bitset>
#include <cstdint>

#include "world/activation.h"
#include "world/object.h"
#include "world/rules.h"
#include "world/system.h"

struct ZepWarning;  // the public header's

namespace zep {

// The causes of the warnings a pass gives (see api/pass_warnings.cpp).
constexpr int kPassWarningCauses = 7;

// How the host hears of failures and mistakes: set through the commands,
// read by the command layer alone. Kept from load to unload, across stops.
struct HostReports {
    // Armed by StartCollisionDebugZEP, disarmed by the one box it allows.
    uint8_t debugMessages = 0;
    // Elsewhere than on Windows: where the box's text goes instead, and the
    // warning handler (none: no warnings are looked for). The warning
    // handler is atomic because a thread refused entry reads it while the
    // thread inside a command may be the one setting it.
    void (*messageHandler)(const char* text, const char* caption, void* context) = nullptr;
    void* messageContext = nullptr;
    std::atomic<void (*)(const ZepWarning* warning, void* context)> warningHandler{nullptr};
    std::atomic<void*> warningContext{nullptr};
    // Which object a pass already warned about for which cause, and which
    // objects were active at some pass since the start (a mesh never
    // active is a forgotten ActivateObjZEP); emptied at each stop.
    std::bitset<kObjectTableSize> passWarned[kPassWarningCauses];
    std::bitset<kObjectTableSize> seenActive;
};

struct World {
    // Objects by number (constant-time lookup) and in creation order.
    CollisionObject* objectTable[kObjectTableSize] = {};
    CollisionObject* objectListHead = nullptr;
    CollisionObject* objectListTail = nullptr;
    // Bodies in creation order: the order in which a pass resolves movers.
    CollisionBody* bodyListHead = nullptr;
    CollisionBody* bodyListTail = nullptr;

    // Which objects take part in a pass, in activation order, and the entry
    // the next PeekCollisionStackZEP returns (always on the list, or null).
    ActivationEntry* activationTable[kObjectTableSize] = {};
    ActivationEntry* activationListHead = nullptr;
    ActivationEntry* activationListTail = nullptr;
    ActivationEntry* stackCursor = nullptr;

    // Rules in creation order, and each typeA's chain of them.
    CollisionRule* ruleListHead = nullptr;
    CollisionRule* ruleListTail = nullptr;
    CollisionRule* ruleChainHeads[kRuleTableSize] = {};
    CollisionRule* ruleChainTails[kRuleTableSize] = {};
    // The chains' answers, kept as rules are added, for constant-time pair
    // queries: typePairs[a][b] when some rule has typeA a and typeB b, and
    // typeMoves[a] when some rule has typeA a.
    bool typePairs[kRuleTableSize][kRuleTableSize] = {};
    bool typeMoves[kRuleTableSize] = {};

    // Exists between StartCollisionZEP and StopCollisionZEP: its existence
    // is what "started" means.
    CollisionSystem* collisionSystem = nullptr;
    // Passes run since load, this one included: what a record keeps from an
    // earlier pass is told apart from the current pass by it.
    uint64_t passesRun = 0;
    // The plain reference path: every pair, every triangle, the rule chains
    // walked instead of their tables. Same results; the tests, the fuzzer
    // and the benchmarks compare the two.
    bool plainPath = false;
    // How many threads a pass may run its movers on (SetCollisionThreadsZEP):
    // 0 as many as the machine runs at once, up to a cap; 1 the host's only.
    // A host setting: kept across stops.
    int32_t passThreads = 0;

    HostReports reports;
};

}  // namespace zep
