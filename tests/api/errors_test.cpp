// The error box through the default handler. The object check, its order and
// texts, and the one-shot box (armed across a stop and a start too) are the
// shared scenarios (tests/shared/error_scenarios.cpp), on both builds.
#include "support/fixture.h"

namespace zeptest {
namespace {

class ErrorBoxTest : public CommandTest {};

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
