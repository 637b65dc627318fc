#include "tally.h"

#include <cstdio>

namespace walk {

void Tally::add(const Tally& other) {
    passes += other.passes;
    runs += other.runs;
    runSeconds += other.runSeconds;
    walkers += other.walkers;
    escapes += other.escapes;
    escapesAfterCrossing += other.escapesAfterCrossing;
    crossingPasses += other.crossingPasses;
    walkersCrossed += other.walkersCrossed;
    newOverlaps += other.newOverlaps;
    stuck += other.stuck;
    if (other.worstJump > worstJump) {
        worstJump = other.worstJump;
        worstJumpAsked = other.worstJumpAsked;
    }
    cases.insert(cases.end(), other.cases.begin(), other.cases.end());
}

namespace {

void printRow(const std::string& name, const Tally& t) {
    const double msPerRun = t.runs ? 1e3 * t.runSeconds / double(t.runs) : 0;
    const double usPerPass = t.passes ? 1e6 * t.runSeconds / double(t.passes) : 0;
    std::printf("| %s | %ld | %ld | %ld (%ld crossed) | %ld (%ld walkers) | %ld | %.4g (asked %.4g) | %ld | %.3f | %.2f |\n",
                name.c_str(), t.walkers, t.passes, t.escapes, t.escapesAfterCrossing, t.crossingPasses, t.walkersCrossed, t.newOverlaps,
                t.worstJump, t.worstJumpAsked, t.stuck, msPerRun, usPerPass);
}

}  // namespace

void printTable(const std::vector<std::pair<std::string, Tally>>& rows) {
    std::printf("| map | walkers | passes | escapes | crossings | new overlaps > 0.1 | worst jump | stuck "
                "walkers | ms per RunCollisionZEP | us per walker pass |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    Tally total;
    for (const auto& [name, tally] : rows) {
        printRow(name, tally);
        total.add(tally);
    }
    if (rows.size() > 1) printRow("total", total);
}

void printCases(const std::vector<Case>& cases, size_t most) {
    for (size_t i = 0; i < cases.size() && i < most; ++i)
        std::printf("  %s: map %s seed %lu walker %d frame %d\n", cases[i].what.c_str(), cases[i].map.c_str(),
                    cases[i].seed, cases[i].walker, cases[i].frame);
    if (cases.size() > most) std::printf("  ... and %zu more\n", cases.size() - most);
}

}  // namespace walk
