#include "sweep/vec3.h"

#include <cmath>

namespace zep {

namespace {
// How far the squared length may stray from 1 and still count as unit: the
// float nearest to 0.00001. Renormalising such a vector would only add noise.
constexpr float kUnitTolerance = 0.00001f;
// Squared lengths at or below this float (bits 0x2EDBE6FE, just under 1e-10)
// have no usable direction and give the zero vector.
constexpr float kTooShortSquared = 9.9999994e-11f;
}  // namespace

Vec3& Normalize(Vec3& out, const Vec3& in) {
    const double lengthSquared = normalizeSquaredLength(in);
    const double offUnit = lengthSquared - 1.0;
    if (!(offUnit < -double(kUnitTolerance) || offUnit > double(kUnitTolerance))) {
        // Already unit (or NaN): keep every bit.
        if (&out != &in) out = in;
        return out;
    }
    if (lengthSquared <= double(kTooShortSquared)) {
        out = Vec3{0.0f, 0.0f, 0.0f};
        return out;
    }
    const double k = 1.0 / std::sqrt(lengthSquared);
    const Vec3 result{float(double(in.x) * k), float(double(in.y) * k), float(double(in.z) * k)};
    out = result;
    return out;
}

}  // namespace zep
