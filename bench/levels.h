// Levels and crowds for the benchmarks, built through the commands as a game
// would build them: terrain with walls loaded from host mesh blocks, movers
// that walk one step a frame.
#pragma once

#include <cstdint>
#include <vector>

namespace zepbench {

// The triangles of the terrain below, nine floats (three corners) each, in
// the order loadTerrain hands them to the library.
struct Terrain {
    std::vector<float> corners;
    int cells = 0;    // the height field is cells x cells unit cells
    float side = 0;   // the side length of the square it covers
    // The height of the height field's surface at (x, z), clamped to the field.
    float groundAt(float x, float z) const;
    // The lowest y of any corner.
    float lowest() const;
};
Terrain terrainTriangles(int64_t triangles);

// A terrain of about `triangles` triangles (a height field with walls
// standing on it) as object `object` of type 2, loaded through AddMeshZEP.
// Returns the side length of the square it covers.
float loadTerrain(int object, int64_t triangles);

// `count` movers of type 1 numbered from `first`, spread over a square of
// `side` at standing height.
void placeMovers(int first, int count, float side);

// `count` small box bodies of type 2 numbered from `first`, on a grid over a
// square of `side`.
void placeBoxes(int first, int count, float side);

// One frame: every mover steps along its own turning heading (with
// gravity), then one pass.
void walkFrame(int first, int count, int frame);

// Positions and contact counts of the movers, for comparing two runs.
std::vector<uint32_t> snapshot(int first, int count);

}  // namespace zepbench
