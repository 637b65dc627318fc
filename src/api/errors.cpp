#include "api/errors.h"

#include <cstdio>
#include <cstring>

#include "api/command_entry.h"
#include "api/diagnostics.h"
#include "api/state.h"
#include "world/world.h"

namespace zep {

namespace {

// Longest text plus the sign and ten digits of a 32-bit number.
constexpr size_t kMessageBufferSize = 96;

bool boxArmed() { return world().reports.debugMessages != 0; }

void formatMessage(char (&buffer)[kMessageBufferSize], const char* text, int32_t number) {
    std::snprintf(buffer, sizeof buffer, "%s%ld", text, long(number));
}

// Shows the box if it is armed, disarming it first: exactly one box per
// arming. A box the host's handlers are nested too deep to see stays armed.
void showIfArmed(const char* text) {
    if (!boxArmed() || !enterHandler()) return;
    world().reports.debugMessages = 0;
    showErrorBox(text);
    leaveHandler();
}

}  // namespace

void reportError(const char* text, int32_t number) {
    if (!boxArmed() && !warningsWanted()) return;
    char buffer[kMessageBufferSize];
    formatMessage(buffer, text, number);
    if (warningsWanted()) warnFailure(buffer);
    showIfArmed(buffer);
}

namespace {

void showOutOfMemory(const char* boxText, int32_t number) {
    if (!boxArmed()) return;
    char buffer[kMessageBufferSize];
    formatMessage(buffer, boxText, number);
    showIfArmed(buffer);
}

}  // namespace

void reportOutOfMemory(const char* command, int32_t object, const char* boxText, int32_t number, const char* what) {
    if (warningsWanted()) warnAbout(command, object, "out of memory: %s", what);
    showOutOfMemory(boxText, number);
}

void reportOutOfMemoryInCall(const char* command, const char* boxText, int32_t number, const char* what) {
    if (warningsWanted()) warnAboutCall(command, "out of memory: %s", what);
    showOutOfMemory(boxText, number);
}

}  // namespace zep
