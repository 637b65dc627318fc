// The one place the tests and the fuzzer choose how many threads a pass
// runs on, and make even small scenes split.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "pass/pass_threads.h"
#include "zepcollide.h"

namespace zeptest {

// The thread counts every threaded result is checked at.
inline constexpr std::initializer_list<int32_t> kThreadCounts = {1, 2, 3, 4, 8};

// For the guard's lifetime a pass runs on `threads` threads and splits
// however few its movers (one per thread is enough); both settings go back
// to the defaults however the scope ends.
class PassThreads {
public:
    explicit PassThreads(int32_t threads) {
        zep::testing::setMoversPerThread(1);
        SetCollisionThreadsZEP(threads);
    }
    ~PassThreads() {
        zep::testing::setMoversPerThread(0);
        SetCollisionThreadsZEP(0);
    }
    PassThreads(const PassThreads&) = delete;
    PassThreads& operator=(const PassThreads&) = delete;
};

// Runs `run` at every count of kThreadCounts after the first, with passes
// split, and calls check(threads, result) with each result.
template <class Run, class Check>
void atEveryThreadCount(Run&& run, Check&& check) {
    for (int32_t threads : kThreadCounts) {
        if (threads == 1) continue;
        const PassThreads split(threads);
        check(threads, run());
    }
}

}  // namespace zeptest
