// Objects by number: creation, replacement, body order, movement, removal.
#include "api/state.h"
#include "pass/pass_work.h"
#include "world/world.h"
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
    NewCollObjZEP(7, 0);
    EXPECT_EQ(bodyOf(7)->collisionType, 0);
    NewCollObjZEP(7, 4);
    EXPECT_EQ(bodyOf(7)->collisionType, 4);
    NewCollObjZEP(7, 500);
    EXPECT_EQ(bodyOf(7)->collisionType, 500);
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
    NewCollObjZEP(3, 0);
    NewCollObjZEP(1, 0);
    NewCollObjZEP(2, 0);
    EXPECT_THAT(bodyOrder(), ElementsAre(3, 1, 2));
    FreeObjZEP(1);
    EXPECT_THAT(bodyOrder(), ElementsAre(3, 2));
    FreeObjZEP(3);
    FreeObjZEP(2);
    EXPECT_TRUE(bodyOrder().empty());
    EXPECT_EQ(zep::world().objectListHead, nullptr);
    EXPECT_EQ(zep::world().bodyListTail, nullptr);
}

TEST_F(ObjectTest, UpdateShiftsCurrentIntoPrevious) {
    NewCollObjZEP(4, 0);
    UpdateObjZEP(4, 1, 2, 3, 0, 0, 0);
    UpdateObjZEP(4, 4, 5, 6, -1, 0x7fffffff, 12345);  // the ignored words change nothing
    const zep::CollisionBody* body = bodyOf(4);
    EXPECT_EQ(body->previousPosition.x, 1.0f);
    EXPECT_EQ(body->previousPosition.y, 2.0f);
    EXPECT_EQ(body->previousPosition.z, 3.0f);
    EXPECT_FLOAT_BITS(4.0f, PeekObjXZEP(4));
    EXPECT_FLOAT_BITS(5.0f, PeekObjYZEP(4));
    EXPECT_FLOAT_BITS(6.0f, PeekObjZZEP(4));
}

TEST_F(ObjectTest, FreeingTwiceReportsTheSecond) {
    NewCollObjZEP(6, 0);
    StartCollisionDebugZEP();
    FreeObjZEP(6);
    EXPECT_TRUE(boxes.empty());
    FreeObjZEP(6);
    EXPECT_THAT(texts(), ElementsAre("Object isn't defined: 6"));
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
