// The solver's worked examples, driven end to end through the commands: a
// drop onto a floor (plain, scaled, offset) and the trough with and without
// its wall. What a host reads of them is in the shared pass scenarios; here
// every field of the contacts.
#include "support/fixture.h"
#include "support/scene.h"

namespace zeptest {
namespace {

using zep::Vec3;

// The examples quote values rounded to four decimals.
constexpr double kFourDecimals = 0.5e-4;

class WorkedExampleTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        startMoversOnMeshes();
    }
};

struct Drop {
    const char* name;
    Vec3 radii, meshAt, from, to;
    Vec3 point, center;  // the contact, and where the mover comes to rest
    float moveLength;
};

TEST_F(WorkedExampleTest, DropsOntoTheFloor) {
    const Drop drops[] = {
        {"unit sphere", {1, 1, 1}, {0, 0, 0}, {-1, 5, -1}, {-1, -5, -1}, {-1, 0, -1}, {-1, 1, -1}, 4},
        {"scaled ellipsoid", {1, 2, 1}, {0, 0, 0}, {-1, 10, -1}, {-1, -10, -1}, {-1, 0, -1}, {-1, 2, -1}, 8},
        {"offset mesh", {1, 1, 1}, {0, 2, 0}, {-1, 7, -1}, {-1, -3, -1}, {-1, 2, -1}, {-1, 3, -1}, 4},
    };
    for (const Drop& drop : drops) {
        SCOPED_TRACE(drop.name);
        SetUp();
        makeMeshObject(2, 2, {kFloor}, drop.meshAt);
        makeMover(1, 1, drop.radii, drop.from);
        moveTo(1, drop.to);
        RunCollisionZEP();
        ASSERT_EQ(CountCollisionsZEP(1), 1);
        const zep::Contact& c = contactOf(1, 1);
        EXPECT_EQ(c.hitTime, 0.4f);
        EXPECT_EQ(c.triangleNumber, 1);
        EXPECT_EQ(c.hitKind, zep::kHitFace);
        EXPECT_VEC3_EQ(drop.point, c.point);
        EXPECT_VEC3_EQ(Vec3(0, 1, 0), c.normal);
        EXPECT_VEC3_EQ(drop.center, c.center);
        EXPECT_VEC3_EQ(drop.center, c.slideDestination);
        EXPECT_EQ(c.moveLength, drop.moveLength);
        EXPECT_VEC3_EQ(drop.center, positionOf(1));
        // The triangle as the mesh stores it, in its own frame.
        EXPECT_VEC3_EQ(Vec3(-30, 0, -30), c.triangle[0]);
        EXPECT_VEC3_EQ(Vec3(-30, 0, 90), c.triangle[1]);
        EXPECT_VEC3_EQ(Vec3(90, 0, -30), c.triangle[2]);
    }
}

class TroughTest : public WorkedExampleTest {
protected:
    void run(bool withWall) {
        if (withWall)
            makeMeshObject(2, 2, {kFloor, kRamp, kWall});
        else
            makeMeshObject(2, 2, {kFloor, kRamp});
        makeMover(1, 1, {1, 1, 1}, {0, 1.5f, 0});
        moveTo(1, {3, -2, 3});
        RunCollisionZEP();
    }
    void expectFloorAndRamp() {
        const zep::Contact& floor = contactOf(1, 1);
        EXPECT_NEAR(floor.hitTime, 0.1429, kFourDecimals);
        EXPECT_VEC3_NEAR(Vec3(0.4286f, 0, 0.4286f), floor.point, kFourDecimals);
        EXPECT_VEC3_NEAR(Vec3(0.4286f, 1, 0.4286f), floor.center, kFourDecimals);
        EXPECT_VEC3_EQ(Vec3(3, 1, 3), floor.slideDestination);
        const zep::Contact& ramp = contactOf(1, 2);
        EXPECT_EQ(ramp.triangleNumber, 2);
        EXPECT_NEAR(ramp.hitTime, 0.4815, kFourDecimals);
        EXPECT_VEC3_NEAR(Vec3(2.2667f, 0.2f, 1.6667f), ramp.point, kFourDecimals);
        EXPECT_VEC3_NEAR(Vec3(-0.6f, 0.8f, 0), ramp.normal, kFourDecimals);
        EXPECT_VEC3_NEAR(Vec3(1.6667f, 1, 1.6667f), ramp.center, kFourDecimals);
        // The crease along floor and ramp, not the ramp's own slide upwards.
        EXPECT_VEC3_NEAR(Vec3(1.6667f, 1, 3), ramp.slideDestination, kFourDecimals);
    }
};

TEST_F(TroughTest, SlidesAlongTheCrease) {
    run(false);
    ASSERT_EQ(CountCollisionsZEP(1), 2);
    expectFloorAndRamp();
    EXPECT_VEC3_NEAR(Vec3(1.6667f, 1, 3), positionOf(1), kFourDecimals);
}

TEST_F(TroughTest, WedgedByTheWall) {
    run(true);
    ASSERT_EQ(CountCollisionsZEP(1), 3);
    expectFloorAndRamp();
    const zep::Contact& wall = contactOf(1, 3);
    EXPECT_NEAR(wall.hitTime, 0.625, kFourDecimals);
    EXPECT_VEC3_NEAR(Vec3(1.6667f, 1, 3.5f), wall.point, kFourDecimals);
    EXPECT_VEC3_NEAR(Vec3(0, 0, -1), wall.normal, kFourDecimals);
    EXPECT_VEC3_NEAR(Vec3(1.6667f, 1, 2.5f), wall.center, kFourDecimals);
    EXPECT_VEC3_EQ(wall.center, wall.slideDestination);
    EXPECT_VEC3_EQ(wall.center, positionOf(1));
}

}  // namespace
}  // namespace zeptest
