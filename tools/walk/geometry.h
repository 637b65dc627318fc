// Double-precision host-side geometry for judging what the library did:
// the checks must not share the rounding of the code they check.
#pragma once

#include <algorithm>
#include <cmath>

namespace walk {

struct D3 {
    double x = 0, y = 0, z = 0;
};

inline D3 operator+(D3 a, D3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline D3 operator-(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline D3 operator*(D3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline D3 cross(D3 a, D3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(D3 a) { return std::sqrt(dot(a, a)); }
inline D3 scaled(D3 a, D3 by) { return {a.x * by.x, a.y * by.y, a.z * by.z}; }
inline D3 lowest(D3 a, D3 b) { return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)}; }
inline D3 highest(D3 a, D3 b) { return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}; }

// Corners as the library got them; the front is the side of (b - a) x (c - a).
struct Tri {
    D3 a, b, c;
    D3 normal() const { return cross(b - a, c - a); }
};

// Whether the segment p -> q goes through the triangle from its front to its
// back (touching the triangle's boundary counts).
bool crossesFrontToBack(D3 p, D3 q, const Tri& t);

// Where along origin + t * dir (t in [0, limit]) the ray meets the triangle,
// either side; a negative value when it does not.
double rayHit(D3 origin, D3 dir, double limit, const Tri& t);

// The point of the triangle nearest to p.
D3 closestPoint(D3 p, const Tri& t);

}  // namespace walk
