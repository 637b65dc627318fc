// The walk driver's judge of crossings: if it missed them, every "0
// crossings" it prints would mean nothing.
#include <gtest/gtest.h>

#include "geometry.h"

namespace walk {
namespace {

// A floor at y = 0 over x, z in [0, 10], facing +Y.
const Tri kFloor{{0, 0, 0}, {0, 0, 10}, {10, 0, 0}};

TEST(WalkCrossingTest, FloorFacesUp) { EXPECT_GT(kFloor.normal().y, 0); }

TEST(WalkCrossingTest, DownThroughTheFloorCrosses) {
    EXPECT_TRUE(crossesFrontToBack({2, 1, 2}, {2, -1, 2}, kFloor));
}

TEST(WalkCrossingTest, EndingOnTheFloorCrosses) {
    EXPECT_TRUE(crossesFrontToBack({2, 1, 2}, {2, 0, 2}, kFloor));
}

TEST(WalkCrossingTest, UpFromBehindDoesNotCross) {
    EXPECT_FALSE(crossesFrontToBack({2, -1, 2}, {2, 1, 2}, kFloor));
}

TEST(WalkCrossingTest, StartingOnTheFloorDoesNotCross) {
    EXPECT_FALSE(crossesFrontToBack({2, 0, 2}, {2, -1, 2}, kFloor));
}

TEST(WalkCrossingTest, BesideTheTriangleDoesNotCross) {
    EXPECT_FALSE(crossesFrontToBack({8, 1, 8}, {8, -1, 8}, kFloor));
}

TEST(WalkCrossingTest, ThroughAnEdgeCrosses) {
    EXPECT_TRUE(crossesFrontToBack({5, 1, 5}, {5, -1, 5}, kFloor));
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
