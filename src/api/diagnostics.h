// Warnings for calls the commands ignore without an error box (a triangle for
// an object without a mesh, a type outside the rule table, a non-finite
// position, ...). They go to the host's warning handler, if it set one; the
// commands' results and boxes are the same either way.
//
// Callers test warningsWanted() before looking for a mistake, so a host
// without a handler (every Windows host) pays one load and branch per
// command, and the collision pass nothing.
#pragma once

#include <cstdint>

namespace zep {

#if defined(_WIN32)
constexpr bool warningsWanted() { return false; }
#else
bool warningsWanted();
#endif

// One warning about a call of command naming object; text is a printf format.
void warnAbout(const char* command, int32_t object, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// The same for a command that names no object.
void warnAboutCall(const char* command, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Every failure the error box would report, each time and whether or not the
// box is armed: the box shows only the first after StartCollisionDebugZEP,
// which hides the rest from a host that wants to see them all. The warning's
// command is kFailureCommand and its text the box's text, number included.
inline constexpr const char kFailureCommand[] = "Collision Error";
void warnFailure(const char* boxText);

// A command refused because another thread is inside one, told on the
// refused thread. Reads nothing but the warning handler.
void warnFromOtherThread(const char* command);

// The not-started warning, shared by every command that needs the system.
inline constexpr const char kWarnNotStarted[] = "ignored: StartCollisionZEP has not been called";

}  // namespace zep
