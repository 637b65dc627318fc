#include "svg_panel.h"

#include <cmath>

namespace zepscene {

namespace {

const char* const kAxisNames[3] = {"x", "y", "z"};

// 1, 2 or 5 times a power of ten, giving about six to ten grid lines.
double niceStep(double span) {
    const double rough = span / 8;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (rough <= factor * power) return factor * power;
    return 10 * power;
}

}  // namespace

double component(V3 value, int axis) { return axis == 0 ? value.x : axis == 1 ? value.y : value.z; }

Panel::Panel(ViewAxes axes, Range u, Range v, Point origin, double size)
    : axes_(std::move(axes)), u_(u), v_(v), origin_(origin), size_(size) {}

Point Panel::at(V3 world) const {
    const double scale = size_ / u_.span();
    const double x = origin_.first + (component(world, axes_.u) - u_.low) * scale;
    const double along = (component(world, axes_.v) - v_.low) * scale;
    return {x, axes_.vDown ? origin_.second + along : origin_.second + size_ - along};
}

Point Panel::direction(V3 world) const {
    const double v = component(world, axes_.v);
    return {component(world, axes_.u), axes_.vDown ? v : -v};
}

void Panel::drawFrame(SvgDoc& doc) const {
    const auto [x, y] = origin_;
    doc.text({x, y - 12}, axes_.title, "font-size=\"15\" font-weight=\"bold\"");
    doc.polygon({{x, y}, {x + size_, y}, {x + size_, y + size_}, {x, y + size_}}, "fill=\"#fafafa\" stroke=\"none\"");
    drawTicks(doc, niceStep(u_.span()));
    const std::string u = kAxisNames[axes_.u], v = kAxisNames[axes_.v];
    doc.text({x + size_, y + size_ + 36}, u + " \u2192", "text-anchor=\"end\" font-weight=\"bold\"");
    if (axes_.vDown) doc.text({x - 8, y + size_ + 36}, v + " \u2193", "text-anchor=\"end\" font-weight=\"bold\"");
    else doc.text({x - 8, y - 12}, v + " \u2191", "text-anchor=\"end\" font-weight=\"bold\"");
}

void Panel::drawTicks(SvgDoc& doc, double step) const {
    const auto [x, y] = origin_;
    const std::string grid = "stroke=\"#e2e2e2\" stroke-width=\"1\"";
    for (long k = long(std::ceil(u_.low / step)); k * step <= u_.high; ++k) {
        const double t = k * step;
        const double px = x + (t - u_.low) * size_ / u_.span();
        doc.line({px, y}, {px, y + size_}, grid);
        doc.text({px, y + size_ + 16}, num(t), "text-anchor=\"middle\" fill=\"#555\" font-size=\"11\"");
    }
    for (long k = long(std::ceil(v_.low / step)); k * step <= v_.high; ++k) {
        const double t = k * step;
        const double along = (t - v_.low) * size_ / v_.span();
        const double py = axes_.vDown ? y + along : y + size_ - along;
        doc.line({x, py}, {x + size_, py}, grid);
        doc.text({x - 6, py + 4}, num(t), "text-anchor=\"end\" fill=\"#555\" font-size=\"11\"");
    }
}

void Panel::beginClip(SvgDoc& doc) const {
    const auto [x, y] = origin_;
    doc.raw("<clipPath id=\"" + axes_.id + "\"><rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" +
            num(size_) + "\" height=\"" + num(size_) + "\"/></clipPath>");
    doc.raw("<g clip-path=\"url(#" + axes_.id + ")\">");
}

void Panel::endClip(SvgDoc& doc) const { doc.raw("</g>"); }

void Panel::drawBorder(SvgDoc& doc) const {
    const auto [x, y] = origin_;
    doc.polygon({{x, y}, {x + size_, y}, {x + size_, y + size_}, {x, y + size_}},
                "fill=\"none\" stroke=\"#888\" stroke-width=\"1\"");
}

}  // namespace zepscene
