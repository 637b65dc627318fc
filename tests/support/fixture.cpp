#include "support/fixture.h"
#include "api/state.h"
#include "world/world.h"
#include "api/errors.h"

namespace zeptest {

void CommandTest::disarmDebugMessages() { zep::world().reports.debugMessages = 0; }

}  // namespace zeptest
