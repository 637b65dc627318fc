#include "index/box_tree.h"

#include <algorithm>

#include "base/allocation.h"

namespace zep {

namespace {

// Boxes per leaf: small enough to prune well, large enough to keep the tree
// shallow and its nodes few.
constexpr int32_t kLeafSize = 4;

template <class T>
T* makeTreeArray(TreeMemory memory, size_t count) {
    return memory == TreeMemory::kRecord ? makeArray<T>(count) : makeWorkArray<T>(count);
}

float axisOf(const Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

struct TreeBuild {
    const Box3* boxes;
    int32_t* order;
    BoxTreeNode* nodes;
    int32_t nodeCount = 1;

    Box3 boxOf(int32_t begin, int32_t end) const {
        Box3 box = boxes[order[begin]];
        for (int32_t i = begin + 1; i < end; ++i) box = unite(box, boxes[order[i]]);
        return box;
    }

    // Splits [begin, end) at the median of the longest axis of its box.
    void build(int32_t node, int32_t begin, int32_t end) {
        nodes[node].box = boxOf(begin, end);
        if (end - begin <= kLeafSize) {
            nodes[node].first = begin;
            nodes[node].count = end - begin;
            return;
        }
        const Box3& box = nodes[node].box;
        const float extent[3] = {box.hi.x - box.lo.x, box.hi.y - box.lo.y, box.hi.z - box.lo.z};
        const int axis = int(std::max_element(extent, extent + 3) - extent);
        const int32_t middle = begin + (end - begin) / 2;
        std::nth_element(order + begin, order + middle, order + end, [&](int32_t a, int32_t b) {
            return axisOf(boxes[a].lo, axis) + axisOf(boxes[a].hi, axis) <
                   axisOf(boxes[b].lo, axis) + axisOf(boxes[b].hi, axis);
        });
        const int32_t left = nodeCount;
        nodeCount += 2;
        nodes[node].first = left;
        nodes[node].count = 0;
        build(left, begin, middle);
        build(left + 1, middle, end);
    }
};

}  // namespace

bool buildBoxTree(BoxTree& tree, const Box3* boxes, int32_t count) {
    if (count <= 0) {
        freeBoxTree(tree);
        return true;
    }
    // Median splits make leaves of at least kLeafSize / 2 boxes (or one box),
    // so a tree has fewer than count + 2 nodes.
    const size_t nodeLimit = size_t(count) + 2;
    int32_t* order = makeTreeArray<int32_t>(tree.memory, size_t(count));
    BoxTreeNode* nodes = makeTreeArray<BoxTreeNode>(tree.memory, nodeLimit);
    if (!order || !nodes) {
        BoxTree partial{tree.memory, nodes, 0, order, 0};
        freeBoxTree(partial);
        return false;
    }
    for (int32_t i = 0; i < count; ++i) order[i] = i;
    TreeBuild builder{boxes, order, nodes};
    builder.build(0, 0, count);
    freeBoxTree(tree);
    tree.nodes = nodes;
    tree.nodeCount = builder.nodeCount;
    tree.order = order;
    tree.boxCount = count;
    return true;
}

namespace {

// Slots turned back into the numbers of the boxes they hold.
int32_t boxNumbers(const BoxTree& tree, int32_t* out, int32_t found) {
    for (int32_t i = 0; i < found; ++i) out[i] = tree.order[out[i]];
    return found;
}

}  // namespace

int32_t queryBoxTree(const BoxTree& tree, const Box3* boxes, const Box3& query, int32_t* out, int32_t most) {
    const auto slotBox = [&](int32_t slot) -> const Box3& { return boxes[tree.order[slot]]; };
    return boxNumbers(tree, out,
                      querySlots(tree, slotBox, [&](const Box3& box) { return boxesOverlap(box, query); }, out, most));
}

int32_t queryBoxTree(const BoxTree& tree, const Box3* boxes, const SweptBox& query, int32_t* out) {
    const auto slotBox = [&](int32_t slot) -> const Box3& { return boxes[tree.order[slot]]; };
    return boxNumbers(tree, out, querySlots(tree, slotBox, [&](const Box3& box) { return query.meets(box); }, out));
}

}  // namespace zep
