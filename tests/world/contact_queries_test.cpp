// The contact queries: check order, messages, and contacts whose mesh is gone.
// Their texts before any pass, and what a host reads after one, are the
// shared scenarios ErrorBoxOneShotAndTexts and TroughQueries.
#include "base/allocation.h"
#include "support/fixture.h"
#include "support/scene.h"

namespace zeptest {
namespace {

class ContactQueryTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        baseline = zep::testing::liveRecords();
        startMoversOnMeshes();
        makeMeshObject(2, 2, {kFloor, kRamp, kWall});
        makeMover(1, 1, {1, 1, 1}, {0, 1.5f, 0});
    }
    int64_t baseline = 0;
    void runTrough() {
        moveTo(1, {3, -2, 3});
        RunCollisionZEP();
    }
    std::string reportOf(void (*query)()) {
        boxes.clear();
        StartCollisionDebugZEP();
        query();
        return boxes.empty() ? "" : boxes[0].text;
    }
};

TEST_F(ContactQueryTest, IndexZeroComesFirstThenTheCornerThenTheList) {
    EXPECT_EQ(reportOf([] { CollisionTriCorner(1, 0, 5, 1); }), "Collision index out of range: 0");
    EXPECT_EQ(reportOf([] { CollisionTriCorner(1, 1, 5, 1); }), "Corner out of range: 5");
    EXPECT_EQ(reportOf([] { CollisionTriCorner(1, 1, 0, 1); }), "Corner out of range: 0");
    EXPECT_EQ(reportOf([] { CollisionTriCorner(1, 1, -1, 1); }), "Corner out of range: -1");
    EXPECT_EQ(reportOf([] { CollisionHitNorm(1, -1, 1); }), "Collision index out of range: -1");
    EXPECT_EQ(reportOf([] { CollisionHit(77, 0, 1); }), "Object isn't defined: 77");
}

TEST_F(ContactQueryTest, IndicesRunFromOneToTheCount) {
    runTrough();
    ASSERT_EQ(CountCollisionsZEP(1), 3);
    EXPECT_EQ(CollisionPolyHit(1, 1), 1);
    EXPECT_EQ(CollisionPolyHit(1, 3), 3);
    // The wedged mover rests at the centre of its last contact.
    EXPECT_EQ(zepCollisionCenter(1, 3, 1), PeekObjXZEP(1));
    EXPECT_EQ(zepCollisionCenter(1, 3, 2), PeekObjYZEP(1));
    EXPECT_EQ(zepCollisionCenter(1, 3, 3), PeekObjZZEP(1));
    EXPECT_EQ(reportOf([] { EXPECT_FLOAT_BITS(0.0f, zepCollisionCenter(1, 4, 1)); }), "Collision index out of range: 4");
    EXPECT_EQ(reportOf([] { EXPECT_EQ(CollisionPolyHit(1, 4), 0); }), "Collision index out of range: 4");
    EXPECT_EQ(reportOf([] { EXPECT_FLOAT_BITS(0.0f, CollisionTriCorner(1, 4, 1, 1)); }),
              "Collision index out of range: 4");
}

TEST_F(ContactQueryTest, ComponentsOutsideOneToThreeGiveZeroSilently) {
    runTrough();
    EXPECT_EQ(reportOf([] {
                  EXPECT_FLOAT_BITS(0.0f, CollisionHit(1, 1, 0));
                  EXPECT_FLOAT_BITS(0.0f, CollisionHitNorm(1, 1, 4));
                  EXPECT_FLOAT_BITS(0.0f, CollisionTriCorner(1, 1, 1, -1));
              }),
              "");
    EXPECT_FLOAT_BITS(-30.0f, CollisionTriCorner(1, 1, 1, 1));
    EXPECT_FLOAT_BITS(1.0f, CollisionHitNorm(1, 1, 2));
}

// A contact outlives the mesh it hit only as a record of the hit: the object
// and corners it named are gone, the rest still answers.
TEST_F(ContactQueryTest, ContactsForgetAMeshThatIsFreedOrReplaced) {
    for (int way = 0; way < 2; ++way) {
        SetUp();
        runTrough();
        const int32_t hitY = CollisionHit(1, 2, 2);
        const int32_t normalX = CollisionHitNorm(1, 2, 1);
        if (way == 0) FreeObjZEP(2);
        else NewCollObjZEP(2, 2);
        EXPECT_EQ(reportOf([] {
                      EXPECT_EQ(CollisionObjHit(1, 2), 0);
                      EXPECT_FLOAT_BITS(0.0f, CollisionTriCorner(1, 2, 3, 2));
                  }),
                  "");
        EXPECT_EQ(CountCollisionsZEP(1), 3);
        EXPECT_EQ(CollisionHit(1, 2, 2), hitY);
        EXPECT_EQ(CollisionHitNorm(1, 2, 1), normalX);
        EXPECT_EQ(CollisionPolyHit(1, 2), 2);
        RunCollisionZEP();  // clearing contacts whose mesh is gone is safe
        TearDown();
    }
}

TEST_F(ContactQueryTest, FreeingTheMoverReleasesItsContacts) {
    runTrough();
    FreeObjZEP(1);
    FreeObjZEP(2);  // must not touch the freed contacts
    EXPECT_EQ(zep::testing::liveRecords(), baseline + 2);  // the system and its rule
    StopCollisionZEP();
    EXPECT_EQ(zep::testing::liveRecords(), baseline);
}

}  // namespace
}  // namespace zeptest
