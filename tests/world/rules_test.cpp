// Type rules: storage, direction, the edges of the type range. What
// CheckShapeZEP says of them is the shared scenario RulesAndCheckShape.
#include "support/fixture.h"
#include "support/world_view.h"
#include "world/rules.h"

namespace zeptest {
namespace {

class RuleTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
    }
    int ruleCount() const {
        int count = 0;
        for (auto* rule = zep::world().ruleListHead; rule; rule = rule->next) ++count;
        return count;
    }
    // Whether the pass pairs object a's ellipsoids with object b's meshes.
    static bool pairs(int a, int b) { return zep::rulePairsTypes(zep::world(), bodyOf(a), bodyOf(b)); }
};

TEST_F(RuleTest, TypesOutOfRangeAreIgnoredSilently) {
    StartCollisionDebugZEP();
    SetCollisionZEP(301, 2, 0, 0, 0);
    SetCollisionZEP(1, -1, 0, 0, 0);
    SetCollisionZEP(-1, 1, 0, 0, 0);
    EXPECT_EQ(ruleCount(), 0);
    EXPECT_TRUE(boxes.empty());
}

// Type 300, the last, has a chain of its own on either side of a rule.
TEST_F(RuleTest, RulesAreOneWay) {
    SetCollisionZEP(1, 2, 0, 0, 0);
    SetCollisionZEP(300, 5, 0, 0, 0);
    SetCollisionZEP(6, 300, 0, 0, 0);
    for (int type : {1, 2, 300, 5, 6}) NewCollObjZEP(type, type);
    EXPECT_TRUE(pairs(1, 2));
    EXPECT_FALSE(pairs(2, 1));
    EXPECT_TRUE(pairs(300, 5));
    EXPECT_FALSE(pairs(5, 300));
    EXPECT_TRUE(pairs(6, 300));

    AddObjShapeZEP(1, 1);
    AddObjShapeZEP(1, 2);
    AddObjShapeZEP(2, 2);
    AddObjShapeZEP(2, 1);
    EXPECT_TRUE(zep::rulePairsShapes(zep::world(), shapeAt(1, 0), shapeAt(2, 0)));   // ellipsoid vs mesh
    EXPECT_FALSE(zep::rulePairsShapes(zep::world(), shapeAt(1, 1), shapeAt(2, 0)));  // mesh vs mesh
    EXPECT_FALSE(zep::rulePairsShapes(zep::world(), shapeAt(1, 0), shapeAt(2, 1)));  // ellipsoid vs ellipsoid
    EXPECT_FALSE(zep::rulePairsShapes(zep::world(), shapeAt(2, 1), shapeAt(1, 1)));  // wrong direction
}

TEST_F(RuleTest, BodyTypesOutsideTheRangeMeetNothing) {
    SetCollisionZEP(0, 0, 0, 0, 0);
    NewCollObjZEP(1, 500);
    NewCollObjZEP(2, -3);
    NewCollObjZEP(3, 0);
    EXPECT_FALSE(pairs(1, 3));
    EXPECT_FALSE(pairs(2, 3));
    EXPECT_FALSE(pairs(3, 1));
    EXPECT_TRUE(pairs(3, 3));
    EXPECT_EQ(CheckShapeZEP(1, 1), 0);
}

TEST_F(RuleTest, ChainsKeepCreationOrderAndRepeats) {
    SetCollisionZEP(1, 2, 0, 0, 0);
    SetCollisionZEP(3, 4, 0, 0, 0);
    SetCollisionZEP(1, 5, 0, 0, 0);
    SetCollisionZEP(1, 2, 0, 0, 0);
    EXPECT_EQ(ruleCount(), 4);
    std::vector<int> chain;
    for (auto* rule = zep::world().ruleChainHeads[1]; rule; rule = rule->chainNext) chain.push_back(rule->typeB);
    EXPECT_EQ(chain, (std::vector<int>{2, 5, 2}));
    EXPECT_EQ(zep::world().ruleChainTails[1]->chainPrev->typeB, 5);
    EXPECT_EQ(zep::world().ruleChainHeads[3], zep::world().ruleChainTails[3]);
}

}  // namespace
}  // namespace zeptest
