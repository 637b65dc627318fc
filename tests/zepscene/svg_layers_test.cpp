// What zepscene's picture draws of a level and a path: a large level as
// cells with only the faces met on top, a small one face by face, a ring only
// where a mover truly stayed put, and pass numbers that do not pile up.
#include <gtest/gtest.h>

#include <string>

#include "zepscene/svg_layers.h"

namespace zepscene {
namespace {

// A 100 px top view of x and z in [0, 10].
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

}  // namespace
}  // namespace zepscene
