// The scenes whose passes bench/compare.cpp times and bench/instructions.cpp
// counts, built and moved through a command table so that two builds of the
// library run exactly the same frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "commands.h"

namespace zepbench {

constexpr int kMoverBase = 1;
constexpr int kLevelObject = 5000;

struct PassScene {
    std::string name;   // what it is, for the report
    std::string label;  // a short name without spaces
    int movers;
    // Builds the scene on a started, empty world.
    void (*build)(const Commands& zep);
    // The host's moves before pass `frame`, without the pass.
    void (*move)(const Commands& zep, int frame);
};

// The walking crowd at the stroll of `make bench` and at a brisk walk, the
// shots, the two crowds again on 10^6 triangles, and a scene of 16 walkers.
std::vector<PassScene> passScenes();

// Stops the system if it runs and starts it again empty, with the one rule
// the scenes use: type-1 movers slide on type-2 meshes.
void freshWorld(const Commands& zep);

// A 64-bit FNV-1a digest of the first `movers` movers' positions and
// contacts, bit for bit: two builds that agree on every bit agree on it.
uint64_t resultDigest(const Commands& zep, int movers);

}  // namespace zepbench
