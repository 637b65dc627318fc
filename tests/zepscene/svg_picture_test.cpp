// What zepscene's picture draws of a level and a path: a large level as
// cells with only the faces met on top, a small one face by face, a ring only
// where a mover truly stayed put, pass numbers that do not pile up, and a
// legend that keeps a crowd's movers on the page. The cells first: if a cell
// took the wrong face, or none, a large level would read wrong under the
// movers' paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

#include "zepscene/back_crossings.h"
#include "zepscene/svg_cells.h"
#include "zepscene/svg_layers.h"
#include "zepscene/svg_scene.h"

namespace zepscene {
namespace {

// A 100 px top view of x and z in [0, 10]: with 10 px cells, cell (i, j)
// lies over x in [i, i + 1] and z in [j, j + 1].
Panel topView() { return Panel({"top", "", 0, 2, true}, {0, 10}, {0, 10}, {0, 0}, 100); }

// n x n quads over x and z in [0, 10] at y = 0, facing up.
MeshSnapshot floorGrid(int n) {
    MeshSnapshot mesh;
    const float step = 10.0f / float(n);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const V3 a{i * step, 0, j * step}, b{i * step, 0, (j + 1) * step}, c{(i + 1) * step, 0, j * step},
                d{(i + 1) * step, 0, (j + 1) * step};
            mesh.triangles.push_back({a, b, c});
            mesh.triangles.push_back({c, b, d});
        }
    return mesh;
}

MoverFrame frameAt(V3 at, float radius) {
    MoverFrame m;
    m.object = 1;
    m.radii = {radius, radius, radius};
    m.from = m.wanted = m.reached = at;
    return m;
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// A floor at height y over x in [x0, x1] and z in [0, 10], facing up.
void addFloor(CellRaster& raster, float x0, float x1, float y) {
    raster.add({{x0, y, 0}, {x0, y, 10}, {x1, y, 0}});
    raster.add({{x1, y, 0}, {x0, y, 10}, {x1, y, 10}});
}

class SvgCellsTest : public ::testing::Test {
protected:
    const Panel panel = topView();
    CellRaster raster{panel, 10};
};

TEST_F(SvgCellsTest, AFloorFillsTheCellsUnderItAndNoOthers) {
    addFloor(raster, 0, 5, 0);
    ASSERT_EQ(raster.side(), 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(raster.at(x, y).surface, x < 5 ? 0 : -1) << x << ", " << y;
}

TEST_F(SvgCellsTest, TheHigherFloorWinsWhicheverComesFirst) {
    CellRaster highFirst(panel, 10);
    addFloor(raster, 0, 10, 1);
    addFloor(raster, 0, 5, 4);
    addFloor(highFirst, 0, 5, 4);
    addFloor(highFirst, 0, 10, 1);
    for (const CellRaster* drawn : {&raster, &highFirst}) {
        EXPECT_FLOAT_EQ(drawn->at(2, 3).depth, 4);
        EXPECT_FLOAT_EQ(drawn->at(7, 3).depth, 1);
        EXPECT_EQ(drawn->shadeOf(drawn->at(2, 3), 6), 5);  // the nearest: strongest
        EXPECT_EQ(drawn->shadeOf(drawn->at(7, 3), 6), 0);
    }
}

TEST_F(SvgCellsTest, ASlopeTakesItsHeightAtEachCellCentre) {
    // Rising along x from y = 0 to y = 10: a slope (normal y about 0.7).
    raster.add({{0, 0, 0}, {0, 0, 10}, {10, 10, 0}});
    raster.add({{10, 10, 0}, {0, 0, 10}, {10, 10, 10}});
    EXPECT_EQ(raster.at(3, 6).surface, 1);
    EXPECT_NEAR(raster.at(3, 6).depth, 3.5, 1e-4);
    EXPECT_NEAR(raster.at(8, 1).depth, 8.5, 1e-4);
}

TEST_F(SvgCellsTest, AWallSeenEdgeOnStillMarksItsLine) {
    // Upright at z = 5.5 from x = 2.5 to 7.5: no cell centre lies on it.
    raster.add({{2.5f, 0, 5.5f}, {7.5f, 0, 5.5f}, {2.5f, 3, 5.5f}});
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(raster.at(x, 5).surface, x >= 2 && x <= 7 ? 2 : -1) << x;
        EXPECT_EQ(raster.at(x, 4).surface, -1) << x;
    }
}

TEST_F(SvgCellsTest, AFaceSmallerThanACellKeepsItsCell) {
    raster.add({{6.1f, 2, 3.1f}, {6.1f, 2, 3.3f}, {6.3f, 2, 3.1f}});
    EXPECT_EQ(raster.at(6, 3).surface, 0);
    EXPECT_EQ(raster.at(5, 3).surface, -1);
}

TEST_F(SvgCellsTest, AFaceReachingOutOfThePanelMarksOnlyTheCellsInIt) {
    addFloor(raster, -1000, 1000, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(raster.at(x, y).surface, 0);
}

TEST_F(SvgCellsTest, TheSideViewKeepsTheNearerFace) {
    // From +z: x to the right, y up; the face with the larger z is nearer.
    const Panel sideView({"side", "", 0, 1, false}, {0, 10}, {0, 10}, {0, 0}, 100);
    CellRaster side(sideView, 10);
    side.add({{0, 0, 2}, {10, 0, 2}, {0, 10, 2}});  // facing +z, the viewer
    side.add({{0, 0, 7}, {10, 0, 7}, {0, 10, 7}});
    // Page row 9 is y in [0, 1].
    EXPECT_EQ(side.at(1, 9).surface, 2);
    EXPECT_FLOAT_EQ(side.at(1, 9).depth, 7);
}

TEST_F(SvgCellsTest, ARowOfLikeCellsIsOneRectangle) {
    addFloor(raster, 0, 10, 0);
    SvgDoc doc;
    raster.draw(doc, 6);
    const std::string svg = doc.finish(100, 100);
    EXPECT_EQ(count(svg, "<path "), 1);
    EXPECT_EQ(count(svg, "M"), 10);  // one run for each of the ten rows
    EXPECT_EQ(count(svg, "class=\"c0\""), 1);
    EXPECT_NE(svg.find("M0 0h100.05v10.05"), std::string::npos);
}

TEST_F(SvgCellsTest, EachSurfaceAndShadeHasItsOwnPath) {
    addFloor(raster, 0, 5, 0);
    addFloor(raster, 5, 10, 3);
    raster.add({{2.5f, 0, 5.5f}, {7.5f, 0, 5.5f}, {2.5f, 3, 5.5f}});  // a wall across both
    EXPECT_EQ(raster.at(3, 5).surface, 2);  // above the low floor
    EXPECT_EQ(raster.at(6, 5).surface, 0);  // below the high one
    SvgDoc doc;
    raster.draw(doc, 6);
    const std::string svg = doc.finish(100, 100);
    EXPECT_EQ(count(svg, "<path class=\"c0\""), 2);
    EXPECT_EQ(count(svg, "<path class=\"c0\" fill-opacity=\"0.4\""), 1);  // the low floor, faintest
    EXPECT_EQ(count(svg, "<path class=\"c0\" fill-opacity=\"0.9\""), 1);  // the high floor, strongest
    EXPECT_GE(count(svg, "<path class=\"c2\""), 1);
}

TEST(SvgLayersTest, ALargeLevelIsCellsWithTheFacesMetOnTop) {
    Recording recording;
    recording.meshes[2] = floorGrid(40);  // 3200 faces
    MoverFrame m = frameAt({5, 0.5f, 5}, 0.5f);
    m.contacts.push_back({{5, 0, 5}, {0, 1, 0}, 2, 7});
    recording.passes.push_back({1, 0, 0, {m}});
    SvgDoc doc;
    const MeshDrawing drawing = drawMeshes(doc, topView(), recording);
    EXPECT_EQ(drawing.drawn, 1u);
    EXPECT_EQ(drawing.coarse, 3199u);
    EXPECT_EQ(drawing.cellPixels, 3);
    const std::string svg = doc.finish(100, 100);
    EXPECT_EQ(count(svg, "<polygon "), 1);
    EXPECT_EQ(count(svg, "class=\"t0\""), 1);  // outlined, though a few pixels wide
    EXPECT_EQ(count(svg, "<path class=\"c0\""), 1);
}

TEST(SvgLayersTest, ASmallLevelIsDrawnFaceByFace) {
    Recording recording;
    recording.meshes[2] = floorGrid(10);  // 200 faces
    recording.passes.push_back({1, 0, 0, {frameAt({5, 0.5f, 5}, 0.5f)}});
    SvgDoc doc;
    const MeshDrawing drawing = drawMeshes(doc, topView(), recording);
    EXPECT_EQ(drawing.drawn, 200u);
    EXPECT_EQ(drawing.coarse, 0u);
    EXPECT_EQ(drawing.cellPixels, 0);
    const std::string svg = doc.finish(100, 100);
    EXPECT_EQ(count(svg, "<polygon "), 200);
    EXPECT_EQ(count(svg, "<path "), 0);
}

std::string pathsOf(const std::vector<V3>& spots) {
    Recording recording;
    for (V3 at : spots) recording.passes.push_back({1, 0, 0, {frameAt(at, 0.5f)}});
    SvgDoc doc;
    drawPaths(doc, topView(), recording);
    return doc.finish(100, 100);
}

TEST(SvgLayersTest, AMoverThatStaysPutGetsARing) {
    const std::string svg = pathsOf({{2, 0.5f, 2}, {3, 0.5f, 2}, {3, 0.5f, 2}, {3, 0.5f, 2}, {3, 0.5f, 2}});
    EXPECT_EQ(count(svg, ">stayed 4<"), 1);
}

TEST(SvgLayersTest, SlowStepsAreNotAStay) {
    // 0.02 a pass is a fifth of a pixel here, yet the mover walks on.
    std::vector<V3> spots;
    for (int i = 0; i < 10; ++i) spots.push_back({2 + 0.02f * float(i), 0.5f, 2});
    EXPECT_EQ(count(pathsOf(spots), "stayed"), 0);
}

TEST(SvgLayersTest, MovingAlongTheViewIsNotAStay) {
    // Straight down at the top view: every dot on one spot of the page.
    std::vector<V3> spots;
    for (int i = 0; i < 6; ++i) spots.push_back({2, 5 - 0.5f * float(i), 2});
    EXPECT_EQ(count(pathsOf(spots), "stayed"), 0);
}

TEST(SvgLayersTest, ASlowWalkersNumbersDoNotPileUp) {
    // 0.05 a pass: a hundred passes span 50 px, so numbers 16 px apart at most
    // three or four in all, and the final pass's always.
    std::vector<V3> spots;
    for (int i = 0; i < 100; ++i) spots.push_back({2 + 0.05f * float(i), 0.5f, 2});
    const std::string svg = pathsOf(spots);
    EXPECT_EQ(count(svg, "font-size=\"9\">100<"), 1);
    EXPECT_EQ(count(svg, "font-size=\"9\">10<"), 1);  // the first due, with nothing before it
    EXPECT_EQ(count(svg, "font-size=\"9\">20<"), 0);  // 5 px from it
    EXPECT_EQ(count(svg, "font-size=\"9\">90<"), 0);  // 5 px from the end's
    EXPECT_LE(count(svg, "font-size=\"9\">"), 4);
}

struct Label {
    double left, top, right, bottom;
    std::string text;
};

// Every text of the paths layer with the box it takes on the page (digits
// and small letters about 0.6 of the font size wide).
std::vector<Label> labelsOf(const std::string& svg) {
    std::vector<Label> labels;
    const std::regex text("<text x=\"([-0-9.]+)\" y=\"([-0-9.]+)\"([^>]*)>([^<]*)<");
    const std::regex size("font-size=\"([0-9.]+)\"");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator(); ++it) {
        const std::string style = (*it)[3];
        std::smatch found;
        const double fontSize = std::regex_search(style, found, size) ? std::stod(found[1]) : 13;
        const double x = std::stod((*it)[1]), y = std::stod((*it)[2]);
        const std::string content = (*it)[4];
        labels.push_back({x, y - 0.8 * fontSize, x + 0.6 * fontSize * double(content.size()), y + 0.2 * fontSize, content});
    }
    return labels;
}

// Along the frame's right edge, a stay at its end, and back along the same
// line: the labels of the way back fall on those of the way out, and every
// label above right of its point would run out of the frame.
TEST(SvgLayersTest, LabelsStayInTheFrameAndDoNotOverprint) {
    std::vector<V3> spots;
    for (int i = 0; i < 20; ++i) spots.push_back({9.6f, 0.5f, 1 + 0.45f * float(i)});
    for (int i = 0; i < 3; ++i) spots.push_back(spots.back());
    for (int i = 19; i >= 0; --i) spots.push_back({9.65f, 0.5f, 1 + 0.45f * float(i)});
    const std::vector<Label> labels = labelsOf(pathsOf(spots));
    ASSERT_GE(labels.size(), 4u);
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const Label& l) { return l.text == "stayed 4"; }));
    for (size_t i = 0; i < labels.size(); ++i) {
        const Label& a = labels[i];
        EXPECT_TRUE(a.left >= 0 && a.right <= 100 && a.top >= 0 && a.bottom <= 100) << a.text << " leaves the frame";
        for (size_t j = i + 1; j < labels.size(); ++j) {
            const Label& b = labels[j];
            EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                << "\"" << a.text << "\" over \"" << b.text << "\"";
        }
    }
}

