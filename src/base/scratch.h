// Reusable working memory for candidate lists, so a sweep allocates nothing
// once the buffers have grown to the largest mesh seen.
#pragma once

#include <cstdint>

namespace zep {

struct ScratchBuffer {
    int32_t* data = nullptr;
    int32_t capacity = 0;
};

// Three independent buffers, for lists that are alive at the same time.
struct Scratch {
    ScratchBuffer places;          // a mesh's candidate triangles
    ScratchBuffer partners;        // a step's partner bodies
    ScratchBuffer contactNumbers;  // the triangle numbers a sweep must skip
};

// A buffer with room for `count` entries (at least one); nullptr when memory
// runs out. Valid until the next call for the same buffer.
int32_t* reserveScratch(ScratchBuffer& buffer, int32_t count);
// Releases the buffers (at stop, so an unloaded library leaves nothing).
void releaseScratch(Scratch& scratch);

}  // namespace zep
