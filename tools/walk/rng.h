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

// A walker's own turns (splitmix64): a change in one walker's pass leaves
// every other walker's walk as it was, so two builds compare walker by walker.
class WalkerRng {
public:
    explicit WalkerRng(uint64_t seed = 0) : state_(seed) {}
    double uniform(double lo, double hi) { return lo + (hi - lo) * double(next() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return uniform(0, 1) < p; }

private:
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint64_t state_;
};

}  // namespace walk
