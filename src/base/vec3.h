// Vec3 and the vector operations of the narrow phase and the solver.
//
// Two naming styles meet here: the capitalised operations (Subtract, Dot,
// Normalize, ...) are the library's fixed vector operations, whose rounding
// every result depends on; the lower-case helpers (isZero, sumXYZ, ...) are
// the project's own conveniences around them.
//
// Precision rule: inside one operation every product, sum, quotient and square
// root is carried in double precision, and a component is rounded to float
// only when it is stored into a Vec3. Dot returns its double sum unrounded.
// Hit and miss decisions compare such values, so the rounding points are part
// of the results: the build must not contract a*b+c into a fused multiply-add
// nor use x87 extended precision.
#pragma once

#include <cmath>

namespace zep {

struct Vec3 {
    constexpr Vec3() = default;
    constexpr Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Three-term sums in a stated order. Double addition is not associative:
// which two terms are added first is part of every result such a sum
// decides, so each formula names the order it is written in, and writing a
// sum in another order (tidying one into Dot, say) changes bits.
inline double sumXYZ(double x, double y, double z) { return (x + y) + z; }
inline double sumZYX(double x, double y, double z) { return (z + y) + x; }
inline double sumYZX(double x, double y, double z) { return (y + z) + x; }
inline double sumZXY(double x, double y, double z) { return (z + x) + y; }

inline Vec3 makeVec3(float x, float y, float z) { return Vec3{x, y, z}; }

// Every component zero (either sign): what Normalize gives a vector too short
// to have a direction.
inline bool isZero(Vec3 v) { return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f; }

inline bool isFinite(Vec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// a - b.
inline Vec3 Subtract(Vec3 a, Vec3 b) {
    return Vec3{float(double(a.x) - double(b.x)), float(double(a.y) - double(b.y)),
                float(double(a.z) - double(b.z))};
}

// b + a.
inline Vec3 Add(Vec3 a, Vec3 b) {
    return Vec3{float(double(b.x) + double(a.x)), float(double(b.y) + double(a.y)),
                float(double(b.z) + double(a.z))};
}

// s·a; s keeps whatever precision the caller has, so a double travel scales
// the vector without being rounded first.
inline Vec3 Scale(Vec3 a, double s) {
    return Vec3{float(s * double(a.x)), float(s * double(a.y)), float(s * double(a.z))};
}

// Each quotient as the double quotient rounded to float. Dividing in float
// gives those very bits: a double has more than twice a float's 24 bits plus
// two, so rounding the quotient first to double and then to float never
// differs from rounding it to float at once (subnormal and infinite results
// included). The float division is the cheaper of the two.
inline Vec3 DivideComponents(Vec3 a, Vec3 b) { return Vec3{a.x / b.x, a.y / b.y, a.z / b.z}; }

inline Vec3 MultiplyComponents(Vec3 a, Vec3 b) {
    return Vec3{float(double(a.x) * double(b.x)), float(double(a.y) * double(b.y)),
                float(double(a.z) * double(b.z))};
}

// (a.z·b.z + a.y·b.y) + a.x·b.x in double, not rounded.
inline double Dot(Vec3 a, Vec3 b) {
    return sumZYX(double(a.x) * double(b.x), double(a.y) * double(b.y), double(a.z) * double(b.z));
}

// |v|² summed x, y, z, in double: the order of a sweep's and a contact's
// lengths, unlike Dot(v, v).
inline double squaredLengthXYZ(Vec3 v) {
    return sumXYZ(double(v.x) * double(v.x), double(v.y) * double(v.y), double(v.z) * double(v.z));
}

// Each component's two products and their difference are formed in double and
// rounded once.
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return Vec3{float(double(a.y) * double(b.z) - double(a.z) * double(b.y)),
                float(double(a.z) * double(b.x) - double(a.x) * double(b.z)),
                float(double(a.x) * double(b.y) - double(a.y) * double(b.x))};
}

// Squared length (y² + z²) + x², in double: Normalize's own order.
inline double normalizeSquaredLength(Vec3 v) {
    return sumYZX(double(v.x) * double(v.x), double(v.y) * double(v.y), double(v.z) * double(v.z));
}

// How far the squared length may stray from 1 and still count as unit: the
// float nearest to 0.00001. Renormalising such a vector would only add noise.
inline constexpr float kUnitTolerance = 0.00001f;
// Squared lengths at or below this float (bits 0x2EDBE6FE, just under 1e-10)
// have no usable direction and give the zero vector.
inline constexpr float kTooShortSquared = 9.9999994e-11f;

// Writes the unit vector of `in` into `out` (which may be `in`) and returns
// out. A vector already within 1 ± 0.00001 of unit squared length is copied as
// it is; one of squared length at most about 1e-10 becomes (0, 0, 0).
// Inline: the sweep calls it several times for every triangle it tests.
inline Vec3& Normalize(Vec3& out, const Vec3& in) {
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

// Value-returning convenience over Normalize.
inline Vec3 normalized(Vec3 in) {
    Vec3 out;
    Normalize(out, in);
    return out;
}

}  // namespace zep
