#include "base/worker_pool.h"

#include <algorithm>
#include <atomic>

#include "base/allocation.h"
#include "base/float_state.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace zep {

namespace {

#if defined(_WIN32)
struct Lock {
    SRWLOCK lock = SRWLOCK_INIT;
    void take() { AcquireSRWLockExclusive(&lock); }
    void give() { ReleaseSRWLockExclusive(&lock); }
};
struct Signal {
    CONDITION_VARIABLE cv = CONDITION_VARIABLE_INIT;
    void wait(Lock& l) { SleepConditionVariableSRW(&cv, &l.lock, INFINITE, 0); }
    void wakeAll() { WakeAllConditionVariable(&cv); }
    void wakeOne() { WakeConditionVariable(&cv); }
};
using ThreadHandle = HANDLE;
#else
struct Lock {
    pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
    void take() { pthread_mutex_lock(&lock); }
    void give() { pthread_mutex_unlock(&lock); }
};
struct Signal {
    pthread_cond_t cv = PTHREAD_COND_INITIALIZER;
    void wait(Lock& l) { pthread_cond_wait(&cv, &l.lock); }
    void wakeAll() { pthread_cond_broadcast(&cv); }
    void wakeOne() { pthread_cond_signal(&cv); }
};
using ThreadHandle = pthread_t;
#endif

}  // namespace

// The host posts a job by storing its number and slot count in `posted`
// (with job and context written before); a thread that sees a new number
// runs its slot if the job has one, and the last to finish wakes the host.
// Both sides spin a while before they sleep: the next job (the next pass)
// or the last slot's end usually comes within microseconds, and waking a
// sleeping thread costs tens of them (more on a virtual machine).
struct WorkerPool {
    Lock lock;
    Signal jobPosted;
    Signal jobDone;
    ThreadHandle threads[kMostThreads - 1] = {};
    int32_t started = 0;  // threads[0 .. started) run, with slots 1 .. started; the host's alone
    // The job's number times 256 plus its slot count: one word, so that a
    // thread reads a number and its slot count together.
    std::atomic<uint64_t> posted{0};
    // Read only by the job's own slots, which the host waits for before it
    // writes them again.
    PoolJob job = nullptr;
    void* context = nullptr;
    std::atomic<int32_t> pending{0};  // pool slots of the current job not yet returned
    std::atomic<bool> ending{false};
    // How long both sides spin before they sleep: none when the job has more
    // slots than the machine has hardware threads, where a spinning thread
    // would hold a core another slot needs.
    std::atomic<int32_t> spins{0};
};

namespace {

constexpr uint64_t kSlotBits = 8;
constexpr uint64_t kSlotMask = (uint64_t(1) << kSlotBits) - 1;
static_assert(kMostThreads <= int32_t(kSlotMask));
// About a fifth of a millisecond of spinning on a current x86 core.
constexpr int32_t kSpins = 1 << 13;

inline void spinPause() {
#if defined(__SSE__)
    _mm_pause();
#endif
}

struct ThreadStart {
    WorkerPool* pool;
    int32_t slot;
    uint64_t seen;  // the number of the last job posted before the thread was made
#if defined(_WIN32)
    HMODULE module;  // the reference the thread gives back as it ends
#endif
};

// The posted word once it names a job after `seen`, or once the pool ends.
uint64_t nextPost(WorkerPool& pool, uint64_t seen) {
    const int32_t spins = pool.spins.load(std::memory_order_relaxed);
    for (int32_t spin = 0; spin < spins; ++spin) {
        const uint64_t word = pool.posted.load(std::memory_order_acquire);
        if ((word >> kSlotBits) != seen || pool.ending.load(std::memory_order_relaxed)) return word;
        spinPause();
    }
    pool.lock.take();
    while (!pool.ending.load(std::memory_order_relaxed) &&
           (pool.posted.load(std::memory_order_acquire) >> kSlotBits) == seen)
        pool.jobPosted.wait(pool.lock);
    const uint64_t word = pool.posted.load(std::memory_order_acquire);
    pool.lock.give();
    return word;
}

// One pool thread: waits for a job, runs its slot if the job has one, and
// tells the host; until the pool ends.
void serve(WorkerPool& pool, int32_t slot, uint64_t seen) {
    for (;;) {
        const uint64_t word = nextPost(pool, seen);
        if (pool.ending.load(std::memory_order_relaxed)) return;
        seen = word >> kSlotBits;
        if (slot >= int32_t(word & kSlotMask)) continue;
        {
            const CommandFloatState floatState;
            pool.job(pool.context, slot);
        }
        if (pool.pending.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            pool.lock.take();
            pool.jobDone.wakeOne();
            pool.lock.give();
        }
    }
}

void waitForSlots(WorkerPool& pool) {
    const int32_t spins = pool.spins.load(std::memory_order_relaxed);
    for (int32_t spin = 0; spin < spins; ++spin) {
        if (pool.pending.load(std::memory_order_acquire) == 0) return;
        spinPause();
    }
    pool.lock.take();
    while (pool.pending.load(std::memory_order_acquire) > 0) pool.jobDone.wait(pool.lock);
    pool.lock.give();
}

#if defined(_WIN32)
HMODULE ownModule() {
    HMODULE module = nullptr;
    // Counts a reference to this module, given back as the thread ends.
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&ownModule), &module))
        return nullptr;
    return module;
}

