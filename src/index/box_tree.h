// A bounding-volume hierarchy over an array of boxes: the one spatial search
// structure of the library, used for a mesh's triangles and for the bodies a
// pass can pair.
#pragma once

#include <cstdint>
#include <utility>

#include "base/box3.h"
#include "world/index_records.h"

namespace zep {

// Builds a tree over boxes[0 .. count - 1], replacing what `tree` held. False,
// with `tree` unchanged, when memory runs out.
bool buildBoxTree(BoxTree& tree, const Box3* boxes, int32_t count);

// Appends to `out` the numbers of the boxes that meet `query`, in no
// particular order, and returns how many it appended. `out` must have room for
// tree.boxCount more entries. A query that wants at most `most` stops once it
// has found more.
int32_t queryBoxTree(const BoxTree& tree, const Box3* boxes, const Box3& query, int32_t* out,
                     int32_t most = INT32_MAX);
// The same for the boxes a swept segment meets.
int32_t queryBoxTree(const BoxTree& tree, const Box3* boxes, const SweptBox& query, int32_t* out);

// Median splits keep the depth under 32 for any int32 count; each level of a
// walk leaves at most one sibling on the stack.
constexpr int kBoxTreeStackDepth = 64;

// Walks the boxes a swept segment meets, the node the segment enters first
// first: `visit(box, entry)` gets each box's number and where the segment
// enters it (SweptBox::entry), and nothing is visited, nor any node entered,
// where `beyond(entry)` holds. A sweep that tightens `beyond` as it finds
// hits walks only the part of the tree before them. `beyond` must hold for an
// entry whenever it holds for a smaller one: a node's entry is never larger
// than the entries of the boxes under it.
template <class Beyond, class Visit>
void visitBoxTreeAlong(const BoxTree& tree, const Box3* boxes, const SweptBox& query, const Beyond& beyond,
                       const Visit& visit) {
    struct Pending {
        int32_t node;
        double entry;
    };
    if (tree.boxCount == 0) return;
    Pending stack[kBoxTreeStackDepth];
    int depth = 0;
    stack[depth++] = Pending{0, query.entry(tree.nodes[0].box)};
    while (depth > 0) {
        const Pending next = stack[--depth];
        if (next.entry > 1.0 || beyond(next.entry)) continue;
        const BoxTreeNode& node = tree.nodes[next.node];
        if (node.count > 0) {
            for (int32_t i = node.first; i < node.first + node.count; ++i) {
                const int32_t box = tree.order[i];
                const double entry = query.entry(boxes[box]);
                if (entry <= 1.0 && !beyond(entry)) visit(box, entry);
            }
            continue;
        }
        Pending left{node.first, query.entry(tree.nodes[node.first].box)};
        Pending right{node.first + 1, query.entry(tree.nodes[node.first + 1].box)};
        if (right.entry < left.entry) std::swap(left, right);
        stack[depth++] = right;  // the later one waits below
        stack[depth++] = left;
    }
}

}  // namespace zep
