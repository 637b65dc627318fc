// The object check, its order and messages, and the one-shot error box.
#include "support/fixture.h"

namespace zeptest {
namespace {

using ::testing::ElementsAre;

class ErrorBoxTest : public CommandTest {};

TEST_F(ErrorBoxTest, NothingIsShownWithoutDebugMode) {
    StartCollisionZEP();
    FreeObjZEP(3);
    EXPECT_FLOAT_BITS(0.0f, PeekObjXZEP(3));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ErrorBoxTest, StartedCheckComesBeforeRangeAndDefinition) {
    StartCollisionDebugZEP();  // armed before the system starts: still counts
    PeekObjXZEP(9999);
    EXPECT_THAT(texts(), ElementsAre("Collision object error, system not started1"));

    StartCollisionZEP();
    StartCollisionDebugZEP();
    ActivateObjZEP(9999);
    StartCollisionDebugZEP();
    ActivateObjZEP(12);
    EXPECT_THAT(texts(), ElementsAre("Collision object error, system not started1",
                                     "Object number too high for collision system: 9999",
                                     "Object isn't defined: 12"));
}

TEST_F(ErrorBoxTest, NumbersAreShownAsTheHostPassedThem) {
    StartCollisionZEP();
    const int32_t numbers[] = {5001, -1, 16777217, INT32_MIN};
    for (int32_t number : numbers) {
        StartCollisionDebugZEP();
        UpdateObjZEP(number, 0, 0, 0, 0, 0, 0);
    }
    EXPECT_THAT(texts(), ElementsAre("Object number too high for collision system: 5001",
                                     "Object number too high for collision system: -1",
                                     "Object number too high for collision system: 16777217",
                                     "Object number too high for collision system: -2147483648"));
}

TEST_F(ErrorBoxTest, NotStartedTextsOfRulesAndCreation) {
    StartCollisionDebugZEP();
    SetCollisionZEP(1, 2, 0, 0, 0);
    StartCollisionDebugZEP();
    NewCollObjZEP(1, 1);
    EXPECT_THAT(texts(), ElementsAre("Cannot Set Collision Type, System Not Started1",
                                     "Cannot create collision object, system not started1"));
    StartCollisionZEP();
    EXPECT_EQ(CheckShapeZEP(1, 1), 0);  // nothing was stored or created
}

TEST_F(ErrorBoxTest, DebugModeSurvivesStopAndStart) {
    StartCollisionDebugZEP();
    StopCollisionZEP();
    StartCollisionZEP();
    EXPECT_TRUE(boxes.empty());
    FreeObjZEP(1);
    EXPECT_THAT(texts(), ElementsAre("Object isn't defined: 1"));
}

TEST_F(ErrorBoxTest, DefaultHandlerWritesOneLineToStandardError) {
    zepSetMessageHandler(nullptr, nullptr);
    StartCollisionZEP();
    StartCollisionDebugZEP();
    ::testing::internal::CaptureStderr();
    FreeObjZEP(42);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Collision Error: Object isn't defined: 42\n");
}

}  // namespace
}  // namespace zeptest
