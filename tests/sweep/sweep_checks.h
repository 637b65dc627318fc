// Checks shared by the narrow-phase tests: vectors compared bit for bit, or
// within a stated tolerance where only a rounded value is known.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/vec3.h"

namespace sweeptest {

inline uint32_t bits(float value) {
    uint32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

inline ::testing::AssertionResult sameBits(zep::Vec3 actual, zep::Vec3 expected) {
    if (bits(actual.x) == bits(expected.x) && bits(actual.y) == bits(expected.y) &&
        bits(actual.z) == bits(expected.z))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not bit for bit ("
           << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

// Within a few float ulps of a value known only to 8 digits.
constexpr double kLooseTolerance = 2e-6;

inline ::testing::AssertionResult near(zep::Vec3 actual, zep::Vec3 expected,
                                       double tolerance = kLooseTolerance) {
    if (std::fabs(actual.x - expected.x) <= tolerance &&
        std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not near ("
           << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

}  // namespace sweeptest

#define EXPECT_SAME_FLOAT(expected, actual) \
    EXPECT_EQ(::sweeptest::bits(float(expected)), ::sweeptest::bits(float(actual)))
