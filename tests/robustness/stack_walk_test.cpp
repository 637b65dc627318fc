// A host walking the collision stack may free or deactivate the objects it is
// handed, or the ones still ahead of the cursor, and reactivate others. The
// walk must never touch a freed entry and must hand out exactly the objects
// still on the list ahead of it.
#include <vector>

#include "support/fixture.h"
#include "support/invariants.h"

namespace zeptest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class StackWalkTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
        for (int n : {1, 2, 3, 4, 5}) {
            NewCollObjZEP(n, 1);
            ActivateObjZEP(n);
        }
    }
};

TEST_F(StackWalkTest, FreeingEachObjectAsItIsHandedOut) {
    std::vector<int> seen;
    ResetCollisionStackZEP();
    for (int n = PeekCollisionStackZEP(); n; n = PeekCollisionStackZEP()) {
        seen.push_back(n);
        FreeObjZEP(n);
        EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
    }
    EXPECT_THAT(seen, ElementsAre(1, 2, 3, 4, 5));
}

TEST_F(StackWalkTest, FreeingTheObjectUnderTheCursorAndTheLast) {
    ResetCollisionStackZEP();
    EXPECT_EQ(PeekCollisionStackZEP(), 1);
    FreeObjZEP(2);  // the cursor stands on 2's entry
    FreeObjZEP(5);
    EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
    EXPECT_EQ(PeekCollisionStackZEP(), 3);
    EXPECT_EQ(PeekCollisionStackZEP(), 4);
    EXPECT_EQ(PeekCollisionStackZEP(), 0);
}

TEST_F(StackWalkTest, ReplacingAndReactivatingDuringAWalk) {
    ResetCollisionStackZEP();
    EXPECT_EQ(PeekCollisionStackZEP(), 1);
    NewCollObjZEP(2, 1);    // replaced: inactive, off the list
    ActivateObjZEP(1);      // handed out already, now at the end again
    DeActivateObjZEP(3);
    EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
    std::vector<int> rest;
    for (int n = PeekCollisionStackZEP(); n; n = PeekCollisionStackZEP()) rest.push_back(n);
    EXPECT_THAT(rest, ElementsAre(4, 5, 1));
}

TEST_F(StackWalkTest, StopInTheMiddleOfAWalkEndsIt) {
    ResetCollisionStackZEP();
    EXPECT_EQ(PeekCollisionStackZEP(), 1);
    StopCollisionZEP();
    EXPECT_EQ(PeekCollisionStackZEP(), 0);
    EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
}

}  // namespace
}  // namespace zeptest
