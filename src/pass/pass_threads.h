// The movers of one pass on several threads, with the serial pass's results.
//
// Within a pass the movers do not meet one another: a mover meets meshes at
// the positions the host gave them, and every mover's result is written back
// only when all are done. What the movers share are the meshes' working
// records, and the split keeps those apart: before it, every mesh's index is
// brought up to date and given frames for each thread slot; during it, each
// thread sweeps into its own records and leaves the meshes' contact lists
// alone; after it, the contacts go on their meshes' lists mover by mover in
// body order, as the serial pass would have put them. So positions, every
// contact and the order of every list are the same to the bit whatever the
// thread count and the timing.
#pragma once

#include <cstdint>

namespace zep {

struct CollisionBody;
struct Pass;
struct PartnerTable;

// Moves one active mover (by collide and slide, or by rules of the layer
// above); it may read the world and the meshes and write only the mover.
using MoveMover = void (*)(Pass& pass, CollisionBody* mover, const PartnerTable* table);

// The most threads an automatic setting (0) gives a pass.
constexpr int32_t kAutomaticThreadCap = 8;

// Moves every active mover of the pass with `move`, on as many threads as
// the setting allows and the movers pay for. False, having moved none, when
// the pass should run on the host's thread alone (too few movers, the
// allocation test hook armed, or no memory for the split).
bool moveMoversOnThreads(Pass& pass, const PartnerTable* table, MoveMover move);

// The threads a pass of `movers` movers would run on now.
int32_t passThreadsFor(const Pass& pass, int32_t movers);

namespace testing {
// Movers a pass needs per thread before it splits (32 unless set; 1 splits
// every pass of two movers or more, so small scenes run threaded too).
void setMoversPerThread(int32_t movers);
int32_t moversPerThread();
// Passes split over two threads or more since load.
int64_t splitPasses();
}  // namespace testing

}  // namespace zep
