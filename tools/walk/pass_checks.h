// What the driver judges about one walker's pass, from the host side.
#pragma once

#include <cstdint>
#include <vector>

#include "level.h"
#include "library.h"

namespace walk {

// Solid triangles the segment p -> q goes through from front to back.
std::vector<uint32_t> frontCrossings(const Level& level, D3 p, D3 q);

// The path a pass took: its start, the centre at each contact, its end.
std::vector<D3> passPath(D3 start, const std::vector<Contact>& contacts, D3 end);

// Solid triangles the ellipsoid at `centre` reaches into from their front by
// more than `depth` (in radii, measured in the walker's unit-sphere space).
std::vector<uint32_t> deepOverlaps(const Level& level, D3 centre, double depth);

// How far (in radii, in the walker's unit-sphere space) the ellipsoid at
// `centre` reaches past the surface of solid triangle `index`, either side;
// negative when it does not touch it.
double overlapDepth(const Level& level, D3 centre, uint32_t index);

// Whether `centre` is strictly in front of solid triangle `index`'s plane.
bool inFrontOf(const Level& level, D3 centre, uint32_t index);

// The deepest overlapDepth of the ellipsoid at `centre` among the solid
// triangles it is in front of; 0 when it overlaps none.
double deepestOverlap(const Level& level, D3 centre);

// Whether straight above `centre`, below height `top`, there is a solid
// floor (a triangle whose unit normal has y above 0.7), seen from either side.
bool floorAbove(const Level& level, D3 centre, double top);

// Whether the ellipsoid overlaps any triangle, solid or sky, either side,
// with `slack` (in radii) to spare.
bool touchesAnything(const Level& level, D3 centre, double slack);

// Outside the solid geometry's bounds grown by a margin of ten walker heights.
bool outsideLevel(const Level& level, D3 centre);

}  // namespace walk
