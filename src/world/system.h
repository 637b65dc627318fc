// The started state. The singleton carries no data: its existence is what
// "started" means.
#pragma once

namespace zep {

struct CollisionSystem {
    char unused = 0;
};

extern CollisionSystem* collisionSystem;

inline bool isStarted() { return collisionSystem != nullptr; }

void startSystem();
// Removes every object oldest first, then (if started) every rule and the
// singleton. Safe to call in any state.
void stopSystem();

}  // namespace zep
