// The world checker itself: a checker that cannot see a broken link proves
// nothing in the fuzzer or the exhaustion sweep. Each test breaks one thing
// by hand, expects it reported, and mends it again.
#include <functional>

#include "support/fixture.h"
#include "support/invariants.h"
#include "support/scene.h"
#include "support/world_view.h"

namespace zeptest {
namespace {

using ::testing::IsEmpty;
using ::testing::Not;

class InvariantsTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        startMoversOnMeshes();
        makeMeshObject(2, 2, {kFloor});
        makeMover(1, 1, {1, 1, 1}, {-1, 5, -1});
        moveTo(1, {-1, -5, -1});
        RunCollisionZEP();
        ASSERT_EQ(CountCollisionsZEP(1), 1);
        ASSERT_THAT(zeptest::worldViolations(), IsEmpty());
        ASSERT_THAT(zeptest::passViolations(), IsEmpty());
    }
};

struct Breakage {
    const char* what;
    std::function<void()> make, mend;
};

TEST_F(InvariantsTest, SeesEachBreakUntilItIsMended) {
    zep::World& w = zep::world();
    zep::ActivationEntry stray;
    const Breakage breakages[] = {
        {"table entries swapped", [&] { std::swap(w.objectTable[1], w.objectTable[2]); },
         [&] { std::swap(w.objectTable[1], w.objectTable[2]); }},
        {"active flag without an entry", [] { bodyOf(1)->active = 0; }, [] { bodyOf(1)->active = 1; }},
        {"broken back link", [&] { w.bodyListHead->next->prev = nullptr; },
         [&] { w.bodyListHead->next->prev = w.bodyListHead; }},
        {"cursor off the list", [&] { w.stackCursor = &stray; }, [&] { w.stackCursor = nullptr; }},
        {"contact naming a triangle the mesh lacks", [] { bodyOf(1)->contactsHead->triangleNumber = 2; },
         [] { bodyOf(1)->contactsHead->triangleNumber = 1; }},
    };
    for (const Breakage& b : breakages) {
        b.make();
        EXPECT_THAT(zeptest::worldViolations(), Not(IsEmpty())) << b.what;
        b.mend();
        EXPECT_THAT(zeptest::worldViolations(), IsEmpty()) << b.what;
    }
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

TEST_F(InvariantsTest, SeesAMoverNotAtItsLastSlideDestination) {
    moveTo(1, {0, 0, 0});
    EXPECT_THAT(zeptest::passViolations(), Not(IsEmpty()));
}

}  // namespace
}  // namespace zeptest
