// The common paths of the command shims: the object check and float results.
#pragma once

#include <cstdint>
#include <cstring>

#include "world/object.h"

namespace zep {

// The object the host named, or nullptr after reporting why it cannot be used:
// system not started, number above 5000 (as unsigned), or number undefined,
// checked in that order. command names the caller in warnings.
CollisionObject* validateObject(int32_t number, const char* command);

// True when no component (1 x, 2 y, 3 z) is named; warns if that is so.
bool componentIgnored(const char* command, int32_t number, int32_t component);

// A float result travels to the host as its bit pattern in the integer result.
inline int32_t floatResult(float value) {
    int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// x, y or z of v for component 1, 2 or 3; 0.0 for any other component.
inline float vectorComponent(const Vec3& v, int32_t component) {
    switch (component) {
        case 1: return v.x;
        case 2: return v.y;
        case 3: return v.z;
        default: return 0.0f;
    }
}

}  // namespace zep
