// The whole picture's legend: a crowd's movers must stay on the page.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "zepscene/svg_scene.h"

namespace zepscene {
namespace {

Recording walkers(int count) {
    Recording recording;
    recording.script = "crowd.zep";
    PassRecord pass;
    for (int i = 1; i <= count; ++i) {
        MoverFrame m;
        m.object = i;
        m.radii = {0.5f, 0.5f, 0.5f};
        m.from = m.wanted = m.reached = {float(i), 1, 0};
        pass.movers.push_back(m);
    }
    recording.passes.push_back(pass);
    return recording;
}

double number(const std::string& svg, const std::string& pattern) {
    std::smatch match;
    EXPECT_TRUE(std::regex_search(svg, match, std::regex(pattern))) << pattern;
    return match.empty() ? 0 : std::stod(match[1]);
}

TEST(SvgSceneTest, ACrowdsLegendWrapsInsideThePage) {
    const std::string few = sceneSvg(walkers(1)), many = sceneSvg(walkers(20));
    const double width = number(many, "<svg [^>]*width=\"([0-9.]+)\"");
    // Twenty movers take rows of their own, and the page grows to hold them.
    EXPECT_GT(number(many, "<svg [^>]*height=\"([0-9.]+)\""), number(few, "<svg [^>]*height=\"([0-9.]+)\"") + 20);
    for (const char* label : {"mover 20", "body at start", "underside"}) {
        const double x = number(many, "<text x=\"([0-9.]+)\"[^>]*>" + std::string(label));
        EXPECT_LT(x + 7.2 * 10, width) << label;
    }
    // Each label once, on a row below the views.
    EXPECT_GT(number(many, "<text x=\"[0-9.]+\" y=\"([0-9.]+)\"[^>]*>underside"),
              number(many, "<text x=\"[0-9.]+\" y=\"([0-9.]+)\"[^>]*>mover 20"));
}

}  // namespace
}  // namespace zepscene
