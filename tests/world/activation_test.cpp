// The activation list and the host's walk over it. A host walking the
// collision stack may free, replace or deactivate the objects it is handed,
// or the ones still ahead of the cursor, and reactivate others: the walk must
// never touch a freed entry and must hand out exactly the objects still on
// the list ahead of it. The walk's order and a deactivation under the cursor
// are the shared scenario ActivationWalk.
#include <vector>

#include "base/allocation.h"
#include "index/index_records.h"
#include "support/fixture.h"
#include "support/invariants.h"
#include "support/world_view.h"

namespace zeptest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ActivationTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
        for (int n : {1, 2, 3, 4, 5}) {
            NewCollObjZEP(n, 1);
            ActivateObjZEP(n);
        }
    }
    static std::vector<int> peek(int times) {
        std::vector<int> numbers;
        while (times-- > 0) numbers.push_back(PeekCollisionStackZEP());
        return numbers;
    }
};

TEST_F(ActivationTest, FreeingEachObjectAsItIsHandedOut) {
    std::vector<int> seen;
    ResetCollisionStackZEP();
    for (int n = PeekCollisionStackZEP(); n; n = PeekCollisionStackZEP()) {
        seen.push_back(n);
        FreeObjZEP(n);
        EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
    }
    EXPECT_THAT(seen, ElementsAre(1, 2, 3, 4, 5));
}

TEST_F(ActivationTest, FreeingTheObjectUnderTheCursorAndTheLast) {
    ResetCollisionStackZEP();
    EXPECT_EQ(PeekCollisionStackZEP(), 1);
    FreeObjZEP(2);  // the cursor stands on 2's entry
    FreeObjZEP(5);
    EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
    EXPECT_THAT(peek(3), ElementsAre(3, 4, 0));
}

TEST_F(ActivationTest, ReplacingAndReactivatingDuringAWalk) {
    ResetCollisionStackZEP();
    EXPECT_EQ(PeekCollisionStackZEP(), 1);
    NewCollObjZEP(2, 1);  // replaced: inactive, off the list
    ActivateObjZEP(1);    // handed out already, now at the end again
    DeActivateObjZEP(3);
    EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
    EXPECT_THAT(peek(4), ElementsAre(4, 5, 1, 0));
}

TEST_F(ActivationTest, AFinishedWalkStaysFinished) {
    ResetCollisionStackZEP();
    EXPECT_THAT(peek(6), ElementsAre(1, 2, 3, 4, 5, 0));
    NewCollObjZEP(9, 1);
    ActivateObjZEP(9);
    EXPECT_EQ(PeekCollisionStackZEP(), 0);
    EXPECT_EQ(bodyOf(9)->active, 1);
}

TEST_F(ActivationTest, DeactivatingAnInactiveObjectOnlyClearsTheFlag) {
    NewCollObjZEP(9, 1);
    bodyOf(9)->active = 1;  // a stale flag with no entry
    DeActivateObjZEP(9);
    EXPECT_EQ(bodyOf(9)->active, 0);
    EXPECT_THAT(stackWalk(), ElementsAre(1, 2, 3, 4, 5));
}

// Object 0 comes out as 0, like the walk's end, and the walk goes on past it.
TEST_F(ActivationTest, WalkHandsOutObjectZeroAsZero) {
    NewCollObjZEP(0, 1);
    ActivateObjZEP(0);
    ActivateObjZEP(1);
    ResetCollisionStackZEP();
    EXPECT_THAT(peek(7), ElementsAre(2, 3, 4, 5, 0, 1, 0));
}

// A level gets its tree when it is activated, not in its first pass; when
// memory runs out for the tree the object is active all the same.
TEST_F(ActivationTest, ActivationBuildsALevelsTreeAndCompletesWithoutOne) {
    NewCollObjZEP(9, 2);
    AddObjShapeZEP(9, ZEP_SHAPE_MESH);
    for (int i = 0; i < 257; ++i) AddMeshTri(9, float(i), 0, 0, float(i), 0, 1, float(i + 1), 0, 0);  // one more than a tail
    const zep::MeshShape* mesh = zep::asMesh(shapeAt(9, 0));
    for (int64_t n = 1; !mesh->index || mesh->index->tree.boxCount == 0; ++n) {
        ASSERT_LT(n, 20) << "the tree is never built";
        DeActivateObjZEP(9);
        zep::testing::failAllocationsAfter(n);  // the activation entry is made, the build runs out
        ActivateObjZEP(9);
        zep::testing::failAllocationsAfter(-1);
        EXPECT_EQ(bodyOf(9)->active, 1);
        EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
    }
}

}  // namespace
}  // namespace zeptest
