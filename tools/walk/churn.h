// The churn mode: while the crowd walks, walkers are freed and dropped anew,
// level pieces freed and built again in place, a stray mesh object made and
// freed, and every so often the whole library stopped and started again.
// Meant to run under AddressSanitizer: the memory in use (resident set) is
// printed at intervals and must stay flat after a warm-up.
#pragma once

#include "crowd.h"

namespace walk {

struct ChurnSettings {
    long runs = 100000;          // RunCollisionZEP calls in all
    int framesPerCrowd = 5000;   // then the library stops and a new crowd starts
    double growthBoundMb = 16;   // growth allowed after the first fifth of the runs
};

// The tally of all crowds; `flat` tells whether memory stayed in bound.
Tally churnLevel(const Level& level, WalkSettings settings, const ChurnSettings& churn, bool& flat);

}  // namespace walk
