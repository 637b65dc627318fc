#include "churn.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "library.h"
#include "zepcollide.h"

namespace walk {

namespace {

// Far outside any level, so it changes the broad phase but no walker's path.
constexpr int kStrayObject = 4950;

double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

void makeStray(const Level& level, int frame) {
    const float x = float(level.hi.x + 1000 * level.radii.y), y = float(level.hi.y), z = float(frame % 97);
    placeMesh(kStrayObject, {{{x, y, z}, {x, y, z + 50}, {x + 50, y, z}}});
}

void churnFrame(Crowd& crowd, const Level& level, int frame) {
    Rng& rng = crowd.rng();
    if (crowd.walkerCount() > 0 && rng.chance(0.2)) crowd.replaceWalker(int(rng.below(uint64_t(crowd.walkerCount()))));
    if (frame % 25 == 0) crowd.rebuildPiece(int(rng.below(uint64_t(crowd.pieceCount()))));
    if (frame % 7 == 0) makeStray(level, frame);
    if (frame % 7 == 3) FreeObjZEP(kStrayObject);
}

}  // namespace

Tally churnLevel(const Level& level, WalkSettings settings, const ChurnSettings& churn, bool& flat) {
    Tally total;
    long runs = 0;
    double baseline = -1, highest = 0;
    // The resident set is printed ten times; after the first fifth of the
    // runs (the warm-up: buffers reach their working size) it is the baseline.
    const long reportEvery = std::max(1L, churn.runs / 10), warmUp = churn.runs / 5;
    auto beforeFrame = [&](Crowd& crowd, int frame) {
        churnFrame(crowd, level, frame);
        if (runs % reportEvery == 0) {
            const double mb = residentMb();
            std::printf("churn: %ld passes, resident %.1f MB\n", runs, mb);
            std::fflush(stdout);
            if (runs >= warmUp && baseline < 0) baseline = mb;
            if (baseline >= 0) highest = std::max(highest, mb);
        }
        ++runs;
    };
    while (runs < churn.runs) {
        settings.frames = int(std::min<long>(churn.framesPerCrowd, churn.runs - runs));
        ++settings.seed;
        total.add(walkLevel(level, settings, beforeFrame));
    }
    const double mb = residentMb();
    if (baseline >= 0) highest = std::max(highest, mb);
    flat = baseline < 0 || highest - baseline <= churn.growthBoundMb;
    std::printf("churn: %ld passes, resident %.1f MB; after warm-up %.1f MB, highest %.1f MB (bound +%.0f MB): %s\n",
                runs, mb, baseline, highest, churn.growthBoundMb, flat ? "flat" : "GREW");
    return total;
}

}  // namespace walk
