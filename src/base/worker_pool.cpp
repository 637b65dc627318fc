#include "base/worker_pool.h"

#include <algorithm>

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

// Everything below `lock` is read and written under it.
struct WorkerPool {
    Lock lock;
    Signal jobPosted;
    Signal jobDone;
    ThreadHandle threads[kMostThreads - 1] = {};
    int32_t started = 0;  // threads[0 .. started) run, with slots 1 .. started
    uint64_t generation = 0;  // counts jobs posted
    PoolJob job = nullptr;
    void* context = nullptr;
    int32_t slots = 0;    // of the current job
    int32_t pending = 0;  // its pool slots not yet returned
    bool ending = false;
};

namespace {

struct ThreadStart {
    WorkerPool* pool;
    int32_t slot;
#if defined(_WIN32)
    HMODULE module;  // the reference the thread gives back as it ends
#endif
};

// One pool thread: waits for a job, runs its slot if the job has one, and
// tells the caller; until the pool ends.
void serve(WorkerPool& pool, int32_t slot) {
    uint64_t seen = 0;
    pool.lock.take();
    for (;;) {
        while (!pool.ending && pool.generation == seen) pool.jobPosted.wait(pool.lock);
        if (pool.ending) break;
        seen = pool.generation;
        if (slot >= pool.slots) continue;
        const PoolJob job = pool.job;
        void* context = pool.context;
        pool.lock.give();
        {
            const CommandFloatState floatState;
            job(context, slot);
        }
        pool.lock.take();
        if (--pool.pending == 0) pool.jobDone.wakeOne();
    }
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
    serve(*start.pool, start.slot);
    if (start.module) FreeLibraryAndExitThread(start.module, 0);
    return 0;
}

bool startThread(WorkerPool& pool, int32_t slot, ThreadHandle& handle) {
    // The reference is taken before the thread exists, so the module cannot
    // go while the thread is on its way in.
    ThreadStart* start = new (std::nothrow) ThreadStart{&pool, slot, ownModule()};
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
    serve(*start.pool, start.slot);
    return nullptr;
}

bool startThread(WorkerPool& pool, int32_t slot, ThreadHandle& handle) {
    ThreadStart* start = new (std::nothrow) ThreadStart{&pool, slot};
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
        pool->lock.take();
        pool->job = job;
        pool->context = context;
        pool->slots = slots;
        pool->pending = slots - 1;
        ++pool->generation;
        pool->jobPosted.wakeAll();
        pool->lock.give();
    }
    job(context, 0);
    if (slots > 1) {
        pool->lock.take();
        while (pool->pending > 0) pool->jobDone.wait(pool->lock);
        pool->lock.give();
    }
    return slots;
}

void stopWorkerPool(WorkerPool*& pool) {
    if (!pool) return;
    pool->lock.take();
    pool->ending = true;
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
