#include "spawn.h"

#include <cmath>

#include "pass_checks.h"

namespace walk {

namespace {

constexpr int kTries = 200000;
constexpr double kFloorSlope = 0.7;  // a unit normal's y at least this is a floor

struct RayHit {
    double distance = -1;
    D3 normal;  // of the triangle hit, not normalised
    bool sky = false;
};

void nearestAlong(const TriGrid& grid, D3 origin, D3 dir, double limit, bool sky, RayHit& best) {
    const D3 end = origin + dir * limit;
    const D3 pad{1e-3, 1e-3, 1e-3};
    grid.forEachInBox(lowest(origin, end) - pad, highest(origin, end) + pad, [&](uint32_t index) {
        const Tri& t = grid.triangles()[index];
        const double at = rayHit(origin, dir, limit, t);
        if (at >= 0 && (best.distance < 0 || at < best.distance)) best = {at, t.normal(), sky};
    });
}

RayHit castVertical(const Level& level, D3 origin, double dirY, double limit) {
    RayHit best;
    nearestAlong(*level.solidGrid, origin, {0, dirY, 0}, limit, false, best);
    nearestAlong(*level.skyGrid, origin, {0, dirY, 0}, limit, true, best);
    return best;
}

bool floorBelow(const Level& level, D3 at) {
    const RayHit down = castVertical(level, at, -1, 20 * level.radii.y);
    return down.distance >= 0 && !down.sky && down.normal.y > kFloorSlope * length(down.normal);
}

bool roofAbove(const Level& level, D3 at) {
    const RayHit up = castVertical(level, at, 1, (level.hi.y - level.lo.y) + 1);
    return up.distance >= 0 && up.normal.y < 0;
}

}  // namespace

std::optional<D3> findSpawn(const Level& level, Rng& rng, bool needRoof) {
    for (int i = 0; i < kTries; ++i) {
        const D3 at{rng.uniform(level.lo.x, level.hi.x), rng.uniform(level.lo.y, level.hi.y),
                    rng.uniform(level.lo.z, level.hi.z)};
        if (!floorBelow(level, at) || (needRoof && !roofAbove(level, at))) continue;
        if (touchesAnything(level, at, 0.1)) continue;
        return at;
    }
    return std::nullopt;
}

}  // namespace walk
