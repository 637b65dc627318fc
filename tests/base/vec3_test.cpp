// Normalisation tolerances and the double-precision dot product.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "base/vec3.h"
#include "support/checks.h"

namespace zeptest {
namespace {

using zep::Vec3;
using zep::normalized;

TEST(NormalizeTest, TooShortVectorsBecomeZero) {
    EXPECT_TRUE(sameBits(normalized(Vec3{0, 0, 0}), Vec3{0, 0, 0}));
    EXPECT_TRUE(sameBits(normalized(Vec3{0.000001f, 0, 0}), Vec3{0, 0, 0}));
}

// 0.00001² is 9.99999949e-11 in double, just above the cut-off; rounded to
// float it would equal the cut-off and give (0, 0, 0).
TEST(NormalizeTest, SquaredLengthIsNotRoundedToFloat) {
    EXPECT_TRUE(sameBits(normalized(Vec3{0.00001f, 0, 0}), Vec3{1, 0, 0}));
    EXPECT_TRUE(sameBits(normalized(Vec3{0.00002f, 0, 0}), Vec3{1, 0, 0}));
}

TEST(NormalizeTest, NearlyUnitVectorsKeepTheirBits) {
    EXPECT_TRUE(sameBits(normalized(Vec3{1.000004f, 0, 0}), Vec3{1.000004f, 0, 0}));
    EXPECT_TRUE(sameBits(normalized(Vec3{0.999995f, 0, 0}), Vec3{1, 0, 0}));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Vec3 withNan = normalized(Vec3{nan, 2, 0});
    EXPECT_TRUE(std::isnan(withNan.x));
    EXPECT_EQ(withNan.y, 2.0f);
}

TEST(NormalizeTest, ScalesByTheReciprocalLength) {
    EXPECT_TRUE(sameBits(normalized(Vec3{3, 4, 0}), Vec3{0.6f, 0.8f, 0}));
    Vec3 inPlace{0, 3, 4};
    zep::Normalize(inPlace, inPlace);
    EXPECT_TRUE(sameBits(inPlace, Vec3{0, 0.6f, 0.8f}));
}

// (1 + 2⁻¹⁵)² − (1 + 2⁻¹⁴) is 2⁻³⁰; with float products it would be 0.
TEST(DotTest, SumIsKeptInDouble) {
    const float a = 1.0f + std::ldexp(1.0f, -15);
    const float b = 1.0f + std::ldexp(1.0f, -14);
    EXPECT_EQ(zep::Dot(Vec3{0, b, a}, Vec3{0, -1, a}), std::ldexp(1.0, -30));
}

// The float quotient must be the double quotient rounded to float, for any
// bits: subnormal, huge and infinite values included (NaNs only as NaNs).
TEST(DivideComponentsTest, EqualsTheDoubleQuotientRoundedToFloat) {
    std::mt19937 random(3);
    for (int i = 0; i < 1000000; ++i) {
        const uint32_t bits[6] = {uint32_t(random()), uint32_t(random()), uint32_t(random()),
                                  uint32_t(random()), uint32_t(random()), uint32_t(random())};
        float f[6];
        std::memcpy(f, bits, sizeof f);
        const Vec3 a{f[0], f[1], f[2]}, b{f[3], f[4], f[5]};
        const Vec3 q = zep::DivideComponents(a, b);
        const float expected[3] = {float(double(a.x) / double(b.x)), float(double(a.y) / double(b.y)),
                                   float(double(a.z) / double(b.z))};
        const float got[3] = {q.x, q.y, q.z};
        for (int k = 0; k < 3; ++k) {
            if (std::isnan(expected[k])) {
                ASSERT_TRUE(std::isnan(got[k]));
                continue;
            }
            ASSERT_EQ(std::memcmp(&got[k], &expected[k], sizeof(float)), 0) << i << ": " << f[k] << " / " << f[k + 3];
        }
    }
}

}  // namespace
}  // namespace zeptest
