#include "pass_checks.h"

#include <algorithm>

namespace walk {

namespace {

D3 boxOf(D3 radii, double grow) { return radii * grow; }

// The triangle in the walker's unit-sphere space, centre at the origin.
// Scaling each axis by a positive factor keeps which side is the front.
Tri toUnitSpace(const Tri& t, D3 centre, D3 radii) {
    const D3 inverse{1 / radii.x, 1 / radii.y, 1 / radii.z};
    return {scaled(t.a - centre, inverse), scaled(t.b - centre, inverse), scaled(t.c - centre, inverse)};
}

}  // namespace

std::vector<uint32_t> frontCrossings(const Level& level, D3 p, D3 q) {
    std::vector<uint32_t> hits;
    const D3 pad{1e-6, 1e-6, 1e-6};
    level.solidGrid->forEachInBox(lowest(p, q) - pad, highest(p, q) + pad, [&](uint32_t index) {
        if (crossesFrontToBack(p, q, level.solid[index])) hits.push_back(index);
    });
    return hits;
}

std::vector<D3> passPath(D3 start, const std::vector<Contact>& contacts, D3 end) {
    std::vector<D3> path{start};
    for (const Contact& c : contacts) path.push_back(c.centre);
    path.push_back(end);
    return path;
}

double overlapDepth(const Level& level, D3 centre, uint32_t index) {
    return 1 - length(closestPoint(D3{}, toUnitSpace(level.solid[index], centre, level.radii)));
}

bool inFrontOf(const Level& level, D3 centre, uint32_t index) {
    const Tri& t = level.solid[index];
    return dot(t.normal(), centre - t.a) > 0;
}

std::vector<uint32_t> deepOverlaps(const Level& level, D3 centre, double depth) {
    std::vector<uint32_t> deep;
    const D3 reach = boxOf(level.radii, 1.01);
    level.solidGrid->forEachInBox(centre - reach, centre + reach, [&](uint32_t index) {
        if (inFrontOf(level, centre, index) && overlapDepth(level, centre, index) > depth) deep.push_back(index);
    });
    std::sort(deep.begin(), deep.end());
    return deep;
}

double deepestOverlap(const Level& level, D3 centre) {
    double deepest = 0;
    const D3 reach = boxOf(level.radii, 1.01);
    level.solidGrid->forEachInBox(centre - reach, centre + reach, [&](uint32_t index) {
        if (inFrontOf(level, centre, index)) deepest = std::max(deepest, overlapDepth(level, centre, index));
    });
    return deepest;
}

bool floorAbove(const Level& level, D3 centre, double top) {
    if (top <= centre.y) return false;
    const D3 up{0, 1, 0}, end{centre.x, top, centre.z};
    bool found = false;
    level.solidGrid->forEachInBox(centre, end, [&](uint32_t index) {
        const Tri& t = level.solid[index];
        const D3 n = t.normal();
        if (!found && n.y > 0.7 * length(n) && rayHit(centre, up, top - centre.y, t) >= 0) found = true;
    });
    return found;
}

bool touchesAnything(const Level& level, D3 centre, double slack) {
    const D3 reach = boxOf(level.radii, 1 + slack + 0.01);
    bool touching = false;
    auto test = [&](const std::vector<Tri>& triangles) {
        return [&](uint32_t index) {
            if (touching) return;
            const Tri t = toUnitSpace(triangles[index], centre, level.radii);
            touching = length(closestPoint(D3{}, t)) < 1 + slack;
        };
    };
    level.solidGrid->forEachInBox(centre - reach, centre + reach, test(level.solid));
    level.skyGrid->forEachInBox(centre - reach, centre + reach, test(level.sky));
    return touching;
}

bool outsideLevel(const Level& level, D3 centre) {
    const D3 margin = D3{1, 1, 1} * (20 * level.radii.y);
    const D3 lo = level.lo - margin, hi = level.hi + margin;
    return !(centre.x >= lo.x && centre.y >= lo.y && centre.z >= lo.z && centre.x <= hi.x && centre.y <= hi.y &&
             centre.z <= hi.z);
}

}  // namespace walk
