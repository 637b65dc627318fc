// Reusable working memory for candidate lists, so a sweep allocates nothing
// once the buffers have grown to the largest mesh seen.
#pragma once

#include <cstdint>

namespace zep {

// A buffer with room for `count` places (at least one); nullptr when memory
// runs out. Valid until the next call.
int32_t* scratchPlaces(int32_t count);
// A second, independent buffer of the same kind, for the pass's partner lists.
int32_t* scratchPartners(int32_t count);
// A third, for the triangle numbers a sweep must skip.
int32_t* scratchContactNumbers(int32_t count);
// Releases the buffers (at stop, so an unloaded library leaves nothing).
void releaseScratch();

}  // namespace zep
