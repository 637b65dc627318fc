// The way into every command: the float state it computes in, one thread at
// a time, and what a handler of the host's may call.
//
// The library is called from one thread at a time. A command entered while
// another thread is inside one is refused: it changes nothing, returns 0 and
// warns (on the refused thread) where a handler is set, instead of racing the
// other thread through the world.
//
// A warning or message handler runs inside the command that warned, which
// may still hold an object it is about to change. So while a handler runs
// the world is locked: a handler may call the commands that only read
// (FromHandler::Allowed), and any other command it calls is refused with a
// warning. Reports nest at most one level: a handler hears of what its own
// calls did wrong, but what a handler called from a handler does wrong is not
// reported again, so a handler can never recurse without bound.
#pragma once

#include <cstdint>

#include "base/float_state.h"

namespace zep {

enum class FromHandler { Allowed, Refused };

class CommandEntry {
public:
    CommandEntry(const char* command, FromHandler fromHandler);
    ~CommandEntry();
    CommandEntry(const CommandEntry&) = delete;
    CommandEntry& operator=(const CommandEntry&) = delete;

    // False when the command must do nothing and return 0.
    bool admitted() const { return admission_ != Admission::Refused; }

private:
    enum class Admission : uint8_t { Outermost, FromHandler, Refused };
    CommandFloatState floatState_;
    Admission admission_;
};

// Brackets a call of one of the host's handlers (a warning, or the error
// box). False when handlers are already nested as deep as they may be: the
// report is dropped and the handler not called.
bool enterHandler();
void leaveHandler();

namespace testing {
// Commands let in since load (refused ones not counted): the fuzzer's count
// of what it ran.
int64_t commandsEntered();
}  // namespace testing

}  // namespace zep
