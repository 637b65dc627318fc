// Floats as the 32-bit words a host passes and reads back, and error boxes as
// the host sees them. Plain C++ without GoogleTest or Linux headers: the
// Windows host stand-in and the fuzzer build it too.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace zeptest {

inline uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline float floatOf(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline bool sameBits(float a, float b) { return bitsOf(a) == bitsOf(b); }

// One error box as the library showed it.
struct Box {
    std::string text;
    std::string caption;
};

}  // namespace zeptest
