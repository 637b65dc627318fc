// Levels and crowds for the benchmarks, built through the commands as a game
// would build them: terrain with walls loaded from host mesh blocks, movers
// that walk one step a frame. Every command goes through a table (`zep`), so
// the same scenes drive the linked library or a build loaded at run time.
#pragma once

#include <cstdint>
#include <vector>

#include "commands.h"

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

// The side length of the square that terrainTriangles(triangles) covers.
float terrainSide(int64_t triangles);

// The terrain as the host mesh block AddMeshZEP reads: the header, then 32
// bytes a vertex (its position first), three vertices a triangle.
struct TerrainBlock {
    std::vector<unsigned char> bytes;
    float side = 0;  // as Terrain::side
};
TerrainBlock terrainBlock(int64_t triangles);

// The block as object `object` of type 2, standing at (at, 0, at).
void addTerrain(const Commands& zep, int object, const TerrainBlock& block, float at = 0);

// A terrain of about `triangles` triangles (a height field with walls
// standing on it) as object `object` of type 2, loaded through AddMeshZEP.
// Returns the side length of the square it covers. The object stands at
// (at, 0, at).
float loadTerrain(const Commands& zep, int object, int64_t triangles, float at = 0);

// `count` movers of type 1 numbered from `first`, spread over a square of
// `side` (from (at, at) in x and z) at standing height.
void placeMovers(const Commands& zep, int first, int count, float side, float at = 0);

// `count` small box bodies of type 2 numbered from `first`, on a grid over a
// square of `side`.
void placeBoxes(const Commands& zep, int first, int count, float side);

// Object `meshes` (type 2) with `shapes` mesh shapes and object `mover`
// (type 1) with `shapes` ellipsoids standing on them. A triangle goes to
// every mesh shape of its object, so the meshes are `shapes` copies of one
// unit box, and every ellipsoid meets every mesh.
void placeShapeCrowd(const Commands& zep, int mover, int meshes, int shapes);

// One frame of that mover: a step around a small circle on the box top (with
// gravity), then one pass.
void circleFrame(const Commands& zep, int object, int frame);

// How the movers walk: the length of a frame's step and how far the heading
// turns each frame (in radians), so each mover walks a circle of
// step / turn units radius.
struct Walk {
    float step;
    float turn;
};
// The crowd of `make bench`: circles of about 3.3 units radius.
constexpr Walk kStroll = {0.1f, 0.03f};
// Three and a half times as fast, turning as much faster so that the circles
// stay the same size and the movers stay on the level.
constexpr Walk kBriskWalk = {0.35f, 0.105f};

// Every mover is sent one step along its own turning heading (with gravity),
// without the pass.
void stepWalkers(const Commands& zep, int first, int count, int frame, Walk walk = kStroll);

// One frame: stepWalkers, then one pass.
void walkFrame(const Commands& zep, int first, int count, int frame, Walk walk = kStroll);

// `count` small spheres (radius 0.1) of type 1 numbered from `first`.
void placeShots(const Commands& zep, int first, int count);

// Shots over a square of `side`, without the pass: each is placed at a fresh
// point 3 above the terrain and sent 40 units in a random downward direction
// (its previous position the fresh point).
void aimShots(const Commands& zep, int first, int count, int frame, float side);

// One frame of shots: aimShots, then one pass.
void shootFrame(const Commands& zep, int first, int count, int frame, float side);

// Positions and contacts (points and normals) of the movers as bit
// patterns, for comparing two runs.
std::vector<uint32_t> snapshot(const Commands& zep, int first, int count);

}  // namespace zepbench
