// Which pairs a pass resolves, in what order, and which contact decides.
#include "support/fixture.h"
#include "support/scene.h"

namespace zeptest {
namespace {

using zep::Vec3;

class PassOrderTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
    }
    // Drops object 1 from y 5 to y -5 at x = z = -1.
    void dropMover(int type = 1) {
        makeMover(1, type, {1, 1, 1}, {-1, 5, -1});
        moveTo(1, {-1, -5, -1});
    }
    // The mover went where it was sent, meeting nothing.
    static void expectNoContactAtTheEnd() {
        EXPECT_EQ(CountCollisionsZEP(1), 0);
        EXPECT_VEC3_EQ(Vec3(-1, -5, -1), positionOf(1));
    }
};

TEST_F(PassOrderTest, ABodyNeverMeetsItself) {
    SetCollisionZEP(3, 3, 0, 0, 0);
    makeMover(1, 3, {1, 1, 1}, {-1, 5, -1});
    AddObjShapeZEP(1, ZEP_SHAPE_MESH);
    AddMeshTri(1, -30, -6, -30, -30, -6, 90, 90, -6, -30);  // relative to the body: y -1 when it stands at 5
    moveTo(1, {-1, -5, -1});
    RunCollisionZEP();
    expectNoContactAtTheEnd();
}

TEST_F(PassOrderTest, RulesWorkOneWayOnly) {
    SetCollisionZEP(2, 1, 0, 0, 0);  // type-2 ellipsoids on type-1 meshes: not our pair
    makeMeshObject(2, 2, {kFloor});
    dropMover(1);
    RunCollisionZEP();
    EXPECT_EQ(CountCollisionsZEP(1), 0);
    SetCollisionZEP(1, 2, 0, 0, 0);
    moveTo(1, {-1, 5, -1});
    moveTo(1, {-1, -5, -1});
    RunCollisionZEP();
    EXPECT_EQ(CountCollisionsZEP(1), 1);
}

TEST_F(PassOrderTest, TwoEllipsoidsNeverCollide) {
    SetCollisionZEP(1, 1, 0, 0, 0);
    makeMover(2, 1, {5, 5, 5}, {-1, 0, -1});
    dropMover();
    RunCollisionZEP();
    EXPECT_EQ(CountCollisionsZEP(1), 0);
    EXPECT_EQ(CountCollisionsZEP(2), 0);
}

TEST_F(PassOrderTest, InactiveMoversAndPartnersAreLeftOut) {
    RunCollisionZEP();  // with no bodies at all
    SetCollisionZEP(1, 2, 0, 0, 0);
    makeMeshObject(2, 2, {kFloor});
    dropMover();
    RunCollisionZEP();
    ASSERT_EQ(CountCollisionsZEP(1), 1);

    DeActivateObjZEP(1);  // its contacts are still cleared by the next pass
    moveTo(1, {-1, -5, -1});
    RunCollisionZEP();
    expectNoContactAtTheEnd();

    ActivateObjZEP(1);
    DeActivateObjZEP(2);
    moveTo(1, {-1, 5, -1});
    moveTo(1, {-1, -5, -1});
    RunCollisionZEP();
    expectNoContactAtTheEnd();
}

// Two floors, the later one in the body list 0.5 higher or lower. One step
// sweeps both and takes the nearer hit: the mover rests on the higher floor,
// and nothing is left to meet after it.
TEST_F(PassOrderTest, TheNearerOfTwoMeshesIsMet) {
    struct Case {
        float laterFloorAt;
        int objectHit;
        float restsAt;
    };
    for (const Case& c : {Case{0.5f, 3, 1.5f}, Case{-0.5f, 2, 1.0f}}) {
        SetUp();
        SetCollisionZEP(1, 2, 0, 0, 0);
        makeMeshObject(2, 2, {kFloor});
        makeMeshObject(3, 2, {kFloor}, {0, c.laterFloorAt, 0});
        dropMover();
        RunCollisionZEP();
        ASSERT_EQ(CountCollisionsZEP(1), 1) << c.laterFloorAt;
        EXPECT_EQ(CollisionObjHit(1, 1), c.objectHit) << c.laterFloorAt;
        EXPECT_EQ(CollisionPolyHit(1, 1), 1) << c.laterFloorAt;
        EXPECT_VEC3_EQ(Vec3(-1, c.restsAt, -1), positionOf(1));
    }
}

// Hits at the same distance in two meshes: the later mesh wins, as a later
// triangle does within one mesh.
TEST_F(PassOrderTest, AtEqualDistanceTheLaterMeshShapeWins) {
    SetCollisionZEP(1, 2, 0, 0, 0);
    NewCollObjZEP(2, 2);
    AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    AddMeshTri(2, -30, 0, -30, -30, 0, 90, 90, 0, -30);
    AddObjShapeZEP(2, ZEP_SHAPE_MESH);  // the second mesh gets only the raised floor
    AddMeshTri(2, -30, 0.25f, -30, -30, 0.25f, 90, 90, 0.25f, -30);
    UpdateObjZEP(2, 0, 0, 0, 0, 0, 0);
    ActivateObjZEP(2);
    dropMover();
    RunCollisionZEP();
    // Mesh 1 holds floor (1) and raised floor (2); mesh 2 only the raised one (1).
    ASSERT_EQ(CountCollisionsZEP(1), 1);
    EXPECT_EQ(CollisionPolyHit(1, 1), 1);
    EXPECT_EQ(zep::contactAt(bodyOf(1), 1)->meshShape, zep::asMesh(shapeAt(2, 1)));  // places count from 0
    EXPECT_VEC3_EQ(Vec3(-1, 1.25f, -1), positionOf(1));
}

}  // namespace
}  // namespace zeptest
