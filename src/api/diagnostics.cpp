#include "api/diagnostics.h"

#include <cstdarg>
#include <cstdio>

#include "api/command_entry.h"
#include "api/state.h"
#include "world/world.h"
#include "zepcollide.h"

namespace zep {

#if defined(_WIN32)

void warnAbout(const char*, int32_t, const char*, ...) {}
void warnFailure(const char*) {}
void warnAboutCall(const char*, const char*, ...) {}
void warnFromOtherThread(const char*) {}

#else

namespace {

constexpr size_t kWarningBufferSize = 256;

void callHandler(const ZepWarning& warning) {
    const HostReports& reports = world().reports;
    const auto handler = reports.warningHandler.load(std::memory_order_acquire);
    if (handler) handler(&warning, reports.warningContext.load(std::memory_order_relaxed));
}

void deliver(const char* command, int32_t object, bool hasObject, const char* format, va_list args) {
    if (!warningsWanted() || !enterHandler()) return;
    char text[kWarningBufferSize];
    std::vsnprintf(text, sizeof text, format, args);
    callHandler(ZepWarning{command, hasObject ? object : 0, hasObject ? 1 : 0, text});
    leaveHandler();
}

}  // namespace

bool warningsWanted() { return world().reports.warningHandler.load(std::memory_order_relaxed) != nullptr; }

void warnAbout(const char* command, int32_t object, const char* format, ...) {
    va_list args;
    va_start(args, format);
    deliver(command, object, true, format, args);
    va_end(args);
}

void warnAboutCall(const char* command, const char* format, ...) {
    va_list args;
    va_start(args, format);
    deliver(command, 0, false, format, args);
    va_end(args);
}

void warnFailure(const char* boxText) { warnAboutCall(kFailureCommand, "%s", boxText); }

void warnFromOtherThread(const char* command) {
    // The handler may call the library again from this thread and be
    // refused again: it hears of the first refusal only.
    static thread_local bool delivering = false;
    if (delivering || !warningsWanted()) return;
    delivering = true;
    callHandler(ZepWarning{command, 0, 0,
                           "refused: another thread is inside a command; the library is called from one thread "
                           "at a time"});
    delivering = false;
}

#endif

}  // namespace zep

#if !defined(_WIN32)
extern "C" ZEP_API void zepSetWarningHandler(ZepWarningHandler handler, void* context) {
    const zep::CommandEntry entry("zepSetWarningHandler", zep::FromHandler::Allowed);
    if (!entry.admitted()) return;
    zep::HostReports& reports = zep::world().reports;
    reports.warningContext.store(handler ? context : nullptr, std::memory_order_relaxed);
    reports.warningHandler.store(handler, std::memory_order_release);
}
#endif
