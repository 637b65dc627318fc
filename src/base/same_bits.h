// Whether two values are the same to the bit: the test for handing back a
// result kept from an earlier question, which must be the result of exactly
// that question (NaNs and the sign of zero included). Compared float by
// float, as the values were written: a wider read of floats just stored
// one at a time would stall on the stores.
#pragma once

#include <bit>
#include <cstdint>

#include "base/box3.h"
#include "base/vec3.h"

namespace zep {

inline bool sameBits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

inline bool sameBits(const Vec3& a, const Vec3& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z);
}

inline bool sameBits(const Box3& a, const Box3& b) { return sameBits(a.lo, b.lo) && sameBits(a.hi, b.hi); }

}  // namespace zep
