// A view's faces as a raster of square cells a few pixels wide. Drawn one by
// one, the faces of a large level become a wireframe that hides the paths;
// as cells at the view's own scale the level reads as a shaded map under
// them. Each cell takes the face nearest the viewer over its centre (the
// highest, in the top view) and is filled in the legend's colour for the way
// that face looks, the nearer the stronger.
#pragma once

#include <vector>

#include "svg_doc.h"
#include "svg_panel.h"
#include "vec.h"

namespace zepscene {

struct RasterCell {
    int surface = -1;  // surfaceIndex() of the face over the cell, -1 for none
    double depth = 0;  // towards the viewer, where that face is over the centre
};

class CellRaster {
public:
    CellRaster(const Panel& panel, double cellPixels);

    // Marks the cells the face covers where it is nearer than what they hold.
    // A face too small or too steep to cover a cell centre marks the cells
    // along its edges, so thin walls and tiny faces do not vanish.
    void add(const Triangle& world);

    int side() const { return side_; }  // cells along each edge of the panel
    double cellPixels() const { return cell_; }
    const RasterCell& at(int x, int y) const { return cells_[size_t(y * side_ + x)]; }
    // 0 for the farthest filled cell, shades - 1 for the nearest.
    int shadeOf(const RasterCell& cell, int shades) const;

    // One path per colour and shade; a row's run of like cells is one rectangle.
    void draw(SvgDoc& doc, int shades) const;

private:
    bool mark(double px, double py, double depth);  // page point; false outside the panel
    void markEdge(Point a, Point b, double da, double db);

    const Panel& panel_;
    double cell_;
    int side_;
    int surface_ = 0;  // of the face being added
    std::vector<RasterCell> cells_;
    double low_, high_;  // depths of the filled cells
};

}  // namespace zepscene
