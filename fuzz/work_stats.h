// The largest amounts of work the fuzzer has seen, printed when it exits:
// the solver's loop is bounded by a mesh's triangle count, and these numbers
// show how close hostile inputs come to it.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "api/state.h"
#include "pass/pass_work.h"
#include "world/world.h"
#include "pass/solver.h"
#include "world/contact.h"
#include "world/object.h"

namespace zepfuzz {

struct WorkStats {
    int64_t passes = 0;
    int64_t largestSolverCall = 0;    // contacts appended by one solver call
    int64_t mostContactsPerMover = 0;  // contacts of one body after one pass
    int64_t mostWorldTriangles = 0;
    double slowestPassSeconds = 0.0;
};

inline WorkStats& workStats() {
    static WorkStats stats;
    return stats;
}

inline void printWorkStats() {
    const WorkStats& s = workStats();
    std::fprintf(stderr,
                 "zep work: passes %lld, largest solver call %lld contacts, most contacts per "
                 "mover %lld, most triangles in a world %lld, slowest pass %.3f s\n",
                 (long long)s.passes, (long long)s.largestSolverCall, (long long)s.mostContactsPerMover,
                 (long long)s.mostWorldTriangles, s.slowestPassSeconds);
}

inline void noteWorldTriangles(int64_t triangles) {
    WorkStats& s = workStats();
    s.mostWorldTriangles = std::max(s.mostWorldTriangles, triangles);
}

// Times one pass and records what it made.
template <class Pass>
void measurePass(Pass pass) {
    zep::passWork().largestSolverCall = 0;
    const auto began = std::chrono::steady_clock::now();
    pass();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    WorkStats& s = workStats();
    ++s.passes;
    s.slowestPassSeconds = std::max(s.slowestPassSeconds, took.count());
    s.largestSolverCall = std::max(s.largestSolverCall, zep::passWork().largestSolverCall);
    for (const zep::CollisionBody* body = zep::world().bodyListHead; body; body = body->next)
        s.mostContactsPerMover = std::max<int64_t>(s.mostContactsPerMover, zep::countContacts(body));
}

}  // namespace zepfuzz
