// Error reporting: the debug switch and the one-shot error box.
//
// No command returns an error code. A failed command changes nothing and, only
// after StartCollisionDebugZEP and only for the first failure after it, shows
// a box with a fixed text followed by a number.
#pragma once

#include <cstdint>

namespace zep {

namespace message {
inline constexpr const char kNotStarted[] = "Collision object error, system not started";
inline constexpr const char kNumberTooHigh[] = "Object number too high for collision system: ";
inline constexpr const char kNotDefined[] = "Object isn't defined: ";
inline constexpr const char kRulesNotStarted[] = "Cannot Set Collision Type, System Not Started";
inline constexpr const char kCreateNotStarted[] = "Cannot create collision object, system not started";
inline constexpr const char kRadiusNotPositive[] = "Ellip radius values must be positive for object: ";
inline constexpr const char kIndexOutOfRange[] = "Collision index out of range: ";
inline constexpr const char kCornerOutOfRange[] = "Corner out of range: ";
inline constexpr const char kCaption[] = "Collision Error";
// When memory runs out: what could not be done, and the number it concerns.
inline constexpr const char kStartNoMemory[] = "Cannot start collision system, out of memory";
inline constexpr const char kRuleNoMemory[] = "Cannot Set Collision Type, out of memory for type: ";
inline constexpr const char kCreateNoMemory[] = "Cannot create collision object, out of memory: ";
inline constexpr const char kShapeNoMemory[] = "Cannot add shape, out of memory for object: ";
inline constexpr const char kTrianglesNoMemory[] = "Cannot add triangles, out of memory for object: ";
inline constexpr const char kActivateNoMemory[] = "Cannot activate object, out of memory: ";
inline constexpr const char kPassNoMemory[] = "Collision pass incomplete, out of memory for object: ";
// The character commands.
inline constexpr const char kCharacterWithoutEllipsoid[] = "Character needs an ellipsoid shape, object: ";
inline constexpr const char kSlopeLimitOutOfRange[] = "Character slope limit must be 0 to 89.9 degrees, object: ";
inline constexpr const char kStepOrSnapInvalid[] = "Character step and snap must be finite and not negative, object: ";
inline constexpr const char kCharacterNoMemory[] = "Cannot make character, out of memory for object: ";
// The thread setting.
inline constexpr const char kThreadsNegative[] = "Collision thread count must not be negative: ";
}  // namespace message

// Shows text followed by number (the host's 32-bit argument, in signed
// decimal) if a message is armed, and disarms it first.
void reportError(const char* text, int32_t number);

// A command that memory ran out for did not do `what` (and changed nothing
// else): the warning handler hears it as a warning of the command itself,
// and the armed box shows boxText followed by number.
void reportOutOfMemory(const char* command, int32_t object, const char* boxText, int32_t number, const char* what);
// The same for a command that names no object.
void reportOutOfMemoryInCall(const char* command, const char* boxText, int32_t number, const char* what);

// The platform's box: MessageBoxA on Windows, the message handler elsewhere.
void showErrorBox(const char* text);

}  // namespace zep
