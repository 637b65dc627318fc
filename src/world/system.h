// The started state. The singleton carries no data: its existence is what
// "started" means.
#pragma once

#include <cstdint>

namespace zep {

struct CollisionSystem {
    char unused = 0;
};

struct World;

bool isStarted(const World& world);

void startSystem(World& world);
// Removes every object oldest first, then (if started) every rule and the
// singleton. Safe to call in any state.
void stopSystem(World& world);

}  // namespace zep
