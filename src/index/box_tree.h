// A bounding-volume hierarchy over an array of boxes: the one spatial search
// structure of the library, used for a mesh's triangles and for the bodies a
// pass can pair.
#pragma once

#include <cstdint>

#include "base/box3.h"
#include "world/index_records.h"

namespace zep {

// Builds a tree over boxes[0 .. count - 1], replacing what `tree` held. False,
// with `tree` unchanged, when memory runs out.
bool buildBoxTree(BoxTree& tree, const Box3* boxes, int32_t count);

// Appends to `out` the numbers of the boxes that meet `query`, in no
// particular order, and returns how many it appended. `out` must have room for
// tree.boxCount more entries.
int32_t queryBoxTree(const BoxTree& tree, const Box3* boxes, const Box3& query, int32_t* out);
// The same for the boxes a swept segment meets.
int32_t queryBoxTree(const BoxTree& tree, const Box3* boxes, const SweptBox& query, int32_t* out);

}  // namespace zep
