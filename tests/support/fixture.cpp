#include "support/fixture.h"
#include "api/errors.h"

namespace zeptest {

void CommandTest::disarmDebugMessages() { zep::debugMessages = 0; }

}  // namespace zeptest
