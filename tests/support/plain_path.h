// The one place the tests and the fuzzer switch between the indexed paths and
// the plain reference path that visits every pair and every triangle.
#pragma once

#include <array>
#include <type_traits>
#include <utility>

#include "api/state.h"
#include "world/world.h"

namespace zeptest {

// The plain path (or the indexed one) for the guard's lifetime; the switch is
// set back as it was found however the scope ends, so no test leaves the
// next one on the wrong path.
class PlainPath {
public:
    explicit PlainPath(bool plain = true) : before_(zep::world().plainPath) { zep::world().plainPath = plain; }
    ~PlainPath() { zep::world().plainPath = before_; }
    PlainPath(const PlainPath&) = delete;
    PlainPath& operator=(const PlainPath&) = delete;

private:
    bool before_;
};

inline bool onPlainPath() { return zep::world().plainPath; }

// Runs `run` on the indexed path, then on the plain one: {indexed, plain}.
template <class Run>
auto bothPaths(Run&& run) -> std::array<std::invoke_result_t<Run&>, 2> {
    auto indexed = [&] { PlainPath path(false); return run(); }();
    auto plain = [&] { PlainPath path(true); return run(); }();
    return {std::move(indexed), std::move(plain)};
}

}  // namespace zeptest
