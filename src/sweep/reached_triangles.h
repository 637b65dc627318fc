// The triangles of a small mesh (one without a tree) that a sweep's reach
// takes in: those whose boxes its swept box meets and its triangle filter
// keeps, in list order, each with where the path first enters its grown box.
//
// Both tests depend only on the reach and the boxes. The meshes of one body
// usually hold the same triangles (a triangle goes to every mesh shape of
// its body), so a step asks about the same boxes mesh after mesh: the last
// list is handed back while the reach and the boxes stay the same to the bit.
#pragma once

#include <cstdint>

#include "base/box3.h"
#include "sweep/reach.h"

namespace zep {

struct ReachedTriangle {
    int32_t place = 0;  // in the mesh's list, 0-based
    double entry = 0.0;  // SweptBox::entry of its box
};

struct ReachedTriangles {
    const ReachedTriangle* triangles = nullptr;
    int32_t count = 0;
};

// The most boxes a list is kept for; a mesh without a tree has no more.
constexpr int32_t kMostReachedBoxes = 256;

// The last list made, kept with the sweeps' working state from one sweep to
// the next, and handed back while the reach (by its number) and the boxes
// stay the same.
struct ReachedMemo {
    uint64_t reachMade = 0;  // 0: none kept
    int32_t boxCount = 0;
    Box3 boxes[kMostReachedBoxes];
    ReachedTriangle triangles[kMostReachedBoxes];
    int32_t count = 0;
};

// The list for `count` boxes (at most kMostReachedBoxes) and this reach;
// valid until the next call with the same memo.
ReachedTriangles reachedTriangles(ReachedMemo& memo, const SweepReach& reach, const Box3* boxes, int32_t count);

}  // namespace zep
