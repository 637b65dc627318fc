// A mesh's triangles in list order, kept in a few large blocks rather than
// one record each: a level of a million triangles is one block, made by one
// allocation. A block never moves once made, so the index and the sweeps may
// keep pointers to a triangle's corners for as long as its mesh lives.
// Triangles are only ever appended, and freed all together.
#pragma once

#include <cstdint>

#include "base/triangle_corners.h"

namespace zep {

// Places first to first + capacity - 1 of the list.
struct TriangleBlock {
    TriangleCorners* corners = nullptr;
    int32_t first = 0;
    int32_t capacity = 0;
};

struct TriangleStore {
    TriangleBlock* blocks = nullptr;  // in list order, each full but the last
    int32_t blockCount = 0;
    int32_t blockCapacity = 0;
    int32_t count = 0;  // triangles stored; a triangle's number is its place + 1

    // Walks the triangles in list order, from a place on.
    class Iterator {
    public:
        Iterator(const TriangleBlock* block, int32_t inBlock, int32_t left)
            : block_(block), inBlock_(inBlock), left_(left) {}
        const TriangleCorners& operator*() const { return block_->corners[inBlock_]; }
        Iterator& operator++() {
            --left_;
            if (++inBlock_ == block_->capacity) {
                ++block_;
                inBlock_ = 0;
            }
            return *this;
        }
        bool operator==(const Iterator& other) const { return left_ == other.left_; }

    private:
        const TriangleBlock* block_;
        int32_t inBlock_;
        int32_t left_;  // triangles from this one to the end
    };
    Iterator begin() const { return Iterator(blocks, 0, count); }
    Iterator end() const { return Iterator(nullptr, 0, 0); }
};

// The block that holds a place below the count, when it is not the last.
const TriangleBlock& earlierBlockHolding(const TriangleStore& store, int32_t place);

// The block that holds a place below the count: most meshes are one block,
// or are read near their end.
inline const TriangleBlock& blockHolding(const TriangleStore& store, int32_t place) {
    const TriangleBlock& last = store.blocks[store.blockCount - 1];
    return place >= last.first ? last : earlierBlockHolding(store, place);
}

inline const TriangleCorners& triangleAt(const TriangleStore& store, int32_t place) {
    const TriangleBlock& block = blockHolding(store, place);
    return block.corners[place - block.first];
}

// The triangles from place `first` to the end, in list order.
struct TrianglesFrom {
    const TriangleStore& store;
    int32_t first;
    TriangleStore::Iterator begin() const {
        if (first >= store.count) return end();
        const TriangleBlock& block = blockHolding(store, first);
        return TriangleStore::Iterator(&block, first - block.first, store.count - first);
    }
    TriangleStore::Iterator end() const { return store.end(); }
};

// Makes room for `more` triangles after the last; false, with the store
// holding what it held, when memory runs out.
bool reserveTriangles(TriangleStore& store, int32_t more);
// Appends a triangle into room reserved before.
inline void appendReserved(TriangleStore& store, const TriangleCorners& corners) {
    // The room a reservation found in the block before a new one comes first.
    TriangleBlock* block = store.blocks + store.blockCount - 1;
    if (store.count < block->first) --block;
    block->corners[store.count - block->first] = corners;
    ++store.count;
}
// Frees the last block when it holds no triangle: undoes a reservation that
// a command did not use.
void releaseUnusedRoom(TriangleStore& store);
void freeTriangleStore(TriangleStore& store);

}  // namespace zep
