#include "tri_grid.h"

#include <cmath>

namespace walk {

namespace {

// Cells per axis at most, so a huge sparse level does not take gigabytes.
constexpr int kMaxCellsPerAxis = 256;

void bounds(const Tri& t, D3& lo, D3& hi) {
    lo = lowest(lowest(t.a, t.b), t.c);
    hi = highest(highest(t.a, t.b), t.c);
}

}  // namespace

TriGrid::TriGrid(const std::vector<Tri>& triangles) : triangles_(&triangles), seen_(triangles.size(), 0) {
    D3 lo{1e300, 1e300, 1e300}, hi{-1e300, -1e300, -1e300};
    for (const Tri& t : triangles) {
        D3 a, b;
        bounds(t, a, b);
        lo = lowest(lo, a);
        hi = highest(hi, b);
    }
    if (triangles.empty()) lo = hi = {};
    const D3 size = hi - lo;
    // About two cells per triangle, but never cells so flat that a level
    // with one large floor becomes a sheet of millions.
    const double volume = std::max(size.x, 1e-9) * std::max(size.y, 1e-9) * std::max(size.z, 1e-9);
    cell_ = std::cbrt(volume / (2.0 * double(std::max<size_t>(triangles.size(), 1))));
    cell_ = std::max(cell_, std::max({size.x, size.y, size.z}) / kMaxCellsPerAxis);
    if (!(cell_ > 0)) cell_ = 1;
    origin_ = lo;
    const double extent[3] = {size.x, size.y, size.z};
    for (int axis = 0; axis < 3; ++axis)
        dims_[axis] = std::clamp(int(extent[axis] / cell_) + 1, 1, kMaxCellsPerAxis);

    // Counting pass, then filling pass (compressed rows).
    starts_.assign(size_t(dims_[0]) * dims_[1] * dims_[2] + 1, 0);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<uint32_t> fill;
        if (pass == 1) {
            for (size_t i = 1; i < starts_.size(); ++i) starts_[i] += starts_[i - 1];
            entries_.resize(starts_.back());
            fill.assign(starts_.begin(), starts_.end() - 1);
        }
        for (uint32_t index = 0; index < triangles.size(); ++index) {
            D3 a, b;
            bounds(triangles[index], a, b);
            int from[3], to[3];
            cellRange(a, b, from, to);
            for (int z = from[2]; z <= to[2]; ++z)
                for (int y = from[1]; y <= to[1]; ++y)
                    for (int x = from[0]; x <= to[0]; ++x) {
                        const size_t cell = cellIndex(x, y, z);
                        if (pass == 0) ++starts_[cell + 1];
                        else entries_[fill[cell]++] = index;
                    }
        }
    }
}

int TriGrid::clampCell(double coordinate, int axis) const {
    const double offset = axis == 0 ? origin_.x : axis == 1 ? origin_.y : origin_.z;
    const double cell = std::floor((coordinate - offset) / cell_);
    return int(std::clamp(cell, 0.0, double(dims_[axis] - 1)));
}

bool TriGrid::cellRange(D3 lo, D3 hi, int from[3], int to[3]) const {
    const double los[3] = {lo.x, lo.y, lo.z}, his[3] = {hi.x, hi.y, hi.z};
    const double origin[3] = {origin_.x, origin_.y, origin_.z};
    for (int axis = 0; axis < 3; ++axis) {
        // Entirely outside the grid: nothing there (NaN lands here too).
        if (!(his[axis] >= origin[axis] && los[axis] <= origin[axis] + dims_[axis] * cell_)) return false;
        from[axis] = clampCell(los[axis], axis);
        to[axis] = clampCell(his[axis], axis);
    }
    return true;
}

}  // namespace walk
