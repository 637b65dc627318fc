// How many threads a collision pass may use.
#include "api/command_entry.h"
#include "api/diagnostics.h"
#include "api/errors.h"
#include "api/state.h"
#include "base/worker_pool.h"
#include "world/world.h"
#include "zepcollide.h"

using namespace zep;

extern "C" {

ZEP_API void ZEPCALL SetCollisionThreadsZEP(int32_t count) {
    const CommandEntry entry("SetCollisionThreadsZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    if (count < 0) {
        reportError(message::kThreadsNegative, count);
        if (warningsWanted())
            warnAboutCall("SetCollisionThreadsZEP",
                          "thread count %d ignored: 0 is automatic, 1 the calling thread only, n at most n",
                          int(count));
        return;
    }
    if (count > kMostThreads && warningsWanted())
        warnAboutCall("SetCollisionThreadsZEP", "thread count %d taken as %d, the most a pass uses", int(count),
                      int(kMostThreads));
    world().passThreads = count > kMostThreads ? kMostThreads : count;
}

}  // extern "C"
