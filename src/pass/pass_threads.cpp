#include "pass/pass_threads.h"

#include <algorithm>
#include <atomic>

#include "base/allocation.h"
#include "base/worker_pool.h"
#include "pass/pass.h"
#include "pass/pass_work.h"
#include "world/contact.h"
#include "world/mesh_index.h"
#include "world/object.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zep {

namespace {

// Below this many movers a thread is not worth waking: waking it and
// waiting for it costs some tens of microseconds, a walker's pass a few.
constexpr int32_t kMoversPerThread = 32;
int32_t moversPerThreadNow = kMoversPerThread;
int64_t passesSplit = 0;
// Movers are handed out this many at a time: few enough that the threads
// finish together, enough that they rarely touch the shared count.
constexpr int32_t kMoversPerTake = 4;

struct MoverJob {
    World* world = nullptr;
    PassWork* works[kMostThreads] = {};
    const PartnerTable* table = nullptr;
    CollisionBody** movers = nullptr;
    int32_t count = 0;
    MoveMover move = nullptr;
    std::atomic<int32_t> next{0};
};

void runSlot(void* context, int32_t slot) {
    MoverJob& job = *static_cast<MoverJob*>(context);
    Pass pass{*job.world, *job.works[slot]};
    for (;;) {
        const int32_t first = job.next.fetch_add(kMoversPerTake, std::memory_order_relaxed);
        if (first >= job.count) return;
        const int32_t last = std::min(job.count, first + kMoversPerTake);
        for (int32_t i = first; i < last; ++i) job.move(pass, job.movers[i], job.table);
    }
}

// The active bodies in body order, in the work's list, and how many of them
// have an ellipsoid (what the split is worth); false without memory.
bool listMovers(World& world, PassWork& work, int32_t& listed, int32_t& moving) {
    listed = moving = 0;
    for (CollisionBody* body = world.bodyListHead; body; body = body->next) listed += body->active;
    if (!reserveWorkArray(work.movers, work.moverCapacity, std::max(listed, 1))) return false;
    int32_t place = 0;
    for (CollisionBody* body = world.bodyListHead; body; body = body->next) {
        if (!body->active) continue;
        work.movers[place++] = body;
        moving += hasShapeOfKind(body, kShapeEllipsoid);
    }
    return true;
}

// What the threads must find ready, because none of them may make it: each
// active mesh's index up to date (a mesh whose index cannot be had is swept
// whole, the same result), and its frames for every thread slot.
void prepareMeshes(World& world, PassWork& work) {
    for (CollisionBody* body = world.bodyListHead; body; body = body->next) {
        if (!body->active) continue;
        for (CollisionShape* shape = body->shapesHead; shape; shape = shape->next) {
            MeshShape* mesh = asMesh(shape);
            if (!mesh) continue;
            if (!world.plainPath) refreshMeshIndex(*mesh, work.sweep.indexVersions);
            if (!mesh->threadFrames) mesh->threadFrames = makeWorkArray<MeshFrames>(size_t(kMostThreads - 1));
        }
    }
}

// Each slot's work is set for this pass as the host's is.
bool prepareSlotWorks(PassWork& work, MoverJob& job, int32_t threads) {
    if (!work.slotWorks) work.slotWorks = makeWorkArray<PassWork>(size_t(kMostThreads - 1));
    if (!work.slotWorks) return false;
    job.works[0] = &work;
    for (int32_t slot = 1; slot < threads; ++slot) {
        PassWork& own = work.slotWorks[slot - 1];
        own.chainPerMesh = work.chainPerMesh;
        own.largestSolverCall = 0;
        own.sweep.passNumber = work.sweep.passNumber;
        own.sweep.plainPath = work.sweep.plainPath;
        own.sweep.threadSlot = slot;
        own.sweep.sharedMeshes = true;
        job.works[slot] = &own;
    }
    work.sweep.sharedMeshes = true;
    return true;
}

}  // namespace

int32_t passThreadsFor(const Pass& pass, int32_t movers) {
    const int32_t asked = pass.world.passThreads > 0 ? pass.world.passThreads
                                                     : std::min(hardwareThreads(), kAutomaticThreadCap);
    return std::clamp(std::min(asked, movers / moversPerThreadNow), 1, kMostThreads);
}

bool moveMoversOnThreads(Pass& pass, const PartnerTable* table, MoveMover move) {
    // Which allocation the test hook fails must not hang on the timing.
    if (pass.world.passThreads == 1 || allocationFailuresArmed()) return false;
    PassWork& work = pass.work;
    int32_t count = 0, moving = 0;
    const int32_t threads = listMovers(pass.world, work, count, moving) ? passThreadsFor(pass, moving) : 1;
    MoverJob job;
    if (threads < 2 || !prepareSlotWorks(work, job, threads)) return false;
    prepareMeshes(pass.world, work);
    job.world = &pass.world;
    job.table = table;
    job.movers = work.movers;
    job.count = count;
    job.move = move;
    const int32_t ran = runOnThreads(work.pool, threads, runSlot, &job);
    passesSplit += ran > 1;
    work.sweep.sharedMeshes = false;
    for (int32_t slot = 1; slot < ran; ++slot)
        work.largestSolverCall = std::max(work.largestSolverCall, job.works[slot]->largestSolverCall);
    for (int32_t i = 0; i < count; ++i) listMeshContacts(work.movers[i]);
    return true;
}

namespace testing {
void setMoversPerThread(int32_t movers) { moversPerThreadNow = movers > 0 ? movers : kMoversPerThread; }
int32_t moversPerThread() { return moversPerThreadNow; }
int64_t splitPasses() { return passesSplit; }
}  // namespace testing

}  // namespace zep
