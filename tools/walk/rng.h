// The driver's random numbers: a fixed generator and our own conversion to
// doubles, so a seed gives the same walk with any standard library.
#pragma once

#include <cstdint>
#include <random>

namespace walk {

class Rng {
public:
    explicit Rng(uint64_t seed) : engine_(seed) {}
    double uniform(double lo, double hi) { return lo + (hi - lo) * double(engine_() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return uniform(0, 1) < p; }
    uint64_t below(uint64_t n) { return engine_() % n; }

private:
    std::mt19937_64 engine_;
};

}  // namespace walk
