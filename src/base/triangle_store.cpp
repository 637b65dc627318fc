#include "base/triangle_store.h"

#include <algorithm>

#include "base/allocation.h"

namespace zep {

namespace {

// The first block of a mesh built a triangle at a time: a small mesh of a
// box or two wastes little of it.
constexpr int32_t kSmallestBlock = 16;
// Blocks double with the mesh up to this many triangles (2.25 MiB), then
// grow by as much: a mesh built a triangle at a time keeps at most that much
// unused room, and 10^7 such triangles make some 150 blocks to search.
constexpr int32_t kLargestGrowth = 1 << 16;

int32_t roomInLast(const TriangleStore& store) {
    if (store.blockCount == 0) return 0;
    const TriangleBlock& last = store.blocks[store.blockCount - 1];
    return last.first + last.capacity - store.count;
}

}  // namespace

const TriangleBlock& earlierBlockHolding(const TriangleStore& store, int32_t place) {
    const TriangleBlock* after = std::upper_bound(store.blocks, store.blocks + store.blockCount, place,
                                                  [](int32_t p, const TriangleBlock& b) { return p < b.first; });
    return after[-1];
}

bool reserveTriangles(TriangleStore& store, int32_t more) {
    const int32_t room = roomInLast(store);
    if (more <= room) return true;
    if (more > INT32_MAX - store.count) return false;
    // A command's triangles fill what the last block has left, then one new
    // block: exactly their size when they are many, as a level's are.
    const int32_t capacity = std::max(more - room, std::clamp(store.count, kSmallestBlock, kLargestGrowth));
    TriangleCorners* corners = makeUnsetArray<TriangleCorners>(size_t(capacity));
    if (!corners || !growArray(store.blocks, store.blockCount, store.blockCapacity, store.blockCount + 1)) {
        freeUnsetArray(corners);
        return false;
    }
    prepareToWrite(corners, size_t(more - room) * sizeof(TriangleCorners));
    store.blocks[store.blockCount++] = TriangleBlock{corners, store.count + room, capacity};
    return true;
}

void releaseUnusedRoom(TriangleStore& store) {
    if (store.blockCount == 0 || store.blocks[store.blockCount - 1].first < store.count) return;
    freeUnsetArray(store.blocks[--store.blockCount].corners);
}

void freeTriangleStore(TriangleStore& store) {
    for (int32_t i = 0; i < store.blockCount; ++i) freeUnsetArray(store.blocks[i].corners);
    freeArray(store.blocks);
    store = TriangleStore{};
}

}  // namespace zep
