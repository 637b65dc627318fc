// A uniform grid over a level's triangles, so the host-side checks (crossings,
// overlaps, spawn rays) look at the few triangles near a point or segment
// instead of all of them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "geometry.h"

namespace walk {

class TriGrid {
public:
    explicit TriGrid(const std::vector<Tri>& triangles);

    // Calls visit(index) once for each triangle whose bounds meet the box.
    template <typename Visit>
    void forEachInBox(D3 lo, D3 hi, Visit&& visit) const {
        int from[3], to[3];
        if (!cellRange(lo, hi, from, to)) return;
        if (++stamp_ == 0) {  // wrapped: old marks would read as this query's
            std::fill(seen_.begin(), seen_.end(), 0u);
            stamp_ = 1;
        }
        for (int z = from[2]; z <= to[2]; ++z)
            for (int y = from[1]; y <= to[1]; ++y)
                for (int x = from[0]; x <= to[0]; ++x) {
                    const size_t cell = cellIndex(x, y, z);
                    for (uint32_t k = starts_[cell]; k < starts_[cell + 1]; ++k) {
                        const uint32_t tri = entries_[k];
                        if (seen_[tri] == stamp_) continue;
                        seen_[tri] = stamp_;
                        visit(tri);
                    }
                }
    }

    const std::vector<Tri>& triangles() const { return *triangles_; }

private:
    bool cellRange(D3 lo, D3 hi, int from[3], int to[3]) const;
    size_t cellIndex(int x, int y, int z) const { return (size_t(z) * dims_[1] + size_t(y)) * dims_[0] + size_t(x); }
    int clampCell(double coordinate, int axis) const;

    const std::vector<Tri>* triangles_;
    D3 origin_;
    double cell_ = 1;
    int dims_[3] = {1, 1, 1};
    std::vector<uint32_t> starts_;   // per cell, where its triangles begin in entries_
    std::vector<uint32_t> entries_;  // triangle indices, cell after cell
    mutable std::vector<uint32_t> seen_;
    mutable uint32_t stamp_ = 0;
};

}  // namespace walk
