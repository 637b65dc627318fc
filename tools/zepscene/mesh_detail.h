// Which triangles the page shows as they are and which it simplifies. Up to
// kFullDetail triangles all go in as they are. A bigger level keeps the
// triangles the movers met and those near their paths as they are (nearest
// first up to that budget) and merges the rest on a grid of cells (vertex
// clustering) down to kCoarseBudget, so a level of millions of triangles
// still loads in seconds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "recording.h"

namespace zepscene {

inline constexpr size_t kFullDetail = 300000;
inline constexpr size_t kCoarseBudget = 100000;

struct MeshDetail {
    int32_t object = 0;
    std::vector<float> full;    // world corners, 9 floats a triangle
    std::vector<float> coarse;  // the simplified rest, the same way
};

struct LevelDetail {
    std::vector<MeshDetail> meshes;
    size_t triangles = 0;     // in the level
    size_t fullCount = 0;     // shown as they are
    float nearDistance = 0;   // "near a path": within this of a mover's centre
    float cellSize = 0;       // of the merging grid, 0 if nothing was merged
};

LevelDetail levelDetail(const Recording& recording);

}  // namespace zepscene
