// One walker of the crowd: where it is, where it heads, how fast it falls,
// and what the checks remember about it between passes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "geometry.h"
#include "rng.h"

namespace walk {

// A walker counts as stuck after this many frames in a row in which it was
// asked to walk but moved (horizontally) less than kStuckFraction of the
// walk asked, with no wall or slope facing against its heading in any of
// them (a walker pushing into a wall is not stuck, it is blocked).
inline constexpr int kStuckWindow = 60;
inline constexpr double kStuckFraction = 0.05;

struct Walker {
    int object = 0;
    D3 position;
    double heading = 0;    // radians in the x-z plane
    double fallSpeed = 0;  // units per frame, downwards
    WalkerRng turns;       // its own stream for where it heads
    bool active = true;    // cleared when it left the level
    bool crossed = false;
    bool stuck = false;
    std::vector<uint32_t> deep;  // triangles it reached into deeply at its last pass's end
    // Came into a triangle from behind, and no pass has started clear of
    // every triangle's front since: it is still inside what it went into.
    bool throughBack = false;
    D3 ground;                // its centre when it last stood on a floor (or was dropped)
    bool underFloor = false;  // sank below that floor's height with a floor straight above

    // The last kStuckWindow frames: horizontal distance moved, and whether
    // something in front explained not moving.
    std::array<double, kStuckWindow> moved{};
    std::array<bool, kStuckWindow> blocked{};
    int frames = 0;
};

}  // namespace walk
