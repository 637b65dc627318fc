// Threads that run one job at a time beside the thread that asks.
//
// The host calls the library from one thread, and one call moves every mover,
// so the library splits that call's work itself. The threads are made when a
// job first needs them, then wait (blocked, not spinning) for the next job,
// and end when the pool is stopped. A job is a function run once per slot:
// slot 0 on the calling thread, the others on the pool's threads; the caller
// returns when every slot has returned.
//
// On Windows each thread holds a reference to the module it runs in and
// gives it back as it ends, so a DLL unloaded without being stopped stays
// mapped until its threads have ended instead of pulling their code away.
#pragma once

#include <cstdint>

namespace zep {

// No job runs on more threads than this, the caller's own included.
constexpr int32_t kMostThreads = 16;

struct WorkerPool;
using PoolJob = void (*)(void* context, int32_t slot);

// Runs job(context, slot) for slots 0 to threads - 1 (threads at most
// kMostThreads), slot 0 on this thread. Makes the pool, and the threads it
// lacks, first. Returns how many slots ran: fewer than asked when a thread
// or the pool could not be made (at least 1: this thread's own).
int32_t runOnThreads(WorkerPool*& pool, int32_t threads, PoolJob job, void* context);

// Ends the pool's threads, waits for them, and frees the pool.
void stopWorkerPool(WorkerPool*& pool);

// Forgets the pool without waiting for anything: for a process that is
// ending, whose threads the system has already stopped (waiting there, under
// the loader's lock, could hang).
void abandonWorkerPool(WorkerPool*& pool);

// The threads the machine runs at once (at least 1).
int32_t hardwareThreads();

namespace testing {
// Threads the pool has running (0 with no pool).
int32_t poolThreads(const WorkerPool* pool);
}  // namespace testing

}  // namespace zep
