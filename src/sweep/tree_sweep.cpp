#include "sweep/tree_sweep.h"

#include <algorithm>
#include <cmath>

#include "base/scratch.h"
#include "index/box_tree.h"

namespace zep {

namespace {

// The nearest hit of the triangles a sweep has tested so far, each triangle
// swept alone from the sweep's own limit: the triangles that gave that very
// distance (their list places), the farthest plane their corners and edges
// waited on, and the nearest distance any other triangle gave.
struct NearestAlone {
    static constexpr int32_t kMostTied = 64;
    SweepResult best;
    bool found = false;
    int32_t tiedCount = 0;
    int32_t tied[kMostTied] = {};
    double gate = 0.0;
    float others = HUGE_VALF;

    // True when the hit the sweep takes in list order comes from the tied
    // triangles alone, run in list order. Swept alone, each triangle shows
    // every hit it could give, as no nearer hit hides any behind its plane;
    // in list order no hit of another triangle is as near, so none is taken
    // after theirs. But a triangle's corners and edges are tested in list
    // order only if its plane is met within the nearest hit before it, which
    // can be any hit of another triangle, or of one the walk left out as
    // beyond the nearest (those lie past it by the allowance of
    // beyondNearest, of which half is left for the rounding). Where a plane
    // is met past either (a grazing sweep, or an overlapped corner behind an
    // embedded plane), or too many triangles tie, the whole list decides.
    bool decided(double scaleInRadii) const {
        if (!found || std::isnan(best.nearestDistance) || tiedCount > kMostTied) return false;
        const double leftOut =
            std::max(0.0, double(best.nearestDistance)) * (1.0 + 1e-5) + 5e-6 + 0x1p-20 * scaleInRadii;
        return gate <= double(others) && gate <= leftOut;
    }

    void take(const SweepResult& alone, int32_t place, double planeMet) {
        if (found && alone.nearestDistance == best.nearestDistance) {
            if (tiedCount < kMostTied) tied[tiedCount] = place;
            ++tiedCount;
            gate = std::max(gate, planeMet);
            return;
        }
        if (found) others = std::min(others, best.nearestDistance);
        best = alone;
        found = true;
        tied[0] = place;
        tiedCount = 1;
        gate = planeMet;
    }
};

void sweepAlone(NearestAlone& nearest, SweepResult& alone, float limit, const SweepFrame& frame,
                const TriangleFrame& tri) {
    alone.found = false;
    alone.nearestDistance = limit;
    sweepTriangle(alone, frame, tri);
    if (!alone.found) return;
    if (nearest.found && alone.nearestDistance > nearest.best.nearestDistance) {
        nearest.others = std::min(nearest.others, alone.nearestDistance);
        return;
    }
    nearest.take(alone, tri.number - 1, alone.hitKind == kHitFace ? 0.0 : planeGate(frame, tri));
}

// Triangles that tie for the nearest hit: the list order decides between
// them, and they alone can give the sweep's hit (NearestAlone::decided).
void sweepTiedInListOrder(SweepResult& result, NearestAlone& nearest, const TriangleIndex& index,
                          const CandidateChecks& checks) {
    std::sort(nearest.tied, nearest.tied + nearest.tiedCount);
    for (int32_t i = 0; i < nearest.tiedCount; ++i) {
        const int32_t place = nearest.tied[i];
        sweepTriangle(result, checks.frame,
                      makeTriangleFrame(placeCorners(index, place), place + 1, checks.radii, checks.frame.S));
    }
}

// The boxes of the tree's slots, from the corners the index keeps in slot
// order.
struct TreedSlots {
    const TriangleIndex& index;

    Box3 operator()(int32_t slot) const { return slotBox(index, slot); }
    void prefetch(int32_t first, int32_t count) const {
        const char* from = reinterpret_cast<const char*>(index.treedCorners + first);
        const char* to = reinterpret_cast<const char*>(index.treedCorners + first + count);
        for (; from < to; from += 64) __builtin_prefetch(from);
    }
};

// The sweep as the list runs it: every triangle the path passes near, in
// list order, each left out only when it cannot reach the nearest hit so far.
bool sweepInListOrder(SweepResult& result, const TriangleIndex& index, const CandidateChecks& checks,
                      ScratchBuffer& buffer) {
    int32_t* places = reserveScratch(buffer, index.listed);
    if (!places) return false;
    int32_t count = 0;
    visitBoxTreeAlong(
        index.tree, TreedSlots{index}, checks.reach, [](double) { return false; },
        [&](int32_t slot, const Box3&, double) { places[count++] = index.tree.order[slot]; });
    std::sort(places, places + count);
    for (int32_t place = index.tree.boxCount; place < index.listed; ++place) places[count++] = place;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t place = places[i];
        const Box3 box = placeBox(index, place);
        if (checks.skips(place, box, checks.reach.entry(box), result)) continue;
        sweepTriangle(result, checks.frame,
                      makeTriangleFrame(placeCorners(index, place), place + 1, checks.radii, checks.frame.S));
    }
    return true;
}

}  // namespace

bool sweepTreeCandidates(SweepResult& result, const TriangleIndex& index, const CandidateChecks& checks,
                         ScratchBuffer& buffer) {
    NearestAlone nearest{result};
    SweepResult alone = result;
    double travelLimit = checks.nearestTravelLimit(nearest.best);
    // The candidates of one leaf are framed together, so that the square
    // roots and divisions of their normals overlap instead of waiting on
    // one another; each is then swept unless a hit found meanwhile has put
    // it beyond the nearest.
    constexpr int kBatch = 4;
    TriangleFrame frames[kBatch];
    double entries[kBatch];
    int batched = 0;
    const auto sweepBatch = [&] {
        for (int i = 0; i < batched; ++i) {
            if (checks.beyond(entries[i], travelLimit)) continue;
            sweepAlone(nearest, alone, result.nearestDistance, checks.frame, frames[i]);
            travelLimit = checks.nearestTravelLimit(nearest.best);
        }
        batched = 0;
    };
    const auto addTriangle = [&](int32_t place, const TriangleCorners& corners, const Box3& box, double entry) {
        if (checks.skips(place, box, entry, travelLimit)) return;
        frames[batched] = makeTriangleFrame(corners, place + 1, checks.radii, checks.frame.S);
        entries[batched] = entry;
        if (++batched == kBatch) sweepBatch();
    };
    visitBoxTreeAlong(
        index.tree, TreedSlots{index}, checks.reach, [&](double entry) { return checks.beyond(entry, travelLimit); },
        [&](int32_t slot, const Box3& box, double entry) {
            addTriangle(index.tree.order[slot], index.treedCorners[slot], box, entry);
        },
        sweepBatch);
    // Triangles added since the tree was built are not in it yet.
    for (int32_t place = index.tree.boxCount; place < index.listed; ++place) {
        const Box3 box = placeBox(index, place);
        addTriangle(place, placeCorners(index, place), box, checks.reach.entry(box));
    }
    sweepBatch();
    if (!nearest.found) return true;  // what no triangle meets alone, the list does not meet
    if (!nearest.decided(checks.reach.scaleInRadii)) return sweepInListOrder(result, index, checks, buffer);
    if (nearest.tiedCount == 1)
        result = nearest.best;
    else
        sweepTiedInListOrder(result, nearest, index, checks);
    return true;
}

}  // namespace zep
