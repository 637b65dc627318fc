#include "api/diagnostics.h"

#include <cstdarg>
#include <cstdio>

#include "api/state.h"
#include "world/world.h"
#include "zepcollide.h"

namespace zep {

#if defined(_WIN32)

void warnAbout(const char*, int32_t, const char*, ...) {}
void warnFailure(const char*) {}
void warnAboutCall(const char*, const char*, ...) {}

#else

namespace {

constexpr size_t kWarningBufferSize = 256;

void deliver(const char* command, int32_t object, bool hasObject, const char* format, va_list args) {
    const HostReports& reports = world().reports;
    if (!reports.warningHandler) return;
    char text[kWarningBufferSize];
    std::vsnprintf(text, sizeof text, format, args);
    const ZepWarning warning{command, hasObject ? object : 0, hasObject ? 1 : 0, text};
    reports.warningHandler(&warning, reports.warningContext);
}

}  // namespace

bool warningsWanted() { return world().reports.warningHandler != nullptr; }

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

#endif

}  // namespace zep

#if !defined(_WIN32)
extern "C" ZEP_API void zepSetWarningHandler(ZepWarningHandler handler, void* context) {
    zep::HostReports& reports = zep::world().reports;
    reports.warningHandler = handler;
    reports.warningContext = handler ? context : nullptr;
}
#endif
