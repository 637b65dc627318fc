// The counts of a walk, per map and in total, and the table they print as.
#pragma once

#include <array>
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

// Why a pass ended reaching deeply into a triangle it was not deep in
// before, in the order they are tested (see Crowd::overlapCause).
enum OverlapCause : int {
    kFromBehind,          // the centre started behind the triangle's plane, or on it
    kInsideAfterBack,     // the pass started overlapping, after an entry from behind
    kStartedOverlapping,  // the pass started overlapping, no entry from behind
    kMetInPass,           // the triangle was a contact earlier in the same pass
    kOtherOverlap,
    kOverlapCauses
};
const char* overlapCauseName(OverlapCause cause);

// What holds a stuck walker, from the contacts of the pass that found it stuck.
enum StuckCause : int { kStepEdge, kWedge, kNarrowGap, kOtherStuck, kStuckCauses };
const char* stuckCauseName(StuckCause cause);

struct Tally {
    long passes = 0;          // one walker through one RunCollisionZEP
    long runs = 0;            // RunCollisionZEP calls
    double runSeconds = 0;    // time inside RunCollisionZEP
    long walkers = 0;         // walkers dropped
    long escapes = 0;
    long escapesAfterCrossing = 0;  // escapes of walkers that had crossed a face
    long escapesFellThrough = 0;    // not crossed, but sank below a floor that was under them
    long crossingPasses = 0;  // passes whose path crossed a front face
    long walkersCrossed = 0;
    long newOverlaps = 0;     // passes ending deeper than 0.1 radii in a triangle not so before
    std::array<long, kOverlapCauses> overlapsBy{};
    std::vector<double> overlapDepths;  // per such pass, its deepest new overlap in radii
    long deepFrontOverlaps = 0;  // such passes deeper than 0.5 radii, not entered from behind
    long stuck = 0;           // walkers stuck at least once (see walker.h)
    std::array<long, kStuckCauses> stuckBy{};
    double worstJump = 0;     // largest distance moved in one pass ...
    double worstJumpAsked = 0;  // ... and the step asked in that pass
    std::vector<Case> cases;

    void add(const Tally& other);
};

// One markdown row per map and a total row; then the same rows for the
// causes of new overlaps, escapes and stuck walkers.
void printTable(const std::vector<std::pair<std::string, Tally>>& rows);
void printCases(const std::vector<Case>& cases, size_t most);

}  // namespace walk
