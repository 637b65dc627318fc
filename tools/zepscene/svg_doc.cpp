#include "svg_doc.h"

#include <cmath>
#include <cstdio>

namespace zepscene {

std::string num(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::round(value * 100) / 100 + 0.0);
    std::string out = text;
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out == "-0" ? "0" : out;
}

void SvgDoc::line(Point a, Point b, const std::string& style) {
    body_ << "<line x1=\"" << num(a.first) << "\" y1=\"" << num(a.second) << "\" x2=\"" << num(b.first)
          << "\" y2=\"" << num(b.second) << "\" " << style << "/>\n";
}

void SvgDoc::circle(Point centre, double radius, const std::string& style) {
    body_ << "<circle cx=\"" << num(centre.first) << "\" cy=\"" << num(centre.second) << "\" r=\"" << num(radius)
          << "\" " << style << "/>\n";
}

void SvgDoc::circle(Point centre, double radius, const std::string& style, const std::string& title) {
    body_ << "<circle cx=\"" << num(centre.first) << "\" cy=\"" << num(centre.second) << "\" r=\"" << num(radius)
          << "\" " << style << "><title>" << escapeXml(title) << "</title></circle>\n";
}

void SvgDoc::line(Point a, Point b, const std::string& style, const std::string& title) {
    body_ << "<line x1=\"" << num(a.first) << "\" y1=\"" << num(a.second) << "\" x2=\"" << num(b.first)
          << "\" y2=\"" << num(b.second) << "\" " << style << "><title>" << escapeXml(title) << "</title></line>\n";
}

void SvgDoc::ellipse(Point centre, double rx, double ry, const std::string& style) {
    body_ << "<ellipse cx=\"" << num(centre.first) << "\" cy=\"" << num(centre.second) << "\" rx=\"" << num(rx)
          << "\" ry=\"" << num(ry) << "\" " << style << "/>\n";
}

void SvgDoc::polygon(const std::vector<Point>& corners, const std::string& style) {
    body_ << "<polygon points=\"";
    for (const Point& p : corners) body_ << num(p.first) << ',' << num(p.second) << ' ';
    body_ << "\" " << style << "/>\n";
}

void SvgDoc::rect(Point corner, double width, double height, const std::string& style) {
    body_ << "<rect x=\"" << num(corner.first) << "\" y=\"" << num(corner.second) << "\" width=\"" << num(width)
          << "\" height=\"" << num(height) << "\" " << style << "/>\n";
}

void SvgDoc::text(Point at, const std::string& content, const std::string& style) {
    body_ << "<text x=\"" << num(at.first) << "\" y=\"" << num(at.second) << "\" " << style << '>'
          << escapeXml(content) << "</text>\n";
}

std::string SvgDoc::finish(double width, double height) const {
    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << num(width) << "\" height=\"" << num(height)
        << "\" viewBox=\"0 0 " << num(width) << ' ' << num(height)
        << "\" font-family=\"DejaVu Sans, Arial, sans-serif\" font-size=\"13\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << body_.str() << "</svg>\n";
    return out.str();
}

}  // namespace zepscene
