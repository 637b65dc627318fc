// A bounding-volume hierarchy over an array of boxes: the one spatial search
// structure of the library, used for a mesh's triangles and for the bodies a
// pass can pair.
#pragma once

#include <cstdint>
#include <utility>

#include "base/box3.h"
#include "index/index_records.h"

namespace zep {

// Builds a tree over boxes[0 .. count - 1], replacing what `tree` held. False,
// with `tree` unchanged, when memory runs out.
bool buildBoxTree(BoxTree& tree, const Box3* boxes, int32_t count);

// The splits keep a tree of any int32 count within 21 nodes of four deep
// (box_tree.cpp checks it); each node a walk enters leaves at most three
// siblings on the stack.
constexpr int kBoxTreeStackDepth = 64;

// A tree's leaves hold slots 0 to boxCount - 1; slot i holds box
// tree.order[i]. The walks below read a slot's box through `slotBox(slot)`,
// so that an owner can keep its boxes (or what they are made from) in slot
// order, where the boxes of one leaf lie side by side; an owner that also
// has `slotBox.prefetch(first, count)` is told of a leaf before it is read.

// The box of one child of a node.
inline Box3 laneBox(const BoxTreeNode& node, int lane) {
    return Box3{{node.lo[0][lane], node.lo[1][lane], node.lo[2][lane]},
                {node.hi[0][lane], node.hi[1][lane], node.hi[2][lane]}};
}

// Appends to `out` the slots whose boxes meet `meets`, in no particular
// order, and returns how many it appended. `out` must have room for
// tree.boxCount more entries. A query that wants at most `most` stops once it
// has found more.
template <class SlotBox, class Meets>
int32_t querySlots(const BoxTree& tree, const SlotBox& slotBox, const Meets& meets, int32_t* out,
                   int32_t most = INT32_MAX) {
    if (tree.boxCount == 0) return 0;
    int32_t stack[kBoxTreeStackDepth];
    int depth = 0;
    int32_t found = 0;
    stack[depth++] = 0;
    while (depth > 0 && found <= most) {
        const BoxTreeNode& node = tree.nodes[stack[--depth]];
        for (int lane = 0; lane < kBoxTreeLanes; ++lane) {
            if (node.count[lane] < 0 || !meets(laneBox(node, lane))) continue;
            if (node.count[lane] == 0) {
                stack[depth++] = node.first[lane];
                continue;
            }
            for (int32_t slot = node.first[lane]; slot < node.first[lane] + node.count[lane]; ++slot)
                if (meets(slotBox(slot))) out[found++] = slot;
        }
    }
    return found;
}

// The box numbers (not slots) of the boxes in `boxes` that a swept segment
// meets, as querySlots gives them.
int32_t queryBoxTree(const BoxTree& tree, const Box3* boxes, const SweptBox& query, int32_t* out);

// Asks for what a child holds (a node, or a leaf's slots when the owner can
// say where they lie) as it is pushed: by the time it is popped it is in the
// cache, or at least on its way for the nearest, popped next.
template <class SlotBox>
void prefetchChild(const BoxTree& tree, const SlotBox& slotBox, int32_t first, int32_t count) {
    if (count == 0) {
        const char* node = reinterpret_cast<const char*>(&tree.nodes[first]);
        __builtin_prefetch(node);  // a node is two cache lines
        __builtin_prefetch(node + 64);
    } else if constexpr (requires { slotBox.prefetch(first, count); }) {
        slotBox.prefetch(first, count);
    }
}

// Walks the slots whose boxes a swept segment meets, the node the segment
// enters first first: `visit(slot, box, entry)` gets each slot with its box
// and where the segment enters it (SweptBox::entry), and nothing is
// visited, nor any node entered, where `beyond(entry)` holds. A sweep that
// tightens `beyond` as it finds hits walks only the part of the tree before
// them. `beyond` must hold for an entry whenever it holds for a smaller one:
// a node's entry is never larger than the entries of the boxes under it.
// `leafDone()` follows the visits of each leaf.
struct NoLeafDone {
    void operator()() const {}
};
template <class SlotBox, class Beyond, class Visit, class LeafDone = NoLeafDone>
void visitBoxTreeAlong(const BoxTree& tree, const SlotBox& slotBox, const SweptBox& query, const Beyond& beyond,
                       const Visit& visit, const LeafDone& leafDone = {}) {
    struct Pending {
        int32_t first;  // a node, or a leaf's first slot
        int32_t count;  // 0 for a node, else the leaf's slot count
        double entry;
    };
    if (tree.boxCount == 0) return;
    Pending stack[kBoxTreeStackDepth];
    int depth = 0;
    stack[depth++] = Pending{0, 0, 0.0};
    while (depth > 0) {
        const Pending next = stack[--depth];
        if (beyond(next.entry)) continue;
        if (next.count > 0) {
            for (int32_t slot = next.first; slot < next.first + next.count; ++slot) {
                const Box3 box = slotBox(slot);
                const double entry = query.entry(box);
                if (entry <= 1.0 && !beyond(entry)) visit(slot, box, entry);
            }
            leafDone();
            continue;
        }
        const BoxTreeNode& node = tree.nodes[next.first];
        double entries[kBoxTreeLanes];
        query.entries(node.lo, node.hi, entries);
        // The children the path meets, the one it enters first on top: an
        // insertion sort, latest entry lowest.
        const int bottom = depth;
        for (int lane = 0; lane < kBoxTreeLanes; ++lane) {
            if (node.count[lane] < 0 || entries[lane] > 1.0 || beyond(entries[lane])) continue;
            const Pending child{node.first[lane], node.count[lane], entries[lane]};
            prefetchChild(tree, slotBox, child.first, child.count);
            int at = depth++;
            for (; at > bottom && stack[at - 1].entry < child.entry; --at) stack[at] = stack[at - 1];
            stack[at] = child;
        }
    }
}

}  // namespace zep
