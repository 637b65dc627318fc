// One view of the scene in the picture: a square plot with equal scale on
// both axes, a grid with labelled ticks and a clip region.
#pragma once

#include <string>

#include "svg_doc.h"
#include "vec.h"

namespace zepscene {

struct Range {
    double low = 0, high = 0;
    double span() const { return high - low; }
    double middle() const { return (low + high) / 2; }
};

// Which world axes a panel shows (0 x, 1 y, 2 z), and whether v grows down
// the page (the top view, seen from above with x to the right).
struct ViewAxes {
    std::string id, title;
    int u = 0, v = 1;
    bool vDown = false;
};

double component(V3 value, int axis);

class Panel {
public:
    Panel(ViewAxes axes, Range u, Range v, Point origin, double size);

    Point at(V3 world) const;
    // A world direction as a page direction (unit length stays unit length).
    Point direction(V3 world) const;
    const ViewAxes& axes() const { return axes_; }
    // The axis the panel looks along: y for the top view, z for the side view.
    int depthAxis() const { return 3 - axes_.u - axes_.v; }
    // The plot area on the page.
    Point origin() const { return origin_; }
    double size() const { return size_; }

    void drawFrame(SvgDoc& doc) const;  // background, grid, ticks, axis names
    void beginClip(SvgDoc& doc) const;
    void endClip(SvgDoc& doc) const;
    void drawBorder(SvgDoc& doc) const;

private:
    void drawTicks(SvgDoc& doc, double step) const;

    ViewAxes axes_;
    Range u_, v_;
    Point origin_;
    double size_;
};

}  // namespace zepscene
