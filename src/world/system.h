// The started state. The singleton carries no data: its existence is what
// "started" means.
#pragma once

#include <cstdint>

namespace zep {

struct CollisionSystem {
    char unused = 0;
};

extern CollisionSystem* collisionSystem;

// Passes run since the library was loaded, this one included: what a record
// keeps from an earlier pass is told apart from the current pass by it.
extern uint64_t passesRun;

inline bool isStarted() { return collisionSystem != nullptr; }

void startSystem();
// Removes every object oldest first, then (if started) every rule and the
// singleton. Safe to call in any state.
void stopSystem();

}  // namespace zep
