#include "api/command_entry.h"

#include <atomic>

#include "api/diagnostics.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace zep {

namespace {

// Who is inside a command, and how deep in the host's handlers. Only the
// thread in `owner` touches handlerDepth.
struct CommandGate {
    std::atomic<uintptr_t> owner{0};  // 0: no command running
    int handlerDepth = 0;
    int64_t entered = 0;
};

CommandGate gate;

// A handler may be called from a command its handler called, and no deeper.
constexpr int kDeepestHandler = 2;

// Never 0 for a running thread. The thread pointer is one load where the
// compiler offers it, a third of what a call of pthread_self costs.
uintptr_t currentThread() {
#if defined(_WIN32)
    return uintptr_t(GetCurrentThreadId());
#elif defined(__x86_64__) || defined(__aarch64__)
    return uintptr_t(__builtin_thread_pointer());
#else
    return uintptr_t(pthread_self());
#endif
}

}  // namespace

CommandEntry::CommandEntry(const char* command, FromHandler fromHandler) {
    const uintptr_t self = currentThread();
    // Only this thread can have stored itself there, so a relaxed read tells.
    if (gate.owner.load(std::memory_order_relaxed) == self) {
        admission_ = fromHandler == FromHandler::Allowed ? Admission::FromHandler : Admission::Refused;
        gate.entered += admission_ != Admission::Refused;
        if (admission_ == Admission::Refused && warningsWanted())
            warnAboutCall(command,
                          "refused: called from inside a warning or message handler, which may only read "
                          "(positions, contacts, CheckShapeZEP) while the command that called it runs");
        return;
    }
    uintptr_t none = 0;
    if (gate.owner.compare_exchange_strong(none, self, std::memory_order_acquire, std::memory_order_relaxed)) {
        admission_ = Admission::Outermost;
        ++gate.entered;
        return;
    }
    admission_ = Admission::Refused;
    warnFromOtherThread(command);
}

CommandEntry::~CommandEntry() {
    if (admission_ == Admission::Outermost) gate.owner.store(0, std::memory_order_release);
}

bool enterHandler() {
    if (gate.handlerDepth >= kDeepestHandler) return false;
    ++gate.handlerDepth;
    return true;
}

void leaveHandler() { --gate.handlerDepth; }

namespace testing {
int64_t commandsEntered() { return gate.entered; }
}  // namespace testing

}  // namespace zep
