// The error box across a stop and through the default handler. The object
// check, its order and texts, and the one-shot box are checked by the shared
// scenarios (tests/shared/error_scenarios.cpp), on both builds.
#include "support/fixture.h"

namespace zeptest {
namespace {

using ::testing::ElementsAre;

class ErrorBoxTest : public CommandTest {};

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