// ---- The page's marks: triangles gone through from behind

TEST(BackCrossingsTest, OnlyTrianglesGoneThroughFromBehind) {
    Recording recording;
    const Triangle up{{0, 0, 0}, {0, 0, 10}, {10, 0, 0}};        // faces up
    const Triangle down{{20, 0, 0}, {30, 0, 0}, {20, 0, 10}};    // faces down: wound the wrong way
    recording.meshes[2] = MeshSnapshot{{0, 0, 0}, {up, down}};
    recording.meshes[3] = MeshSnapshot{{0, 5, 0}, {up}};          // the same floor, 5 higher
    MoverFrame onSound = frameAt({2, 0.5f, 2}, 0.5f), throughWrong = frameAt({22, -3, 2}, 0.5f),
               upThroughSound = frameAt({2, 7, 2}, 0.5f);
    throughWrong.from = {22, 3, 2};    // fell through the downward floor from above: its back
    onSound.from = {2, 3, 2};          // met the floor facing up from above
    upThroughSound.from = {2, 4, 2};   // rose through mesh 3's floor from below: its back
    recording.passes.push_back({1, 0, 0, {onSound, throughWrong}});
    recording.passes.push_back({2, 0, 0, {upThroughSound}});
    const auto crossed = trianglesCrossedFromBehind(recording);
    ASSERT_EQ(crossed.size(), 2u);
    ASSERT_EQ(crossed.at(2).size(), 1u);
    EXPECT_EQ(crossed.at(2)[0].a.x, 20);  // the wrong floor, not the sound one beside it
    ASSERT_EQ(crossed.at(3).size(), 1u);
    EXPECT_EQ(crossed.at(3)[0].a.y, 5);  // in world corners
}

// ---- The whole picture

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
