// Open places to drop walkers: inside the level's hull, clear of geometry,
// over a floor.
#pragma once

#include <optional>

#include "level.h"
#include "rng.h"

namespace walk {

// A random point where the walker's ellipsoid (with a little room) touches
// nothing, the first thing straight below within 20 half-heights is the
// front of a solid floor, and, when `needRoof`, the first thing straight
// above is the front of a ceiling or the sky: a sealed level's hull seen
// from inside. That keeps walkers off outside roofs and out of the void
// between walls. Nothing after many tries.
std::optional<D3> findSpawn(const Level& level, Rng& rng, bool needRoof);

}  // namespace walk
