// The index's records: box trees and a mesh's triangle index, as plain
// records. index/ builds, refreshes and queries them; the mesh that owns an
// index frees it with itself, and the pass frees its own tree.
#pragma once

#include <cstdint>

#include "base/box3.h"
#include "base/triangle_corners.h"
#include "base/triangle_store.h"

namespace zep {

// A node of a box tree: the boxes of up to four children side by side, axis
// by axis, so that one pass of a walk tests all four. A child is a leaf (a
// run of slots in `order`) or another node; a lane without a child holds an
// empty box (low faces +inf, high faces -inf) that nothing meets.
constexpr int kBoxTreeLanes = 4;
struct alignas(64) BoxTreeNode {  // two whole cache lines
    float lo[3][kBoxTreeLanes];  // per axis x, y, z: each child's low face
    float hi[3][kBoxTreeLanes];
    int32_t first[kBoxTreeLanes];  // leaf: first slot; node: its index
    int32_t count[kBoxTreeLanes];  // leaf: slot count; 0: a node; -1: no child
};

// Whether a tree's arrays belong to a record of the world (counted, freed
// with it) or to a pass's working memory.
enum class TreeMemory { kRecord, kWork };

// A bounding-volume hierarchy over an array of boxes (see index/box_tree.h).
struct BoxTree {
    TreeMemory memory = TreeMemory::kRecord;
    BoxTreeNode* nodes = nullptr;
    int32_t nodeCount = 0;
    int32_t* order = nullptr;  // box numbers grouped by leaf
    int32_t boxCount = 0;      // the tree covers boxes 0 to boxCount - 1
};

// Frees the tree's arrays as its memory kind says; the tree is empty afterwards.
void freeBoxTree(BoxTree& tree);

// The spatial index of one mesh (see index/triangle_index.h).
struct TriangleIndex {
    // The mesh's triangles in list order (place i is triangle number i + 1);
    // the first `listed` are indexed.
    const TriangleStore* triangles = nullptr;
    int32_t listed = 0;
    // The corners of the triangles the tree covers, in its slot order (slot
    // i is place tree.order[i]): the triangles of a leaf lie side by side,
    // so a sweep reads their boxes and corners from one stretch of memory
    // instead of from records all over the heap.
    TriangleCorners* treedCorners = nullptr;
    // The boxes of the triangles listed since the tree was built (places
    // tree.boxCount to listed - 1), in list order.
    Box3* tailBoxes = nullptr;
    int32_t tailCapacity = 0;
    BoxTree tree;  // covers places 0 to tree.boxCount - 1
    // Changes whenever triangles are listed; unique across all indexes.
    uint64_t version = 0;
    // A refresh that ran out of memory, remembered so that every sweep does
    // not try again: retried once the mesh has changed or memory was freed.
    bool failed = false;
    int32_t failedWithTriangles = 0;
    uint64_t failedAtRelease = 0;
};

void freeTriangleIndex(TriangleIndex* index);

}  // namespace zep
