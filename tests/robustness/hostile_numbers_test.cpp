// Whatever numbers a host script computes, a pass must leave the world
// consistent and usable: NaN and infinite positions, radii at the edges of
// the float range, and triangles with NaN, infinite or huge corners. After
// each hostile pass the same mover, put back on ordinary numbers, must land
// on the floor exactly as in a clean world.
#include <cmath>
#include <limits>
#include <vector>

#include "support/fixture.h"
#include "support/invariants.h"
#include "support/scene.h"

namespace zeptest {
namespace {

using ::testing::IsEmpty;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kMax = std::numeric_limits<float>::max();
constexpr float kDenormal = std::numeric_limits<float>::denorm_min();

class HostileNumbersTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        startMoversOnMeshes();
        makeMeshObject(2, 2, {kFloor});
        makeMover(1, 1, {1, 1, 1}, {-1, 5, -1});
    }

    void expectConsistentPass() {
        RunCollisionZEP();
        EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
        EXPECT_THAT(zeptest::passViolations(), IsEmpty());
    }

    // The clean drop onto the floor, from wherever the mover was left.
    void expectCleanDropLandsOnTheFloor() {
        SetObjRadiusZEP(1, 1, 1, 1);
        moveTo(1, {-1, 5, -1});
        moveTo(1, {-1, 5, -1});
        RunCollisionZEP();
        moveTo(1, {-1, -5, -1});
        RunCollisionZEP();
        EXPECT_VEC3_EQ((zep::Vec3{-1, 1, -1}), positionOf(1));
        ASSERT_GE(CountCollisionsZEP(1), 1);
        EXPECT_EQ(CollisionPolyHit(1, 1), 1);
    }
};

TEST_F(HostileNumbersTest, MoverSentToNonFiniteOrHugePlaces) {
    const std::vector<zep::Vec3> targets = {
        {kNaN, -5, 0}, {0, -kInf, 0}, {kInf, kInf, -kInf}, {0, -kMax, 0},
        {kMax, -kMax, kMax}, {-1, -1e30f, -1}, {kDenormal, -kDenormal, kDenormal}};
    for (const zep::Vec3& target : targets) {
        SCOPED_TRACE(::testing::Message() << target.x << ", " << target.y << ", " << target.z);
        moveTo(1, target);
        expectConsistentPass();
        moveTo(1, {0, 3, 0});  // and back out of the hostile place
        expectConsistentPass();
        expectCleanDropLandsOnTheFloor();
    }
}

TEST_F(HostileNumbersTest, RadiiAtTheEdgesOfTheFloatRange) {
    const std::vector<zep::Vec3> radii = {
        {kDenormal, 1, 1}, {1e-30f, 1e-30f, 1e-30f}, {kMax, kMax, kMax}, {1e30f, 1, 1e-30f}, {kInf, 1, 1}};
    for (const zep::Vec3& r : radii) {
        SCOPED_TRACE(::testing::Message() << r.x << ", " << r.y << ", " << r.z);
        SetObjRadiusZEP(1, r.x, r.y, r.z);
        moveTo(1, {-1, 5, -1});
        moveTo(1, {-1, -5, -1});
        expectConsistentPass();
        expectCleanDropLandsOnTheFloor();
    }
}

TEST_F(HostileNumbersTest, NonFiniteAndHugeTrianglesBesideTheFloor) {
    const std::vector<Triangle> hostile = {
        {kNaN, 0, 0, 1, 0, 0, 0, 0, 1},     {-kInf, 0, -kInf, -kInf, 0, kInf, kInf, 0, -kInf},
        {-1e30f, 0, -1e30f, -1e30f, 0, 1e30f, 1e30f, 0, -1e30f}, {kMax, kMax, kMax, -kMax, -kMax, -kMax, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 0, 0, 0},        {kDenormal, 0, 0, 0, 0, kDenormal, 0, 0, 0}};
    for (const Triangle& t : hostile) addTriangle(2, t);
    moveTo(1, {-1, -5, -1});
    expectConsistentPass();
    expectCleanDropLandsOnTheFloor();
}

TEST_F(HostileNumbersTest, MeshBodyAtNonFinitePlaceIsNeverMet) {
    moveTo(2, {kNaN, 0, 0});
    moveTo(1, {-1, -5, -1});
    expectConsistentPass();
    EXPECT_EQ(CountCollisionsZEP(1), 0);
    moveTo(2, {0, 0, 0});
    expectCleanDropLandsOnTheFloor();
}

}  // namespace
}  // namespace zeptest
