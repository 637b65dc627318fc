// The activation list and the host's walk over it.
#include "api/state.h"
#include "pass/pass_work.h"
#include "world/world.h"
#include "support/fixture.h"
#include "support/world_view.h"

namespace zeptest {
namespace {

using ::testing::ElementsAre;

class ActivationTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
        for (int n : {0, 2, 4, 9}) NewCollObjZEP(n, 1);
    }
    static std::vector<int> peek(int times) {
        std::vector<int> numbers;
        while (times-- > 0) numbers.push_back(PeekCollisionStackZEP());
        return numbers;
    }
};

TEST_F(ActivationTest, WalkRunsInActivationOrderUntilReset) {
    ActivateObjZEP(4);
    ActivateObjZEP(9);
    ActivateObjZEP(2);
    EXPECT_EQ(PeekCollisionStackZEP(), 0);  // no reset yet
    ResetCollisionStackZEP();
    EXPECT_THAT(peek(5), ElementsAre(4, 9, 2, 0, 0));
    ActivateObjZEP(0);  // a finished walk stays finished
    EXPECT_EQ(PeekCollisionStackZEP(), 0);
    EXPECT_EQ(bodyOf(0)->active, 1);
}

TEST_F(ActivationTest, RemovingUnderTheCursorMovesItOn) {
    ActivateObjZEP(4);
    ActivateObjZEP(9);
    ActivateObjZEP(2);
    ResetCollisionStackZEP();
    EXPECT_EQ(PeekCollisionStackZEP(), 4);
    DeActivateObjZEP(9);  // the entry under the cursor
    EXPECT_EQ(PeekCollisionStackZEP(), 2);
    EXPECT_EQ(PeekCollisionStackZEP(), 0);

    ActivateObjZEP(9);
    ResetCollisionStackZEP();
    EXPECT_EQ(PeekCollisionStackZEP(), 4);
    FreeObjZEP(2);  // freeing works the same way
    NewCollObjZEP(9, 1);  // and so does replacing
    EXPECT_EQ(PeekCollisionStackZEP(), 0);
    EXPECT_EQ(zep::world().stackCursor, nullptr);
    EXPECT_THAT(stackWalk(), ElementsAre(4));
}

TEST_F(ActivationTest, EntriesAddedDuringAWalkAreReached) {
    ActivateObjZEP(4);
    ResetCollisionStackZEP();
    ActivateObjZEP(9);
    EXPECT_THAT(peek(3), ElementsAre(4, 9, 0));
}

TEST_F(ActivationTest, DeactivatingAnInactiveObjectOnlyClearsTheFlag) {
    ActivateObjZEP(4);
    bodyOf(9)->active = 1;  // a stale flag with no entry
    DeActivateObjZEP(9);
    EXPECT_EQ(bodyOf(9)->active, 0);
    EXPECT_THAT(stackWalk(), ElementsAre(4));
}

TEST_F(ActivationTest, WalkHandsOutObjectZeroAsZero) {
    ActivateObjZEP(0);
    ActivateObjZEP(2);
    ResetCollisionStackZEP();
    EXPECT_THAT(peek(3), ElementsAre(0, 2, 0));
}

}  // namespace
}  // namespace zeptest
