// The SSE state every command (and every thread of a pass) computes in,
// whatever the host holds.
//
// Results are defined to the bit for round to nearest with denormals kept and
// every exception masked. A host (or a graphics driver inside it) may run with
// another rounding mode, flush-to-zero, denormals-are-zero or unmasked
// exceptions, so each command sets that state on entry and gives the host its
// own MXCSR back on return, control bits and sticky flags alike.
//
// The x87 control word is left alone: the library does no x87 arithmetic
// (SSE2 on 32-bit x86, and no libm call that falls back to x87).
#pragma once

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace zep {

// Round to nearest, no flush-to-zero, no denormals-are-zero, all six
// exceptions masked, no flag raised.
inline constexpr unsigned kCommandMxcsr = 0x1F80u;
inline constexpr unsigned kMxcsrFlags = 0x003Fu;

#if defined(__SSE__)
class CommandFloatState {
public:
    // The sticky flags do not steer any result: a host already in the
    // command state, whatever flags it has raised, costs one read here.
    CommandFloatState() : host_(_mm_getcsr()) {
        if ((host_ & ~kMxcsrFlags) != kCommandMxcsr) _mm_setcsr(kCommandMxcsr);
    }
    ~CommandFloatState() {
        if (_mm_getcsr() != host_) _mm_setcsr(host_);
    }
    CommandFloatState(const CommandFloatState&) = delete;
    CommandFloatState& operator=(const CommandFloatState&) = delete;

private:
    unsigned host_;
};
#else
// No SSE: the platform's default float environment is the one assumed.
class CommandFloatState {
public:
    CommandFloatState() {}
};
#endif

}  // namespace zep
