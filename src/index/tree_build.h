// How a box tree is built. The boxes are sorted once by where their centres
// lie on a Morton curve (z-order), so that any run of slots is a stretch of
// the curve and boxes near one another mostly sit in nearby slots; the tree
// is then only a matter of where to cut the sorted run. No box is compared
// or moved again, and nothing is allocated per box.
#pragma once

#include <cstdint>

#include "base/box3.h"
#include "index/index_records.h"

namespace zep {

// Boxes per leaf (cuts make leaves of 3 to 8): small enough to prune well,
// large enough to keep the tree shallow and its nodes few. A leaf's boxes
// lie side by side and cost little more than one; a node costs a cache
// miss. Against leaves of 2 to 4, shots and the walking crowd on 10^5
// triangles ran 6% faster.
constexpr int32_t kLeafSize = 8;

// The boxes' places on the curve, each packed with the box's number in its
// low bits, so that sorting the keys sorts the numbers with them: the
// working memory of one build.
struct CurveKeys {
    uint64_t* keys = nullptr;
    uint64_t* spare = nullptr;  // room for the sort's passes
    int32_t count = 0;
    int numberBits = 0;  // the low bits of a key: the box's number
    int cellBits = 0;    // bits per axis of the cell above them
    double lo[3] = {};   // the low corner of the cube the curve fills
    double scale = 0.0;  // cells per unit
};

// Room for the keys of `count` boxes, the curve filling the cube around
// `bounds` (the union of the boxes); false when memory runs out.
bool makeCurveKeys(CurveKeys& curve, int32_t count, const Box3& bounds);
void freeCurveKeys(CurveKeys& curve);
// The key of box number `number`.
uint64_t curveKey(const CurveKeys& curve, const Box3& box, int32_t number);
void sortCurveKeys(CurveKeys& curve);

// A range of slots [begin, end) that becomes one child of a node.
struct SlotRange {
    int32_t begin;
    int32_t end;
    int32_t size() const { return end - begin; }
};

// The ranges a node over `range` (more than a leaf) is cut into, from the
// sorted keys; returns how many.
int cutRange(const uint64_t* keys, SlotRange range, SlotRange (&parts)[kBoxTreeLanes]);

// Makes `made`'s arrays for the sorted keys: the order filled (box numbers
// by slot), room for every node. False, with nothing made, when memory runs
// out.
bool makeTreeArrays(BoxTree& made, const CurveKeys& curve);

void setLane(BoxTreeNode& node, int lane, const Box3& box, int32_t first, int32_t count);

template <class Boxes>
struct NodeBuild {
    const Boxes& boxes;
    const uint64_t* keys;
    BoxTree& tree;

    // The box of a leaf: each slot's box is asked for once, in slot order.
    Box3 leafBox(SlotRange range) const {
        Box3 box = boxes.slotted(range.begin, tree.order[range.begin]);
        for (int32_t slot = range.begin + 1; slot < range.end; ++slot)
            box = unite(box, boxes.slotted(slot, tree.order[slot]));
        return box;
    }

    // Fills `node` with the children of `range` and their nodes below it,
    // and returns the box of the range.
    Box3 fill(int32_t node, SlotRange range) {
        SlotRange parts[kBoxTreeLanes] = {range};
        const int lanes = range.size() > kLeafSize ? cutRange(keys, range, parts) : 1;
        const Box3 empty{{HUGE_VALF, HUGE_VALF, HUGE_VALF}, {-HUGE_VALF, -HUGE_VALF, -HUGE_VALF}};
        for (int lane = lanes; lane < kBoxTreeLanes; ++lane) setLane(tree.nodes[node], lane, empty, 0, -1);
        Box3 box = empty;
        for (int lane = 0; lane < lanes; ++lane) {
            const SlotRange part = parts[lane];
            Box3 partBox;
            if (part.size() <= kLeafSize) {
                partBox = leafBox(part);
                setLane(tree.nodes[node], lane, partBox, part.begin, part.size());
            } else {
                const int32_t child = tree.nodeCount++;
                partBox = fill(child, part);
                setLane(tree.nodes[node], lane, partBox, child, 0);
            }
            box = unite(box, partBox);
        }
        return box;
    }
};

// Builds a tree over `count` boxes, replacing what `tree` held; false, with
// `tree` unchanged, when memory runs out. The boxes are read in two ways:
//   boxes.numbered(i)        box number i, every number in turn, twice: for
//                            the bounds of them all, then for its key;
//   boxes.slotted(slot, i)   box number i again, in the slot the order put
//                            it in, once each in slot order: an owner that
//                            keeps its records in slot order copies each
//                            one there as it is asked.
template <class Boxes>
bool buildBoxTree(BoxTree& tree, int32_t count, const Boxes& boxes) {
    if (count <= 0) {
        freeBoxTree(tree);
        return true;
    }
    Box3 bounds = boxes.numbered(0);
    for (int32_t i = 1; i < count; ++i) bounds = unite(bounds, boxes.numbered(i));
    CurveKeys curve;
    if (!makeCurveKeys(curve, count, bounds)) return false;
    for (int32_t i = 0; i < count; ++i) curve.keys[i] = curveKey(curve, boxes.numbered(i), i);
    sortCurveKeys(curve);
    BoxTree made{tree.memory};
    if (!makeTreeArrays(made, curve)) {
        freeCurveKeys(curve);
        return false;
    }
    made.nodeCount = 1;
    NodeBuild<Boxes>{boxes, curve.keys, made}.fill(0, SlotRange{0, count});
    freeCurveKeys(curve);
    freeBoxTree(tree);
    tree = made;
    return true;
}

}  // namespace zep