DWORD WINAPI threadMain(void* argument) {
    const ThreadStart start = *static_cast<ThreadStart*>(argument);
    delete static_cast<ThreadStart*>(argument);
    serve(*start.pool, start.slot, start.seen);
    if (start.module) FreeLibraryAndExitThread(start.module, 0);
    return 0;
}

bool startThread(WorkerPool& pool, int32_t slot, ThreadHandle& handle) {
    // The reference is taken before the thread exists, so the module cannot
    // go while the thread is on its way in.
    const uint64_t seen = pool.posted.load(std::memory_order_relaxed) >> kSlotBits;
    ThreadStart* start = new (std::nothrow) ThreadStart{&pool, slot, seen, ownModule()};
    if (start) {
        handle = CreateThread(nullptr, 0, threadMain, start, 0, nullptr);
        if (handle) return true;
    }
    if (start && start->module) FreeLibrary(start->module);
    delete start;
    return false;
}

void joinThread(ThreadHandle handle) {
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
}
#else
void* threadMain(void* argument) {
    const ThreadStart start = *static_cast<ThreadStart*>(argument);
    delete static_cast<ThreadStart*>(argument);
    serve(*start.pool, start.slot, start.seen);
    return nullptr;
}

bool startThread(WorkerPool& pool, int32_t slot, ThreadHandle& handle) {
    const uint64_t seen = pool.posted.load(std::memory_order_relaxed) >> kSlotBits;
    ThreadStart* start = new (std::nothrow) ThreadStart{&pool, slot, seen};
    if (!start) return false;
    if (pthread_create(&handle, nullptr, threadMain, start) == 0) return true;
    delete start;
    return false;
}

void joinThread(ThreadHandle handle) { pthread_join(handle, nullptr); }
#endif

// Starts threads until `threads` slots can run; returns how many can.
int32_t startThreads(WorkerPool& pool, int32_t threads) {
    while (pool.started + 1 < threads && startThread(pool, pool.started + 1, pool.threads[pool.started]))
        ++pool.started;
    return std::min(threads, pool.started + 1);
}

}  // namespace

int32_t runOnThreads(WorkerPool*& pool, int32_t threads, PoolJob job, void* context) {
    threads = std::clamp(threads, 1, kMostThreads);
    if (threads > 1 && !pool) {
        pool = new (std::nothrow) WorkerPool{};
        if (!pool) noteAllocationRefused();
    }
    // Threads start outside the lock: a new one takes it at once.
    const int32_t slots = threads > 1 && pool ? startThreads(*pool, threads) : 1;
    if (slots > 1) {
        pool->job = job;
        pool->context = context;
        pool->pending.store(slots - 1, std::memory_order_relaxed);
        pool->spins.store(slots <= hardwareThreads() ? kSpins : 0, std::memory_order_relaxed);
        const uint64_t number = (pool->posted.load(std::memory_order_relaxed) >> kSlotBits) + 1;
        pool->lock.take();
        pool->posted.store(number << kSlotBits | uint64_t(slots), std::memory_order_release);
        pool->jobPosted.wakeAll();
        pool->lock.give();
    }
    job(context, 0);
    if (slots > 1) waitForSlots(*pool);
    return slots;
}

void stopWorkerPool(WorkerPool*& pool) {
    if (!pool) return;
    pool->lock.take();
    pool->ending.store(true, std::memory_order_relaxed);
    pool->jobPosted.wakeAll();
    pool->lock.give();
    for (int32_t i = 0; i < pool->started; ++i) joinThread(pool->threads[i]);
    delete pool;
    pool = nullptr;
}

void abandonWorkerPool(WorkerPool*& pool) { pool = nullptr; }

namespace {

int32_t askHardwareThreads() {
#if defined(_WIN32)
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return std::max<int32_t>(1, int32_t(info.dwNumberOfProcessors));
#else
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? int32_t(std::min<long>(online, INT32_MAX)) : 1;
#endif
}

}  // namespace

// Asked once: on Linux the answer is read from a file, which cost a pass of
// 16 movers a quarter of its time when asked every pass.
int32_t hardwareThreads() {
    static const int32_t threads = askHardwareThreads();
    return threads;
}

namespace testing {
int32_t poolThreads(const WorkerPool* pool) { return pool ? pool->started : 0; }
}  // namespace testing

}  // namespace zep
