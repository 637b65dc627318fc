#include "sweep/reached_triangles.h"

#include <cstring>

namespace zep {

namespace {

bool sameQuestion(const ReachedMemo& last, const SweepReach& reach, const Box3* boxes, int32_t count) {
    return last.reachMade == reach.made && last.boxCount == count &&
           std::memcmp(last.boxes, boxes, size_t(count) * sizeof(Box3)) == 0;
}

}  // namespace

ReachedTriangles reachedTriangles(ReachedMemo& last, const SweepReach& reach, const Box3* boxes, int32_t count) {
    if (count == 0) return ReachedTriangles{};
    if (!sameQuestion(last, reach, boxes, count)) {
        last.reachMade = reach.made;
        last.boxCount = count;
        std::memcpy(last.boxes, boxes, size_t(count) * sizeof(Box3));
        last.count = 0;
        for (int32_t place = 0; place < count; ++place) {
            const double entry = reach.reach.entry(boxes[place]);
            if (entry > 1.0 || !reach.filter.mayReach(boxes[place])) continue;
            last.triangles[last.count++] = ReachedTriangle{place, entry};
        }
    }
    return ReachedTriangles{last.triangles, last.count};
}

}  // namespace zep
