// The level's cells in zepscene's picture: if a cell took the wrong face, or
// none, a large level would read wrong under the movers' paths.
#include <gtest/gtest.h>

#include <string>

#include "zepscene/svg_cells.h"

namespace zepscene {
namespace {

// A 100 px top view of x and z in [0, 10]: with 10 px cells, cell (i, j)
// lies over x in [i, i + 1] and z in [j, j + 1].
Panel topView() { return Panel({"top", "", 0, 2, true}, {0, 10}, {0, 10}, {0, 0}, 100); }

// A floor at height y over x in [x0, x1] and z in [0, 10], facing up.
void addFloor(CellRaster& raster, float x0, float x1, float y) {
    raster.add({{x0, y, 0}, {x0, y, 10}, {x1, y, 0}});
    raster.add({{x1, y, 0}, {x0, y, 10}, {x1, y, 10}});
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(SvgCellsTest, AFloorFillsTheCellsUnderItAndNoOthers) {
    const Panel panel = topView();
    CellRaster raster(panel, 10);
    addFloor(raster, 0, 5, 0);
    ASSERT_EQ(raster.side(), 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(raster.at(x, y).surface, x < 5 ? 0 : -1) << x << ", " << y;
}

TEST(SvgCellsTest, TheHigherFloorWinsWhicheverComesFirst) {
    const Panel panel = topView();
    CellRaster lowFirst(panel, 10), highFirst(panel, 10);
    addFloor(lowFirst, 0, 10, 1);
    addFloor(lowFirst, 0, 5, 4);
    addFloor(highFirst, 0, 5, 4);
    addFloor(highFirst, 0, 10, 1);
    for (const CellRaster* raster : {&lowFirst, &highFirst}) {
        EXPECT_FLOAT_EQ(raster->at(2, 3).depth, 4);
        EXPECT_FLOAT_EQ(raster->at(7, 3).depth, 1);
        EXPECT_EQ(raster->shadeOf(raster->at(2, 3), 6), 5);  // the nearest: strongest
        EXPECT_EQ(raster->shadeOf(raster->at(7, 3), 6), 0);
    }
}

TEST(SvgCellsTest, ASlopeTakesItsHeightAtEachCellCentre) {
    const Panel panel = topView();
    CellRaster raster(panel, 10);
    // Rising along x from y = 0 to y = 10: a slope (normal y about 0.7).
    raster.add({{0, 0, 0}, {0, 0, 10}, {10, 10, 0}});
    raster.add({{10, 10, 0}, {0, 0, 10}, {10, 10, 10}});
    EXPECT_EQ(raster.at(3, 6).surface, 1);
    EXPECT_NEAR(raster.at(3, 6).depth, 3.5, 1e-4);
    EXPECT_NEAR(raster.at(8, 1).depth, 8.5, 1e-4);
}

TEST(SvgCellsTest, AWallSeenEdgeOnStillMarksItsLine) {
    const Panel panel = topView();
    CellRaster raster(panel, 10);
    // Upright at z = 5.5 from x = 2.5 to 7.5: no cell centre lies on it.
    raster.add({{2.5f, 0, 5.5f}, {7.5f, 0, 5.5f}, {2.5f, 3, 5.5f}});
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(raster.at(x, 5).surface, x >= 2 && x <= 7 ? 2 : -1) << x;
        EXPECT_EQ(raster.at(x, 4).surface, -1) << x;
    }
}

TEST(SvgCellsTest, AFaceSmallerThanACellKeepsItsCell) {
    const Panel panel = topView();
    CellRaster raster(panel, 10);
    raster.add({{6.1f, 2, 3.1f}, {6.1f, 2, 3.3f}, {6.3f, 2, 3.1f}});
    EXPECT_EQ(raster.at(6, 3).surface, 0);
    EXPECT_EQ(raster.at(5, 3).surface, -1);
}

TEST(SvgCellsTest, AFaceReachingOutOfThePanelMarksOnlyTheCellsInIt) {
    const Panel panel = topView();
    CellRaster raster(panel, 10);
    addFloor(raster, -1000, 1000, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(raster.at(x, y).surface, 0);
}

TEST(SvgCellsTest, TheSideViewKeepsTheNearerFace) {
    // From +z: x to the right, y up; the face with the larger z is nearer.
    const Panel panel({"side", "", 0, 1, false}, {0, 10}, {0, 10}, {0, 0}, 100);
    CellRaster raster(panel, 10);
    raster.add({{0, 0, 2}, {10, 0, 2}, {0, 10, 2}});  // facing +z, the viewer
    raster.add({{0, 0, 7}, {10, 0, 7}, {0, 10, 7}});
    // Page row 9 is y in [0, 1].
    EXPECT_EQ(raster.at(1, 9).surface, 2);
    EXPECT_FLOAT_EQ(raster.at(1, 9).depth, 7);
}

TEST(SvgCellsTest, ARowOfLikeCellsIsOneRectangle) {
    const Panel panel = topView();
    CellRaster raster(panel, 10);
    addFloor(raster, 0, 10, 0);
    SvgDoc doc;
    raster.draw(doc, 6);
    const std::string svg = doc.finish(100, 100);
    EXPECT_EQ(count(svg, "<path "), 1);
    EXPECT_EQ(count(svg, "M"), 10);  // one run for each of the ten rows
    EXPECT_EQ(count(svg, "class=\"c0\""), 1);
    EXPECT_NE(svg.find("M0 0h100.05v10.05"), std::string::npos);
}

TEST(SvgCellsTest, EachSurfaceAndShadeHasItsOwnPath) {
    const Panel panel = topView();
    CellRaster raster(panel, 10);
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

}  // namespace
}  // namespace zepscene
