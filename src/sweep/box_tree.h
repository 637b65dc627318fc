// A bounding-volume hierarchy over an array of boxes: the one spatial search
// structure of the library, used for a mesh's triangles and for the bodies a
// pass can pair.
#pragma once

#include <cstdint>

#include "sweep/reach.h"

namespace zep {

struct BoxTreeNode {
    Box3 box;
    int32_t first = 0;  // leaf: first slot in `order`; inner: index of the left child
    int32_t count = 0;  // leaf: number of boxes; 0 for an inner node
};

// Whether a tree's arrays belong to a record of the world (counted, freed
// with it) or to a pass's working memory.
enum class TreeMemory { kRecord, kWork };

struct BoxTree {
    TreeMemory memory = TreeMemory::kRecord;
    BoxTreeNode* nodes = nullptr;
    int32_t nodeCount = 0;
    int32_t* order = nullptr;  // box numbers grouped by leaf
    int32_t boxCount = 0;      // the tree covers boxes 0 to boxCount - 1
};

// Builds a tree over boxes[0 .. count - 1], replacing what `tree` held. False,
// with `tree` unchanged, when memory runs out.
bool buildBoxTree(BoxTree& tree, const Box3* boxes, int32_t count);

// Appends to `out` the numbers of the boxes that meet `query`, in no
// particular order, and returns how many it appended. `out` must have room for
// tree.boxCount more entries.
int32_t queryBoxTree(const BoxTree& tree, const Box3* boxes, const Box3& query, int32_t* out);

void freeBoxTree(BoxTree& tree);

}  // namespace zep
