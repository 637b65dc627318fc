// The commands entered from a host whose float state is not the library's: a
// table whose every entry sets the host's SSE control and status word (and on
// 32-bit x86 its x87 control word), calls the real command, reads both words
// back and returns the test itself to round to nearest. The scenarios run
// through it unchanged, so their own arithmetic is not affected; only the
// library sees the host's state. Used by the Linux tests and by the Windows
// host stand-in alike.
#pragma once

#include <xmmintrin.h>

#include <cfenv>
#include <cstdint>
#include <type_traits>

#include "shared/scenarios.h"

namespace zeptest {

// MXCSR bits.
inline constexpr uint32_t kMxcsrDefault = 0x1F80u;  // nearest, all masked, no FTZ/DAZ
inline constexpr uint32_t kMxcsrStatusFlags = 0x003Fu;
inline constexpr uint32_t kMxcsrFlushToZero = 0x8000u;
inline constexpr uint32_t kMxcsrDenormalsAreZero = 0x0040u;
inline constexpr uint32_t kMxcsrInvalidFlag = 0x0001u;
inline constexpr uint32_t kMxcsrDivideByZeroMask = 0x0200u;
inline constexpr uint32_t kMxcsrOverflowMask = 0x0400u;

// One float state a host might hold when it calls a command.
struct HostFloatState {
    const char* name;
    int rounding;    // FE_TONEAREST, FE_TOWARDZERO, FE_UPWARD or FE_DOWNWARD
    uint32_t extra;  // bits set in MXCSR on top of the rounding mode
    uint32_t clear;  // bits cleared in MXCSR (exception masks)
};

inline const HostFloatState kHostFloatStates[] = {
    {"toward zero", FE_TOWARDZERO, 0, 0},
    {"upward", FE_UPWARD, 0, 0},
    {"downward", FE_DOWNWARD, 0, 0},
    {"flush-to-zero and denormals-are-zero", FE_TONEAREST, kMxcsrFlushToZero | kMxcsrDenormalsAreZero, 0},
    // Everything at once, with a sticky flag already raised and two
    // exceptions unmasked: a command that computed in this state would trap.
    {"toward zero, FTZ, DAZ, flag set, traps on", FE_TOWARDZERO,
     kMxcsrFlushToZero | kMxcsrDenormalsAreZero | kMxcsrInvalidFlag,
     kMxcsrDivideByZeroMask | kMxcsrOverflowMask},
};

// What the wrapped table does and what it saw. One per process: the table
// holds plain function pointers, so the state they use is global.
struct CallerFloatState {
    Commands inner{};
    uint32_t mxcsr = kMxcsrDefault;  // the host's MXCSR during each call
    uint16_t x87 = 0;                // the host's x87 control word (32-bit x86)
    long calls = 0;
    long changed = 0;  // calls that returned with another MXCSR or x87 word
    int firstChangedOrdinal = 0;
    uint32_t firstChangedMxcsr = 0;
};

inline CallerFloatState callerFloatState;

// The MXCSR a host has after fesetround(state.rounding) and the extra bits,
// with no flag raised but those in extra;
// the test's own state is left as it was.
inline uint32_t hostMxcsr(const HostFloatState& state) {
    const uint32_t own = _mm_getcsr();
    std::fesetround(state.rounding);
    const uint32_t word = ((_mm_getcsr() & ~kMxcsrStatusFlags) | state.extra) & ~state.clear;
    std::fesetround(FE_TONEAREST);
    _mm_setcsr(own);
    return word;
}

namespace detail {

#if defined(__i386__)
inline uint16_t x87ControlWord() {
    uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word;
}
inline void setX87ControlWord(uint16_t word) { asm volatile("fldcw %0" : : "m"(word)); }
#endif

template <auto Field, int Ordinal, typename R, typename... A>
R ZEPCALL inHostState(A... args) {
    CallerFloatState& s = callerFloatState;
    const uint32_t own = _mm_getcsr();
#if defined(__i386__)
    const uint16_t ownX87 = x87ControlWord();
    setX87ControlWord(s.x87);
#endif
    _mm_setcsr(s.mxcsr);
    auto after = [&] {
        const uint32_t seen = _mm_getcsr();
        _mm_setcsr(own);
        bool same = seen == s.mxcsr;
#if defined(__i386__)
        same = same && x87ControlWord() == s.x87;
        setX87ControlWord(ownX87);
#endif
        ++s.calls;
        if (!same && s.changed++ == 0) {
            s.firstChangedOrdinal = Ordinal;
            s.firstChangedMxcsr = seen;
        }
    };
    if constexpr (std::is_void_v<R>) {
        (s.inner.*Field)(args...);
        after();
    } else {
        const R result = (s.inner.*Field)(args...);
        after();
        return result;
    }
}

template <auto Field, int Ordinal, typename R, typename... A>
void wrap(Commands& commands, R(ZEPCALL* Commands::*)(A...)) {
    commands.*Field = &inHostState<Field, Ordinal, R, A...>;
}

}  // namespace detail

// A table that calls `inner` in callerFloatState's host state. Sets
// callerFloatState.inner and clears its counts; the caller sets the state.
inline Commands inHostFloatState(const Commands& inner) {
    callerFloatState = CallerFloatState{};
    callerFloatState.inner = inner;
#if defined(__i386__)
    callerFloatState.x87 = detail::x87ControlWord();
#endif
    Commands c{};
#define ZEPTEST_WRAP(ordinal, field) detail::wrap<&Commands::field, ordinal>(c, &Commands::field)
    ZEPTEST_WRAP(1, StartCollisionZEP);
    ZEPTEST_WRAP(2, StartCollisionDebugZEP);
    ZEPTEST_WRAP(3, StopCollisionZEP);
    ZEPTEST_WRAP(4, SetCollisionZEP);
    ZEPTEST_WRAP(5, NewCollObjZEP);
    ZEPTEST_WRAP(6, CheckShapeZEP);
    ZEPTEST_WRAP(7, AddObjShapeZEP);
    ZEPTEST_WRAP(8, ActivateObjZEP);
    ZEPTEST_WRAP(9, DeActivateObjZEP);
    ZEPTEST_WRAP(10, SetObjRadiusZEP);
    ZEPTEST_WRAP(11, AddMeshTri);
    ZEPTEST_WRAP(12, AddMeshZEP);
    ZEPTEST_WRAP(13, UpdateObjZEP);
    ZEPTEST_WRAP(14, ResetCollisionStackZEP);
    ZEPTEST_WRAP(15, PeekCollisionStackZEP);
    ZEPTEST_WRAP(16, RunCollisionZEP);
    ZEPTEST_WRAP(17, PeekObjXZEP);
    ZEPTEST_WRAP(18, PeekObjYZEP);
    ZEPTEST_WRAP(19, PeekObjZZEP);
    ZEPTEST_WRAP(20, FreeObjZEP);
    ZEPTEST_WRAP(21, CountCollisionsZEP);
    ZEPTEST_WRAP(22, CollisionHit);
    ZEPTEST_WRAP(23, CollisionHitNorm);
    ZEPTEST_WRAP(24, CollisionObjHit);
    ZEPTEST_WRAP(25, CollisionPolyHit);
    ZEPTEST_WRAP(26, CollisionTriCorner);
#undef ZEPTEST_WRAP
    return c;
}

}  // namespace zeptest
