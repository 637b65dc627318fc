#include "tally.h"

#include <algorithm>
#include <cstdio>

namespace walk {

const char* overlapCauseName(OverlapCause cause) {
    static const char* const names[] = {"from behind", "inside after entering from behind", "started overlapping",
                                        "into a contact of the pass", "other"};
    return names[cause];
}

const char* stuckCauseName(StuckCause cause) {
    static const char* const names[] = {"at a step or ramp edge", "wedged under a slope", "in a narrow gap", "other"};
    return names[cause];
}

void Tally::add(const Tally& other) {
    passes += other.passes;
    runs += other.runs;
    runSeconds += other.runSeconds;
    walkers += other.walkers;
    escapes += other.escapes;
    escapesAfterCrossing += other.escapesAfterCrossing;
    crossingPasses += other.crossingPasses;
    walkersCrossed += other.walkersCrossed;
    escapesFellThrough += other.escapesFellThrough;
    newOverlaps += other.newOverlaps;
    for (int i = 0; i < kOverlapCauses; ++i) overlapsBy[size_t(i)] += other.overlapsBy[size_t(i)];
    overlapDepths.insert(overlapDepths.end(), other.overlapDepths.begin(), other.overlapDepths.end());
    deepFrontOverlaps += other.deepFrontOverlaps;
    stuck += other.stuck;
    for (int i = 0; i < kStuckCauses; ++i) stuckBy[size_t(i)] += other.stuckBy[size_t(i)];
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

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + long(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

void printCauses(const std::string& name, const Tally& t) {
    std::printf("| %s |", name.c_str());
    for (long n : t.overlapsBy) std::printf(" %ld |", n);
    const double deepest = t.overlapDepths.empty() ? 0 : *std::max_element(t.overlapDepths.begin(), t.overlapDepths.end());
    std::printf(" %.3g / %.3g | %ld | %ld | %ld | %ld |", median(t.overlapDepths), deepest, t.deepFrontOverlaps,
                t.escapes - t.escapesAfterCrossing - t.escapesFellThrough, t.escapesFellThrough, t.escapesAfterCrossing);
    for (long n : t.stuckBy) std::printf(" %ld |", n);
    std::printf("\n");
}

template <typename Row>
void printRows(const std::vector<std::pair<std::string, Tally>>& rows, Row row) {
    Tally total;
    for (const auto& [name, tally] : rows) {
        row(name, tally);
        total.add(tally);
    }
    if (rows.size() > 1) row("total", total);
}

}  // namespace

void printTable(const std::vector<std::pair<std::string, Tally>>& rows) {
    std::printf("| map | walkers | passes | escapes | crossings | new overlaps > 0.1 | worst jump | stuck "
                "walkers | ms per RunCollisionZEP | us per walker pass |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    printRows(rows, printRow);
    std::printf("\n| map | new overlaps: from behind | inside after entering from behind | started overlapping | "
                "into a contact of the pass | other | depth median / max | deeper than 0.5, not from behind | escapes: walked off | fell through | "
                "crossed | stuck: at a step or ramp edge | wedged under a slope | in a narrow gap | other |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    printRows(rows, printCauses);
}

void printCases(const std::vector<Case>& cases, size_t most) {
    for (size_t i = 0; i < cases.size() && i < most; ++i)
        std::printf("  %s: map %s seed %lu walker %d frame %d\n", cases[i].what.c_str(), cases[i].map.c_str(),
                    cases[i].seed, cases[i].walker, cases[i].frame);
    if (cases.size() > most) std::printf("  ... and %zu more\n", cases.size() - most);
}

}  // namespace walk
