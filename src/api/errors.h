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
}  // namespace message

// Shows text followed by number (the host's 32-bit argument, in signed
// decimal) if a message is armed, and disarms it first.
void reportError(const char* text, int32_t number);

// The platform's box: MessageBoxA on Windows, the message handler elsewhere.
void showErrorBox(const char* text);

}  // namespace zep
