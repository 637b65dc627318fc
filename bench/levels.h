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
// Returns the side length of the square it covers. The object stands at
// (at, 0, at).
float loadTerrain(int object, int64_t triangles, float at = 0);

// `count` movers of type 1 numbered from `first`, spread over a square of
// `side` (from (at, at) in x and z) at standing height.
void placeMovers(int first, int count, float side, float at = 0);

// `count` small box bodies of type 2 numbered from `first`, on a grid over a
// square of `side`.
void placeBoxes(int first, int count, float side);

// Object `meshes` (type 2) with `shapes` mesh shapes and object `mover`
// (type 1) with `shapes` ellipsoids standing on them. A triangle goes to
// every mesh shape of its object, so the meshes are `shapes` copies of one
// unit box, and every ellipsoid meets every mesh.
void placeShapeCrowd(int mover, int meshes, int shapes);

// One frame of that mover: a step around a small circle on the box top (with
// gravity), then one pass.
void circleFrame(int object, int frame);

// One frame: every mover steps along its own turning heading (with
// gravity), then one pass.
void walkFrame(int first, int count, int frame);

// `count` small spheres (radius 0.1) of type 1 numbered from `first`.
void placeShots(int first, int count);

// One frame of shots over a square of `side`: each is placed at a fresh point
// 3 above the terrain and fired 40 units in a random downward direction
// (its previous position the fresh point), then one pass.
void shootFrame(int first, int count, int frame, float side);

// Positions and contact counts of the movers, for comparing two runs.
std::vector<uint32_t> snapshot(int first, int count);

}  // namespace zepbench
