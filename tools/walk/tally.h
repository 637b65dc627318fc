// The counts of a walk, per map and in total, and the table they print as.
#pragma once

#include <string>
#include <vector>

namespace walk {

// A pass worth replaying: which run, which walker (its index in the crowd,
// from 0), which frame (from 0).
struct Case {
    std::string map;
    unsigned long seed = 0;
    int walker = 0;
    int frame = 0;
    std::string what;
};

struct Tally {
    long passes = 0;          // one walker through one RunCollisionZEP
    long runs = 0;            // RunCollisionZEP calls
    double runSeconds = 0;    // time inside RunCollisionZEP
    long walkers = 0;         // walkers dropped
    long escapes = 0;
    long escapesAfterCrossing = 0;  // escapes of walkers that had crossed a face
    long crossingPasses = 0;  // passes whose path crossed a front face
    long walkersCrossed = 0;
    long newOverlaps = 0;     // passes ending deeper than 0.1 radii in a triangle not so before
    long stuck = 0;           // walkers stuck at least once (see walker.h)
    double worstJump = 0;     // largest distance moved in one pass ...
    double worstJumpAsked = 0;  // ... and the step asked in that pass
    std::vector<Case> cases;

    void add(const Tally& other);
};

// One markdown row per map and a total row.
void printTable(const std::vector<std::pair<std::string, Tally>>& rows);
void printCases(const std::vector<Case>& cases, size_t most);

}  // namespace walk
