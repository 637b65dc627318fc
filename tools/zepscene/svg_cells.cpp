#include "svg_cells.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <utility>

#include "svg_layers.h"

namespace zepscene {

CellRaster::CellRaster(const Panel& panel, double cellPixels)
    : panel_(panel),
      cell_(cellPixels),
      side_(int(std::ceil(panel.size() / cellPixels))),
      cells_(size_t(side_ * side_)),
      low_(std::numeric_limits<double>::infinity()),
      high_(-std::numeric_limits<double>::infinity()) {}

bool CellRaster::mark(double px, double py, double depth) {
    const double fx = (px - panel_.origin().first) / cell_, fy = (py - panel_.origin().second) / cell_;
    if (fx < 0 || fy < 0 || fx >= side_ || fy >= side_) return false;
    RasterCell& cell = cells_[size_t(int(fy) * side_ + int(fx))];
    if (cell.surface >= 0 && cell.depth >= depth) return true;
    cell = {surface_, depth};
    low_ = std::min(low_, depth);
    high_ = std::max(high_, depth);
    return true;
}

void CellRaster::markEdge(Point a, Point b, double da, double db) {
    const double length = std::hypot(b.first - a.first, b.second - a.second);
    // Half-cell steps reach every cell the edge crosses; the cap keeps a
    // face reaching far out of the panel from costing millions of steps.
    const int steps = std::min(4 * side_, int(length / (cell_ / 2)) + 1);
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        mark(a.first + (b.first - a.first) * t, a.second + (b.second - a.second) * t, da + (db - da) * t);
    }
}

void CellRaster::add(const Triangle& world) {
    const int axis = panel_.depthAxis();
    const V3 normal = frontNormal(world);
    surface_ = surfaceIndex(normal);
    const Point p[3] = {panel_.at(world.a), panel_.at(world.b), panel_.at(world.c)};
    const double d[3] = {component(world.a, axis), component(world.b, axis), component(world.c, axis)};
    const auto [ox, oy] = panel_.origin();
    const auto cellRange = [&](double low, double high, double origin) {
        return std::pair{std::max(0, int(std::floor((low - origin) / cell_ - 0.5))),
                         std::min(side_ - 1, int(std::ceil((high - origin) / cell_ - 0.5)))};
    };
    const auto [x0, x1] = cellRange(std::min({p[0].first, p[1].first, p[2].first}),
                                    std::max({p[0].first, p[1].first, p[2].first}), ox);
    const auto [y0, y1] = cellRange(std::min({p[0].second, p[1].second, p[2].second}),
                                    std::max({p[0].second, p[1].second, p[2].second}), oy);
    // Twice the signed page area; the page may mirror the world, so either sign.
    const double area = (p[1].first - p[0].first) * (p[2].second - p[0].second) -
                        (p[2].first - p[0].first) * (p[1].second - p[0].second);
    bool covered = false;
    if (std::abs(area) > 1e-9)
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double cx = ox + (x + 0.5) * cell_, cy = oy + (y + 0.5) * cell_;
                const auto weight = [&](int i, int j) {
                    return ((p[j].first - p[i].first) * (cy - p[i].second) -
                            (cx - p[i].first) * (p[j].second - p[i].second)) / area;
                };
                const double w0 = weight(1, 2), w1 = weight(2, 0), w2 = weight(0, 1);
                if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                covered = true;
                mark(cx, cy, w0 * d[0] + w1 * d[1] + w2 * d[2]);
            }
    const bool edgeOn = std::abs(component(normal, axis)) < 0.15;
    if (!covered || edgeOn)
        for (int i = 0; i < 3; ++i) markEdge(p[i], p[(i + 1) % 3], d[i], d[(i + 1) % 3]);
}

int CellRaster::shadeOf(const RasterCell& cell, int shades) const {
    if (!(high_ > low_)) return shades - 1;
    return std::clamp(int((cell.depth - low_) / (high_ - low_) * shades), 0, shades - 1);
}

void CellRaster::draw(SvgDoc& doc, int shades) const {
    std::map<std::pair<int, int>, std::string> paths;  // (surface, shade) -> path data
    const auto [ox, oy] = panel_.origin();
    for (int y = 0; y < side_; ++y)
        for (int x = 0; x < side_;) {
            const RasterCell& first = at(x, y);
            if (first.surface < 0) {
                ++x;
                continue;
            }
            const int shade = shadeOf(first, shades);
            int end = x + 1;
            while (end < side_ && at(end, y).surface == first.surface && shadeOf(at(end, y), shades) == shade) ++end;
            // A hair wider and taller than the cells, so no seam shows between runs.
            paths[{first.surface, shade}] += "M" + num(ox + x * cell_) + " " + num(oy + y * cell_) + "h" +
                                             num((end - x) * cell_ + 0.05) + "v" + num(cell_ + 0.05) + "h" +
                                             num(-(end - x) * cell_ - 0.05) + "z";
            x = end;
        }
    for (const auto& [key, data] : paths)
        doc.raw("<path class=\"c" + std::to_string(key.first) + "\" fill-opacity=\"" +
                num(0.3 + 0.6 * (key.second + 1) / shades) + "\" d=\"" + data + "\"/>");
}

}  // namespace zepscene
