// The little vector arithmetic the scene runner needs on the host side.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace zepscene {

// A float as the 32-bit word the host passes it in (zepFloat() goes back).
inline int32_t wordOf(float value) {
    int32_t word;
    std::memcpy(&word, &value, sizeof word);
    return word;
}

struct V3 {
    float x = 0, y = 0, z = 0;
};

inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline bool operator==(V3 a, V3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

inline V3 cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline V3 unit(V3 a) {
    const float length = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    if (length == 0) return {};
    return {a.x / length, a.y / length, a.z / length};
}

// Three corners in the order they were given; the front is the side of
// (b - a) x (c - a), as the library sees it.
struct Triangle {
    V3 a, b, c;
};

inline V3 frontNormal(const Triangle& t) { return unit(cross(t.b - t.a, t.c - t.a)); }

}  // namespace zepscene
