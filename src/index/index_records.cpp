#include "index/index_records.h"

#include "base/allocation.h"

namespace zep {

namespace {

template <class T>
void freeTreeArray(TreeMemory memory, T* array) {
    if (memory == TreeMemory::kRecord)
        freeArray(array);
    else
        freeWorkArray(array);
}

}  // namespace

void freeBoxTree(BoxTree& tree) {
    freeTreeArray(tree.memory, tree.nodes);
    freeTreeArray(tree.memory, tree.order);
    tree.nodes = nullptr;
    tree.order = nullptr;
    tree.nodeCount = tree.boxCount = 0;
}

void freeTriangleIndex(TriangleIndex* index) {
    if (!index) return;
    freeUnsetArray(index->treedCorners);
    freeArray(index->tailBoxes);
    freeBoxTree(index->tree);
    freeRecord(index);
}

}  // namespace zep
