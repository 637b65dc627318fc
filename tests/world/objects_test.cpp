// Objects by number: creation, replacement, body order, movement, removal.
#include "support/fixture.h"
#include "support/world_view.h"

namespace zeptest {
namespace {

using ::testing::ElementsAre;

class ObjectTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
    }
};

TEST_F(ObjectTest, TypesAreStoredAsGiven) {
    for (int type : {0, 4, 500}) {
        NewCollObjZEP(7, type);
        EXPECT_EQ(bodyOf(7)->collisionType, type);
    }
}

TEST_F(ObjectTest, ReusedNumberGetsAFreshBodyAtTheEnd) {
    NewCollObjZEP(7, 1);
    NewCollObjZEP(8, 1);
    AddObjShapeZEP(7, 1);
    ActivateObjZEP(7);
    UpdateObjZEP(7, 1, 2, 3, 0, 0, 0);
    NewCollObjZEP(7, 2);
    EXPECT_THAT(bodyOrder(), ElementsAre(8, 7));
    EXPECT_TRUE(shapeKinds(7).empty());
    EXPECT_EQ(bodyOf(7)->active, 0);
    EXPECT_EQ(bodyOf(7)->collisionType, 2);
    EXPECT_TRUE(stackWalk().empty());
    EXPECT_FLOAT_BITS(0.0f, PeekObjXZEP(7));
    EXPECT_EQ(zep::world().objectListTail->objectNumber, 7);
}

TEST_F(ObjectTest, BodiesKeepCreationOrderAcrossRemoval) {
    for (int n : {3, 1, 2}) NewCollObjZEP(n, 0);
    EXPECT_THAT(bodyOrder(), ElementsAre(3, 1, 2));
    FreeObjZEP(1);
    EXPECT_THAT(bodyOrder(), ElementsAre(3, 2));
    FreeObjZEP(3);
    FreeObjZEP(2);
    EXPECT_TRUE(bodyOrder().empty());
    EXPECT_EQ(zep::world().objectListHead, nullptr);
    EXPECT_EQ(zep::world().bodyListTail, nullptr);
}

// What the host reads back, and the words it ignores, are the shared scenario
// PositionsRoundTripBitForBit.
TEST_F(ObjectTest, UpdateShiftsCurrentIntoPrevious) {
    NewCollObjZEP(4, 0);
    UpdateObjZEP(4, 1, 2, 3, 0, 0, 0);
    UpdateObjZEP(4, 4, 5, 6, 0, 0, 0);
    EXPECT_VEC3_EQ(zep::Vec3(1, 2, 3), bodyOf(4)->previousPosition);
    EXPECT_VEC3_EQ(zep::Vec3(4, 5, 6), bodyOf(4)->currentPosition);
}

TEST_F(ObjectTest, FailedCommandsChangeNothing) {
    NewCollObjZEP(2, 3);
    UpdateObjZEP(2, 1, 1, 1, 0, 0, 0);
    NewCollObjZEP(5001, 3);
    NewCollObjZEP(-1, 3);
    UpdateObjZEP(-5, 9, 9, 9, 0, 0, 0);
    EXPECT_THAT(bodyOrder(), ElementsAre(2));
    EXPECT_FLOAT_BITS(1.0f, PeekObjXZEP(2));
}

}  // namespace
}  // namespace zeptest
