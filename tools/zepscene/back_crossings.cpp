#include "back_crossings.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace zepscene {

namespace {

struct D3 {
    double x, y, z;
};
D3 wide(V3 v) { return {v.x, v.y, v.z}; }
D3 operator-(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3 cross(D3 a, D3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

struct Segment {
    D3 from, to;
    D3 low, high;  // its box
};

// In double, as the library's own check: from behind or on the plane to in
// front of it, the crossing point inside the triangle or on its edges.
bool crossesFromBehind(const Segment& s, D3 a, D3 b, D3 c) {
    const D3 normal = cross(b - a, c - a);
    const double before = dot(normal, s.from - a), after = dot(normal, s.to - a);
    if (!(before <= 0 && after > 0)) return false;
    const double t = before / (before - after);
    const D3 p{s.from.x + (s.to.x - s.from.x) * t, s.from.y + (s.to.y - s.from.y) * t,
               s.from.z + (s.to.z - s.from.z) * t};
    return dot(cross(b - a, p - a), normal) >= 0 && dot(cross(c - b, p - b), normal) >= 0 &&
           dot(cross(a - c, p - c), normal) >= 0;
}

bool boxesMeet(const Segment& s, D3 a, D3 b, D3 c) {
    return std::max({a.x, b.x, c.x}) >= s.low.x && std::min({a.x, b.x, c.x}) <= s.high.x &&
           std::max({a.y, b.y, c.y}) >= s.low.y && std::min({a.y, b.y, c.y}) <= s.high.y &&
           std::max({a.z, b.z, c.z}) >= s.low.z && std::min({a.z, b.z, c.z}) <= s.high.z;
}

// Every sweep that moved, each once.
std::vector<Segment> sweeps(const Recording& recording) {
    std::set<std::tuple<float, float, float, float, float, float>> seen;
    std::vector<Segment> segments;
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers) {
            if (m.from == m.reached) continue;
            if (!seen.insert({m.from.x, m.from.y, m.from.z, m.reached.x, m.reached.y, m.reached.z}).second) continue;
            const D3 from = wide(m.from), to = wide(m.reached);
            segments.push_back({from, to, {std::min(from.x, to.x), std::min(from.y, to.y), std::min(from.z, to.z)},
                                {std::max(from.x, to.x), std::max(from.y, to.y), std::max(from.z, to.z)}});
        }
    return segments;
}

}  // namespace

std::map<int32_t, std::vector<Triangle>> trianglesCrossedFromBehind(const Recording& recording) {
    const std::vector<Segment> segments = sweeps(recording);
    std::map<int32_t, std::vector<Triangle>> crossed;
    uint64_t tests = 0;
    for (const auto& [object, mesh] : recording.meshes)
        for (const Triangle& t : mesh.triangles) {
            if (tests >= kCrossingTestBudget) return crossed;
            tests += segments.size();
            const Triangle world{t.a + mesh.position, t.b + mesh.position, t.c + mesh.position};
            const D3 a = wide(world.a), b = wide(world.b), c = wide(world.c);
            for (const Segment& s : segments)
                if (boxesMeet(s, a, b, c) && crossesFromBehind(s, a, b, c)) {
                    crossed[object].push_back(world);
                    break;
                }
        }
    return crossed;
}

}  // namespace zepscene
