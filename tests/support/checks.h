// The bit-for-bit checks of the test suite: floats and vectors compared by
// their bits, or within a stated tolerance where only a rounded value is known.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "base/vec3.h"
#include "support/bits.h"
#include "zepcollide.h"

namespace zeptest {

inline ::testing::AssertionResult sameBits(zep::Vec3 actual, zep::Vec3 expected) {
    if (sameBits(actual.x, expected.x) && sameBits(actual.y, expected.y) && sameBits(actual.z, expected.z))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                         << ") is not bit for bit (" << expected.x << ", " << expected.y << ", "
                                         << expected.z << ")";
}

// Within a few float ulps of a value known only to 8 digits.
constexpr double kLooseTolerance = 2e-6;

inline ::testing::AssertionResult near(zep::Vec3 actual, zep::Vec3 expected, double tolerance = kLooseTolerance) {
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                         << ") is not near (" << expected.x << ", " << expected.y << ", "
                                         << expected.z << ")";
}

}  // namespace zeptest

// A float compared bit for bit with the expected float.
#define EXPECT_SAME_FLOAT(expected, actual) \
    EXPECT_EQ(::zeptest::bitsOf(float(expected)), ::zeptest::bitsOf(float(actual)))

// A command's float result (its bits in an int32_t) compared bit for bit.
#define EXPECT_FLOAT_BITS(expected, result) EXPECT_SAME_FLOAT(expected, zepFloat(result))

#define EXPECT_VEC3_EQ(expected, actual) EXPECT_TRUE(::zeptest::sameBits((actual), (expected)))

#define EXPECT_VEC3_NEAR(expected, actual, tolerance) \
    EXPECT_TRUE(::zeptest::near((actual), (expected), (tolerance)))
