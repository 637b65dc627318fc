// The walk driver's judge of crossings: if it missed them, every "0
// crossings" it prints would mean nothing.
#include <gtest/gtest.h>

#include "geometry.h"

namespace walk {
namespace {

// A floor at y = 0 over x, z in [0, 10], facing +Y.
const Tri kFloor{{0, 0, 0}, {0, 0, 10}, {10, 0, 0}};

TEST(WalkCrossingTest, FloorFacesUp) { EXPECT_GT(kFloor.normal().y, 0); }

TEST(WalkCrossingTest, OnlyFromFrontToBackThroughTheTriangleCrosses) {
    struct Case {
        const char* what;
        D3 from, to;
        bool crosses;
    };
    const Case cases[] = {
        {"down through the floor", {2, 1, 2}, {2, -1, 2}, true},
        {"ending on the floor", {2, 1, 2}, {2, 0, 2}, true},
        {"through an edge", {5, 1, 5}, {5, -1, 5}, true},
        {"up from behind", {2, -1, 2}, {2, 1, 2}, false},
        {"starting on the floor", {2, 0, 2}, {2, -1, 2}, false},
        {"beside the triangle", {8, 1, 8}, {8, -1, 8}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(crossesFrontToBack(c.from, c.to, kFloor), c.crosses) << c.what;
}

TEST(WalkClosestPointTest, AboveTheFaceIsStraightDown) {
    const D3 q = closestPoint({2, 3, 2}, kFloor);
    EXPECT_DOUBLE_EQ(q.x, 2);
    EXPECT_DOUBLE_EQ(q.y, 0);
    EXPECT_DOUBLE_EQ(q.z, 2);
}

TEST(WalkClosestPointTest, PastACornerIsTheCorner) {
    const D3 q = closestPoint({20, 1, -5}, kFloor);
    EXPECT_DOUBLE_EQ(q.x, 10);
    EXPECT_DOUBLE_EQ(q.z, 0);
}

TEST(WalkRayTest, DownRayMeetsTheFloorAtItsHeight) {
    EXPECT_DOUBLE_EQ(rayHit({2, 7, 2}, {0, -1, 0}, 100, kFloor), 7);
    EXPECT_LT(rayHit({2, 7, 2}, {0, -1, 0}, 5, kFloor), 0);
}

}  // namespace
}  // namespace walk
