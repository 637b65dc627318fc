#include "mesh_detail.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace zepscene {

namespace {

using CellKey = uint64_t;

CellKey cellOf(V3 p, float cell) {
    const auto index = [&](float v) { return uint64_t(int64_t(std::floor(v / cell)) & 0x1FFFFF); };
    return index(p.x) | index(p.y) << 21 | index(p.z) << 42;
}

// Cells (of size `cell`) that a mover's centre passed through, grown by one
// cell each way, so a triangle in one of them is within about two cells.
class PathCells {
public:
    PathCells(const Recording& recording, float cell) : cell_(cell) {
        for (const PassRecord& pass : recording.passes)
            for (const MoverFrame& m : pass.movers) markSegment(m.from, m.reached);
    }
    bool near(const Triangle& t) const {
        for (V3 p : {t.a, t.b, t.c, V3{(t.a.x + t.b.x + t.c.x) / 3, (t.a.y + t.b.y + t.c.y) / 3,
                                       (t.a.z + t.b.z + t.c.z) / 3}})
            if (cells_.count(cellOf(p, cell_))) return true;
        return false;
    }

private:
    void markSegment(V3 a, V3 b) {
        const V3 d = b - a;
        const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        const int steps = std::min(1000, int(length / cell_) + 1);
        for (int i = 0; i <= steps; ++i) {
            const float t = float(i) / float(steps);
            markAround({a.x + d.x * t, a.y + d.y * t, a.z + d.z * t});
        }
    }
    void markAround(V3 p) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dz = -1; dz <= 1; ++dz)
                    cells_.insert(cellOf({p.x + dx * cell_, p.y + dy * cell_, p.z + dz * cell_}, cell_));
    }
    float cell_;
    std::unordered_set<CellKey> cells_;
};

float largestRadius(const Recording& recording) {
    float largest = 0.5f;
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers) largest = std::max({largest, m.radii.x, m.radii.y, m.radii.z});
    return largest;
}

void append(std::vector<float>& out, const Triangle& t) {
    out.insert(out.end(), {t.a.x, t.a.y, t.a.z, t.b.x, t.b.y, t.b.z, t.c.x, t.c.y, t.c.z});
}

// Vertex clustering: every corner moves to the first corner seen in its
// cell; triangles left with two corners in one cell vanish, and so do
// repeats. Winding is kept, so back faces stay back faces.
std::vector<float> merged(const std::vector<Triangle>& triangles, float cell) {
    std::unordered_map<CellKey, V3> representative;
    std::set<std::array<CellKey, 3>> seen;
    std::vector<float> out;
    for (const Triangle& t : triangles) {
        const CellKey k[3] = {cellOf(t.a, cell), cellOf(t.b, cell), cellOf(t.c, cell)};
        if (k[0] == k[1] || k[1] == k[2] || k[0] == k[2]) continue;
        const int first = int(std::min_element(k, k + 3) - k);
        if (!seen.insert({k[first], k[(first + 1) % 3], k[(first + 2) % 3]}).second) continue;
        append(out, {representative.try_emplace(k[0], t.a).first->second,
                     representative.try_emplace(k[1], t.b).first->second,
                     representative.try_emplace(k[2], t.c).first->second});
    }
    return out;
}

float extent(const std::vector<Triangle>& triangles) {
    V3 low{1e30f, 1e30f, 1e30f}, high{-1e30f, -1e30f, -1e30f};
    for (const Triangle& t : triangles)
        for (V3 p : {t.a, t.b, t.c}) {
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
    return std::max({high.x - low.x, high.y - low.y, high.z - low.z, 1e-3f});
}

// The coarsest step that brings the rest under its budget, starting fine.
float mergeRest(std::vector<MeshDetail>& meshes, const std::vector<std::vector<Triangle>>& rest) {
    std::vector<Triangle> all;
    for (const auto& list : rest) all.insert(all.end(), list.begin(), list.end());
    if (all.empty()) return 0;
    float cell = extent(all) / 1024;
    for (;; cell *= 1.5f) {
        size_t total = 0;
        for (size_t i = 0; i < rest.size(); ++i) total += (meshes[i].coarse = merged(rest[i], cell)).size() / 9;
        if (total <= kCoarseBudget) return cell;
    }
}

}  // namespace

LevelDetail levelDetail(const Recording& recording) {
    LevelDetail level;
    std::set<std::pair<int32_t, int32_t>> hit;
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers)
            for (const ContactRow& c : m.contacts) hit.insert({c.object, c.triangle});
    for (const auto& [number, mesh] : recording.meshes) level.triangles += mesh.triangles.size();
    const bool reduce = level.triangles > kFullDetail;
    level.nearDistance = reduce ? 4 * largestRadius(recording) : 0;
    const PathCells paths(recording, std::max(level.nearDistance / 2, 1e-3f));
    std::vector<std::vector<Triangle>> rest;
    for (const auto& [number, mesh] : recording.meshes) {
        MeshDetail& detail = level.meshes.emplace_back();
        detail.object = number;
        std::vector<Triangle>& far = rest.emplace_back();
        int32_t index = 0;
        for (const Triangle& t : mesh.triangles) {
            ++index;
            const Triangle w{t.a + mesh.position, t.b + mesh.position, t.c + mesh.position};
            const bool full = !reduce || hit.count({number, index}) || (paths.near(w) && level.fullCount < kFullDetail);
            if (full) append(detail.full, w), ++level.fullCount;
            else far.push_back(w);
        }
    }
    level.cellSize = mergeRest(level.meshes, rest);
    return level;
}

}  // namespace zepscene
