// The world checker itself: a checker that cannot see a broken link proves
// nothing in the fuzzer or the exhaustion sweep. Each test breaks one thing
// by hand, expects it reported, and mends it again.
#include "api/state.h"
#include "pass/pass_work.h"
#include "world/world.h"
#include "support/fixture.h"
#include "support/invariants.h"
#include "support/scene.h"
#include "support/world_view.h"
#include "world/activation.h"

namespace zeptest {
namespace {

using ::testing::IsEmpty;
using ::testing::Not;

class InvariantsTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
        SetCollisionZEP(1, 2, 0, 0, 0);
        makeMeshObject(2, 2, {{-30, 0, -30, -30, 0, 90, 90, 0, -30}});
        makeMover(1, 1, {1, 1, 1}, {-1, 5, -1});
        moveTo(1, {-1, -5, -1});
        RunCollisionZEP();
        ASSERT_EQ(CountCollisionsZEP(1), 1);
        ASSERT_THAT(zeptest::worldViolations(), IsEmpty());
        ASSERT_THAT(zeptest::passViolations(), IsEmpty());
    }
};

TEST_F(InvariantsTest, SeesATableEntryThatNamesTheWrongObject) {
    std::swap(zep::world().objectTable[1], zep::world().objectTable[2]);
    EXPECT_THAT(zeptest::worldViolations(), Not(IsEmpty()));
    std::swap(zep::world().objectTable[1], zep::world().objectTable[2]);
    EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
}

// The fuzzer's check after every command looks only at the table slots the
// command named; the lists it always walks whole.
TEST_F(InvariantsTest, TheLiveCheckSeesABrokenSlotItIsToldAbout) {
    zep::world().objectTable[7] = zep::world().objectTable[2];
    EXPECT_THAT(zeptest::worldViolations(), Not(IsEmpty()));
    EXPECT_THAT(zeptest::liveViolations({7}), Not(IsEmpty()));
    EXPECT_THAT(zeptest::liveViolations({1, 2}), IsEmpty());
    zep::world().objectTable[7] = nullptr;
    EXPECT_THAT(zeptest::liveViolations({7}), IsEmpty());
}

TEST_F(InvariantsTest, TheLiveCheckWalksEveryList) {
    zep::CollisionBody* second = zep::world().bodyListHead->next;
    second->prev = nullptr;
    EXPECT_THAT(zeptest::liveViolations({}), Not(IsEmpty()));
    second->prev = zep::world().bodyListHead;
    EXPECT_THAT(zeptest::liveViolations({}), IsEmpty());
}

TEST_F(InvariantsTest, SeesAnActiveFlagWithoutAnEntry) {
    bodyOf(1)->active = 0;
    EXPECT_THAT(zeptest::worldViolations(), Not(IsEmpty()));
    bodyOf(1)->active = 1;
}

TEST_F(InvariantsTest, SeesABrokenBackLink) {
    zep::CollisionBody* second = zep::world().bodyListHead->next;
    second->prev = nullptr;
    EXPECT_THAT(zeptest::worldViolations(), Not(IsEmpty()));
    second->prev = zep::world().bodyListHead;
}

TEST_F(InvariantsTest, SeesACursorOffTheList) {
    zep::ActivationEntry stray;
    zep::world().stackCursor = &stray;
    EXPECT_THAT(zeptest::worldViolations(), Not(IsEmpty()));
    zep::world().stackCursor = nullptr;
}

TEST_F(InvariantsTest, SeesAContactNamingATriangleTheMeshLacks) {
    zep::Contact* contact = bodyOf(1)->contactsHead;
    contact->triangleNumber = 2;
    EXPECT_THAT(zeptest::worldViolations(), Not(IsEmpty()));
    contact->triangleNumber = 1;
}

TEST_F(InvariantsTest, SeesAMoverNotAtItsLastSlideDestination) {
    moveTo(1, {0, 0, 0});
    EXPECT_THAT(zeptest::passViolations(), Not(IsEmpty()));
}

}  // namespace
}  // namespace zeptest
