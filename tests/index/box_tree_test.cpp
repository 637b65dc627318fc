// The box tree against brute force: every query finds exactly the boxes it
// meets, for every count from one box to several levels of nodes, and a
// node's four-at-once entries are the single-box entries to the bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "base/allocation.h"
#include "index/box_tree.h"

namespace zeptest {
namespace {

using zep::Box3;
using zep::SweptBox;
using zep::Vec3;

std::vector<Box3> randomBoxes(std::mt19937& random, int count) {
    std::uniform_real_distribution<float> at(-50.0f, 50.0f), size(0.0f, 3.0f);
    std::vector<Box3> boxes(static_cast<size_t>(count));
    for (Box3& box : boxes) {
        box.lo = Vec3{at(random), at(random) * 0.1f, at(random)};  // flat, as terrain is
        box.hi = Vec3{box.lo.x + size(random), box.lo.y + size(random), box.lo.z + size(random)};
    }
    return boxes;
}

// A segment across the boxes' space; some axes without movement.
SweptBox randomSweep(std::mt19937& random) {
    std::uniform_real_distribution<double> at(-60.0, 60.0), margin(0.0, 2.0);
    SweptBox sweep;
    for (int axis = 0; axis < 3; ++axis) {
        sweep.from[axis] = at(random);
        sweep.move[axis] = random() % 4 == 0 ? 0.0 : at(random);
        sweep.margin[axis] = margin(random);
    }
    sweep.prepareSlabs();
    return sweep;
}

bool sameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(BoxTreeTest, WalksAndQueriesFindExactlyWhatBruteForceFinds) {
    std::mt19937 random(7);
    for (int count : {1, 2, 4, 5, 9, 17, 64, 100, 333, 1000, 5000, -300}) {
        // A negative count: that many boxes all alike, on one place of the curve.
        std::vector<Box3> boxes = randomBoxes(random, std::abs(count));
        if (count < 0) std::fill(boxes.begin(), boxes.end(), boxes[0]);
        count = std::abs(count);
        zep::BoxTree tree;
        ASSERT_TRUE(zep::buildBoxTree(tree, boxes.data(), count));
        for (int trial = 0; trial < 20; ++trial) {
            const SweptBox sweep = randomSweep(random);
            std::vector<int32_t> expected, walked, queried(static_cast<size_t>(count));
            for (int32_t box = 0; box < count; ++box)
                if (sweep.meets(boxes[size_t(box)])) expected.push_back(box);
            zep::visitBoxTreeAlong(
                tree, [&](int32_t slot) { return boxes[size_t(tree.order[slot])]; }, sweep,
                [](double) { return false; },
                [&](int32_t slot, const Box3& box, double entry) {
                    walked.push_back(tree.order[slot]);
                    EXPECT_TRUE(sameDouble(entry, sweep.entry(box)));
                });
            queried.resize(size_t(zep::queryBoxTree(tree, boxes.data(), sweep, queried.data())));
            std::sort(walked.begin(), walked.end());
            std::sort(queried.begin(), queried.end());
            EXPECT_EQ(walked, expected) << count << " boxes, trial " << trial;
            EXPECT_EQ(queried, expected) << count << " boxes, trial " << trial;
        }
        zep::freeBoxTree(tree);
    }
}

TEST(BoxTreeTest, FourEntriesAtOnceAreTheSingleEntriesToTheBit) {
    std::mt19937 random(11);
    const float kInf = HUGE_VALF;
    for (int trial = 0; trial < 2000; ++trial) {
        SweptBox sweep = randomSweep(random);
        std::vector<Box3> boxes = randomBoxes(random, 4);
        if (trial % 5 == 0) {
            // Faces exactly on the margin of an axis without movement: 0
            // times an infinite scale, a NaN both must pass over alike.
            sweep.from[1] = 1.0, sweep.move[1] = 0.0, sweep.margin[1] = 0.5;
            sweep.prepareSlabs();
            boxes[1].lo.y = -1.0f, boxes[1].hi.y = 0.5f;
            boxes[2].lo.y = 1.5f, boxes[2].hi.y = 2.0f;
        }
        float lo[3][4], hi[3][4];
        for (int lane = 0; lane < 4; ++lane) {
            Box3 box = boxes[size_t(lane)];
            if (lane == 3 && trial % 3 == 0) box = Box3{{kInf, kInf, kInf}, {-kInf, -kInf, -kInf}};  // no child
            const float l[3] = {box.lo.x, box.lo.y, box.lo.z}, h[3] = {box.hi.x, box.hi.y, box.hi.z};
            for (int axis = 0; axis < 3; ++axis) lo[axis][lane] = l[axis], hi[axis][lane] = h[axis];
        }
        double entries[4];
        sweep.entries(lo, hi, entries);
        for (int lane = 0; lane < 4; ++lane) {
            const Box3 box{{lo[0][lane], lo[1][lane], lo[2][lane]}, {hi[0][lane], hi[1][lane], hi[2][lane]}};
            ASSERT_TRUE(sameDouble(entries[lane], sweep.entry(box))) << trial << " lane " << lane;
            if (lane == 3 && trial % 3 == 0) {
                EXPECT_GT(entries[lane], 1.0);
            }
        }
    }
}

}  // namespace
}  // namespace zeptest
