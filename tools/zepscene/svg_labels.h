// Where the picture's small labels go (pass numbers, "stayed N", mover
// numbers): each beside its point, inside the panel's frame and clear of
// every label placed before it, or not at all. A walker that comes back
// along its path would otherwise print "10" against "40", and a label at
// the frame's edge would be cut off by the clip.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "svg_doc.h"

namespace zepscene {

class LabelPlacer {
public:
    // The frame: the panel's plot area, from its top-left corner.
    LabelPlacer(Point corner, double size) : left_(corner.first), top_(corner.second), size_(size) {}

    // The baseline start of a label of `text` in `fontSize` beside `anchor`,
    // `gap` away from it, now taken: on the first side (above right, above
    // left, below right, below left) inside the frame. When that side is over
    // a label already placed, the next clear side if `anySide`, else none.
    std::optional<Point> place(Point anchor, const std::string& text, double fontSize, double gap,
                               bool anySide = false);

private:
    struct Box {
        double left, top, right, bottom;
    };
    bool inFrame(const Box& box) const;
    bool clear(const Box& box) const;

    double left_, top_, size_;
    std::vector<Box> taken_;
};

}  // namespace zepscene
