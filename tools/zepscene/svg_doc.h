// A minimal SVG writer: shapes appended in drawing order, attributes given
// as ready-made text.
#pragma once

#include <sstream>
#include <string>
#include <utility>

#include "json_text.h"
#include <vector>

namespace zepscene {

using Point = std::pair<double, double>;

class SvgDoc {
public:
    void line(Point a, Point b, const std::string& style);
    void circle(Point centre, double radius, const std::string& style);
    // The same with a title, which any browser shows on hover.
    void circle(Point centre, double radius, const std::string& style, const std::string& title);
    void line(Point a, Point b, const std::string& style, const std::string& title);
    void ellipse(Point centre, double rx, double ry, const std::string& style);
    void polygon(const std::vector<Point>& corners, const std::string& style);
    void text(Point at, const std::string& content, const std::string& style);
    void rect(Point corner, double width, double height, const std::string& style);
    void raw(const std::string& markup) { body_ << markup << '\n'; }

    std::string finish(double width, double height) const;

private:
    std::ostringstream body_;
};

std::string num(double value);  // two decimals at most, no trailing zeros

}  // namespace zepscene
