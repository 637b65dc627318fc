// Where the error box goes. On Windows the host expects a real modal box; on
// other systems (development and tests) a handler stands in for it.
#include "api/errors.h"

#if defined(_WIN32)
#include <windows.h>

namespace zep {

void showErrorBox(const char* text) {
    MessageBoxA(nullptr, text, message::kCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace zep

#else
#include <cstdio>

#include "api/command_entry.h"
#include "api/state.h"
#include "world/world.h"
#include "zepcollide.h"

namespace zep {

void showErrorBox(const char* text) {
    const HostReports& reports = world().reports;
    if (reports.messageHandler) {
        reports.messageHandler(text, message::kCaption, reports.messageContext);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", message::kCaption, text);
}

}  // namespace zep

extern "C" ZEP_API void zepSetMessageHandler(ZepMessageHandler handler, void* context) {
    const zep::CommandEntry entry("zepSetMessageHandler", zep::FromHandler::Allowed);
    if (!entry.admitted()) return;
    zep::HostReports& reports = zep::world().reports;
    reports.messageHandler = handler;
    reports.messageContext = handler ? context : nullptr;
}

#endif
