#include "index/triangle_index.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>

#include "base/allocation.h"
#include "base/scratch.h"
#include "index/box_tree.h"
#include "index/tree_build.h"

namespace zep {

namespace {

// Triangles added since the last build are checked one by one; they are
// folded into a new tree once there are this many, or a quarter of the tree.
constexpr int32_t kLongestTail = 256;

bool tailTooLong(int32_t tail, int32_t treed) { return tail > std::max(kLongestTail, treed / 4); }

// Lists the triangles added since the last refresh: their boxes join the
// tail.
bool listNewTriangles(const TriangleStore& triangles, TriangleIndex& index) {
    const int32_t tail = index.listed - index.tree.boxCount;
    if (!growArray(index.tailBoxes, tail, index.tailCapacity, triangles.count - index.tree.boxCount)) return false;
    for (const TriangleCorners& t : TrianglesFrom{triangles, index.listed})
        index.tailBoxes[index.listed++ - index.tree.boxCount] = triangleBox(t);
    return true;
}

// The triangles copied into the tree's slot order as the build asks for
// each slot's box (nearly in slot order). The copy reads the mesh's block
// in the tree's order, all over it: each triangle is asked for this many
// slots ahead, so that it is on its way by the time it is copied.
constexpr int32_t kCopyAhead = 16;

struct CopyInSlotOrder {
    const TriangleStore& triangles;
    const BoxTree& tree;
    TriangleCorners* treed;

    Box3 operator()(int32_t slot) const {
        if (slot + kCopyAhead < tree.boxCount) __builtin_prefetch(&triangleAt(triangles, tree.order[slot + kCopyAhead]));
        // A new object where the build kept its keys.
        std::construct_at(treed + slot, triangleAt(triangles, tree.order[slot]));
        return triangleBox(treed[slot]);
    }
};

// A new tree over every triangle, and their corners in its slot order; the
// tail is then empty. False, with the index as it was, when memory runs out.
bool buildTree(const TriangleList& list, TriangleIndex& index) {
    const TriangleStore& triangles = *list.triangles;
    TriangleCorners* treed = makeUnsetArray<TriangleCorners>(size_t(triangles.count));
    if (!treed) return false;
    prepareToWrite(treed, size_t(triangles.count) * sizeof(TriangleCorners));
    BoxTree made{TreeMemory::kRecord};
    const auto boxAt = [&triangles](int32_t place) { return triangleBox(triangleAt(triangles, place)); };
    // The corners' array is the keys' room until the corners are copied in.
    static_assert(sizeof(TriangleCorners) >= kCurveKeyBytes && alignof(std::max_align_t) >= alignof(uint64_t));
    if (!shapeBoxTree(made, triangles.count, list.bounds, boxAt, treed)) {
        freeUnsetArray(treed);
        return false;
    }
    setNodeBoxes(made, CopyInSlotOrder{triangles, made, treed});
    freeBoxTree(index.tree);
    index.tree = made;
    freeUnsetArray(index.treedCorners);
    index.treedCorners = treed;
    freeArray(index.tailBoxes);
    index.tailBoxes = nullptr;
    index.tailCapacity = 0;
    index.listed = triangles.count;
    return true;
}

bool refresh(const TriangleList& list, TriangleIndex& index, IndexVersions& versions) {
    const TriangleStore& triangles = *list.triangles;
    index.triangles = &triangles;
    const int32_t listedBefore = index.listed;
    // A tail that would be too long goes straight into a new tree, without
    // being listed first.
    if (!(treeDue(&index, list) ? buildTree(list, index) : listNewTriangles(triangles, index))) return false;
    if (index.version == 0 || index.listed != listedBefore) index.version = ++versions.last;
    return true;
}

// True when an earlier refresh ran out of memory and neither the list nor
// the memory at hand has changed since.
bool stillFailing(const TriangleList& list, const TriangleIndex& index) {
    return index.failed && index.failedWithTriangles == list.triangles->count && index.failedAtRelease == memoryReleases();
}

}  // namespace

bool treeDue(const TriangleIndex* index, const TriangleList& list) {
    const int32_t treed = index ? index->tree.boxCount : 0;
    return list.allFinite && tailTooLong(list.triangles->count - treed, treed);
}

bool refreshTriangleIndex(TriangleIndex*& made, const TriangleList& list, IndexVersions& versions) {
    if (!made) {
        made = makeRecord<TriangleIndex>();
        if (!made) return false;
    }
    TriangleIndex& index = *made;
    if (stillFailing(list, index)) return false;
    index.failed = !refresh(list, index, versions);
    index.failedWithTriangles = list.triangles->count;
    index.failedAtRelease = memoryReleases();
    return !index.failed;
}

int32_t gatherCandidates(const TriangleIndex& index, const Box3& query, ScratchBuffer& buffer,
                         const int32_t** places, int32_t most) {
    int32_t* out = reserveScratch(buffer, index.listed);
    if (!out) return -1;
    int32_t found = querySlots(
        index.tree, [&](int32_t slot) { return slotBox(index, slot); },
        [&](const Box3& box) { return boxesOverlap(box, query); }, out, most);
    if (found > most) return found;
    for (int32_t i = 0; i < found; ++i) out[i] = index.tree.order[out[i]];
    std::sort(out, out + found);
    for (int32_t place = index.tree.boxCount; place < index.listed && found <= most; ++place)
        if (boxesOverlap(placeBox(index, place), query)) out[found++] = place;
    *places = out;
    return found;
}

}  // namespace zep
