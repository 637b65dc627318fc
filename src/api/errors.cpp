#include "api/errors.h"

#include <cstdio>
#include <cstring>

#include "api/diagnostics.h"
#include "api/state.h"
#include "world/world.h"

namespace zep {

namespace {
// Longest text plus the sign and ten digits of a 32-bit number.
constexpr size_t kMessageBufferSize = 96;
}  // namespace

void reportError(const char* text, int32_t number) {
    uint8_t& debugMessages = world().reports.debugMessages;
    if (!debugMessages && !warningsWanted()) return;
    char buffer[kMessageBufferSize];
    std::snprintf(buffer, sizeof buffer, "%s%ld", text, long(number));
    if (warningsWanted()) warnFailure(buffer);
    if (!debugMessages) return;
    debugMessages = 0;  // before showing: exactly one box per arming
    showErrorBox(buffer);
}

}  // namespace zep
