// How a box tree is built. The boxes are sorted once by where their centres
// lie on a Morton curve (z-order), so that any run of slots is a stretch of
// the curve and boxes near one another mostly sit in nearby slots; the tree
// is then only a matter of where to cut the sorted run. No box is compared
// or moved again, and nothing is allocated per box.
//
// Two steps, so that an owner can move its records into the tree's slot
// order between them (the index copies its triangles' corners there) and
// the nodes' boxes are then read from one stretch of memory:
//   shapeBoxTree   the order and the nodes, from each box by its number;
//   setNodeBoxes   the nodes' boxes, from each box by its slot.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/box3.h"
#include "index/index_records.h"

namespace zep {

// The boxes' places on the curve, each packed with the box's number in its
// low bits, so that sorting the keys sorts the numbers with them: the
// working memory of the first step.
struct CurveKeys {
    uint64_t* keys = nullptr;
    uint64_t* spare = nullptr;  // room for the sort's passes
    bool lent = false;          // both in memory the caller lent
    int32_t count = 0;
    int numberBits = 0;  // the low bits of a key: the box's number
    int cellBits = 0;    // bits per axis of the cell above them
    float lo[3] = {};    // the low corner of the cube the curve fills
    float scale = 0.0f;     // cells per unit
    float lastCell = 0.0f;  // the highest cell along an axis
};

// The memory the keys take, per box.
constexpr size_t kCurveKeyBytes = 2 * sizeof(uint64_t);

// Room for the keys of `count` boxes, the curve filling the cube around
// `bounds` (the union of the boxes): in `room` when the caller lends that
// much (see shapeBoxTree), else made here; false when memory runs out.
bool makeCurveKeys(CurveKeys& curve, int32_t count, const Box3& bounds, void* room);
void freeCurveKeys(CurveKeys& curve);
// The key of box number `number`.
uint64_t curveKey(const CurveKeys& curve, const Box3& box, int32_t number);
// Sorts the keys and shapes `made` along them (see shapeBoxTree).
bool shapeAlongKeys(BoxTree& made, CurveKeys& curve);

// Orders `count` boxes along the curve and shapes the tree over them: `made`
// (empty, of the memory kind its tree is to have) gets its order, box
// numbers by slot, and its nodes, their boxes not yet set. `numbered(i)` is
// box number i (of at least one); `bounds` is the union of the boxes. A
// caller with memory it does not read until the tree is shaped (the index:
// the array its corners are then copied into) may lend `room` of
// kCurveKeyBytes a box, 8-byte aligned, for the keys, which saves touching
// that much fresh memory. False, with nothing made, when memory runs out.
template <class Numbered>
bool shapeBoxTree(BoxTree& made, int32_t count, const Box3& bounds, const Numbered& numbered, void* room = nullptr) {
    CurveKeys curve;
    if (!makeCurveKeys(curve, count, bounds, room)) return false;
    for (int32_t i = 0; i < count; ++i) curve.keys[i] = curveKey(curve, numbered(i), i);
    const bool shaped = shapeAlongKeys(made, curve);
    freeCurveKeys(curve);
    return shaped;
}

// The union of a node's children's boxes.
Box3 nodeBox(const BoxTreeNode& node);
void setLaneBox(BoxTreeNode& node, int lane, const Box3& box);

// Sets the boxes of a shaped tree's nodes; `slotBox(slot)` is the box in a
// slot, asked for once each, nearly in slot order: the leaves are set node
// by node, and a node's leaves come before those of the nodes after it,
// but for a few leaves beside a child node.
template <class SlotBox>
void setNodeBoxes(BoxTree& made, const SlotBox& slotBox) {
    for (int32_t n = 0; n < made.nodeCount; ++n) {
        BoxTreeNode& node = made.nodes[n];
        for (int lane = 0; lane < kBoxTreeLanes; ++lane) {
            const int32_t first = node.first[lane], count = node.count[lane];
            if (count <= 0) continue;
            Box3 box = slotBox(first);
            for (int32_t slot = first + 1; slot < first + count; ++slot) box = unite(box, slotBox(slot));
            setLaneBox(node, lane, box);
        }
    }
    // A node's children come after it, so that walking the nodes backwards
    // sets every child before its parent reads it.
    for (int32_t n = made.nodeCount - 1; n >= 0; --n)
        for (int lane = 0; lane < kBoxTreeLanes; ++lane)
            if (made.nodes[n].count[lane] == 0) setLaneBox(made.nodes[n], lane, nodeBox(made.nodes[made.nodes[n].first[lane]]));
}

}  // namespace zep
