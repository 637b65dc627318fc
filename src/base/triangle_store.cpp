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

const TriangleBlock& blockHolding(const TriangleStore& store, int32_t place) {
    const TriangleBlock* begin = store.blocks;
    const TriangleBlock* end = begin + store.blockCount;
    // Most meshes are one block, or are read near their end.
    if (place >= end[-1].first) return end[-1];
    const TriangleBlock* after =
        std::upper_bound(begin, end, place, [](int32_t p, const TriangleBlock& b) { return p < b.first; });
    return after[-1];
}

bool reserveTriangles(TriangleStore& store, int32_t more) {
    const int32_t room = roomInLast(store);
    if (more <= room) return true;
    if (more > INT32_MAX - store.count) return false;
    // A command's triangles fill what the last block has left, then one new
    // block: exactly their size when they are many, as a level's are.
    const int32_t capacity = std::max(more - room, std::clamp(store.count, kSmallestBlock, kLargestGrowth));
    TriangleCorners* corners = makeArray<TriangleCorners>(size_t(capacity));
    if (!corners || !growArray(store.blocks, store.blockCount, store.blockCapacity, store.blockCount + 1)) {
        freeArray(corners);
        return false;
    }
    store.blocks[store.blockCount++] = TriangleBlock{corners, store.count + room, capacity};
    return true;
}

void appendReserved(TriangleStore& store, const TriangleCorners& corners) {
    // The room a reservation found in the block before a new one comes first.
    TriangleBlock* block = store.blocks + store.blockCount - 1;
    if (store.count < block->first) --block;
    block->corners[store.count - block->first] = corners;
    ++store.count;
}

void releaseUnusedRoom(TriangleStore& store) {
    if (store.blockCount == 0 || store.blocks[store.blockCount - 1].first < store.count) return;
    freeArray(store.blocks[--store.blockCount].corners);
}

void freeTriangleStore(TriangleStore& store) {
    for (int32_t i = 0; i < store.blockCount; ++i) freeArray(store.blocks[i].corners);
    freeArray(store.blocks);
    store = TriangleStore{};
}

}  // namespace zep
