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
#include <tuple>
#include <type_traits>
#include <utility>

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

// The table's fields in ordinal order.
inline constexpr auto kCommandFields = std::make_tuple(
    &Commands::StartCollisionZEP, &Commands::StartCollisionDebugZEP, &Commands::StopCollisionZEP,
    &Commands::SetCollisionZEP, &Commands::NewCollObjZEP, &Commands::CheckShapeZEP, &Commands::AddObjShapeZEP,
    &Commands::ActivateObjZEP, &Commands::DeActivateObjZEP, &Commands::SetObjRadiusZEP, &Commands::AddMeshTri,
    &Commands::AddMeshZEP, &Commands::UpdateObjZEP, &Commands::ResetCollisionStackZEP,
    &Commands::PeekCollisionStackZEP, &Commands::RunCollisionZEP, &Commands::PeekObjXZEP, &Commands::PeekObjYZEP,
    &Commands::PeekObjZZEP, &Commands::FreeObjZEP, &Commands::CountCollisionsZEP, &Commands::CollisionHit,
    &Commands::CollisionHitNorm, &Commands::CollisionObjHit, &Commands::CollisionPolyHit,
    &Commands::CollisionTriCorner);
static_assert(std::tuple_size_v<decltype(kCommandFields)> == kCommandCount);

template <size_t... Index>
void wrapEach(Commands& commands, std::index_sequence<Index...>) {
    (wrap<std::get<Index>(kCommandFields), int(Index) + 1>(commands, std::get<Index>(kCommandFields)), ...);
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
    detail::wrapEach(c, std::make_index_sequence<kCommandCount>{});
    return c;
}

}  // namespace zeptest
