#include "svg_labels.h"

namespace zepscene {

namespace {

// The page's sans-serif digits and small letters run about 0.6 of the font
// size wide; a label's box is measured with that, and a pixel of margin.
constexpr double kCharacterWidth = 0.6;
constexpr double kMargin = 1;

}  // namespace

bool LabelPlacer::inFrame(const Box& box) const {
    return box.left >= left_ && box.top >= top_ && box.right <= left_ + size_ && box.bottom <= top_ + size_;
}

bool LabelPlacer::clear(const Box& box) const {
    for (const Box& other : taken_)
        if (box.left < other.right && other.left < box.right && box.top < other.bottom && other.top < box.bottom)
            return false;
    return true;
}

std::optional<Point> LabelPlacer::place(Point anchor, const std::string& text, double fontSize, double gap,
                                        bool anySide) {
    const double width = double(text.size()) * fontSize * kCharacterWidth + 2 * kMargin;
    const double height = fontSize + 2 * kMargin;
    // Above right, as the labels always stood, unless that leaves the frame.
    // A pass number over another label is left out rather than moved to
    // another side: moved, a slow walker's numbers would close up again.
    const double lefts[] = {anchor.first + gap, anchor.first - gap - width};
    const double tops[] = {anchor.second - gap - height, anchor.second + gap};
    for (double top : tops)
        for (double left : lefts) {
            const Box box{left, top, left + width, top + height};
            if (!inFrame(box)) continue;
            if (!clear(box)) {
                if (anySide) continue;
                return std::nullopt;
            }
            taken_.push_back(box);
            return Point{left + kMargin, top + height - kMargin - fontSize * 0.2};
        }
    return std::nullopt;
}

}  // namespace zepscene
