#include "svg_scene.h"

#include <algorithm>
#include <map>
#include <set>

#include "svg_bounds.h"
#include "svg_layers.h"

namespace zepscene {

namespace {

constexpr double kPanel = 470, kLeft = 60, kTop = 92, kGap = 90;
constexpr double kLegendTop = kTop + kPanel + 58;
constexpr double kWidth = kLeft + 2 * kPanel + kGap + 30;

const char* const kArrowMarker =
    "<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"8\" refY=\"5\" markerWidth=\"7\" markerHeight=\"7\" "
    "orient=\"auto-start-reverse\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"#e66100\"/></marker></defs>";

MeshDrawing drawView(SvgDoc& doc, const Panel& panel, const Recording& recording) {
    panel.drawFrame(doc);
    panel.beginClip(doc);
    const MeshDrawing meshes = drawMeshes(doc, panel, recording);
    drawContacts(doc, panel, recording, true);
    drawPaths(doc, panel, recording);
    drawContacts(doc, panel, recording, false);
    panel.endClip(doc);
    panel.drawBorder(doc);
    // A floor wound the wrong way is simply missing from the top view: say
    // how many faces are left out for facing away.
    if (meshes.facingAway > 0) {
        const auto [x, y] = panel.origin();
        // Below the tick labels, clear of them.
        doc.text({x, y + panel.size() + 32},
                 std::to_string(meshes.facingAway) + " faces turned away from this view, not drawn",
                 "fill=\"#555\" font-size=\"11\"");
    }
    return meshes;
}

size_t contactCount(const Recording& recording) {
    size_t count = 0;
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers) count += m.contacts.size();
    return count;
}

void drawTitle(SvgDoc& doc, const Recording& recording) {
    doc.text({kLeft - 40, 30}, "zepscene: " + recording.script, "font-size=\"18\" font-weight=\"bold\"");
    doc.text({kLeft - 40, 50},
             std::to_string(recording.passes.size()) + " passes, " + std::to_string(contactCount(recording)) +
                 " contacts; the views share one scale (grid in world units)",
             "fill=\"#555\"");
}

// Where the next legend entry goes; a row full to the page's edge goes on
// in a new one below (a crowd of twenty movers ran off the page).
struct LegendPlace {
    double x, y;
};
constexpr double kLegendLeft = kLeft - 40, kLegendRow = 24;

// One legend entry: a small sample drawn by sample(x, y), then its text.
template <typename Sample>
void legendItem(SvgDoc& doc, LegendPlace& at, const std::string& label, Sample sample) {
    const double width = 30 + 7.2 * double(label.size());
    if (at.x > kLegendLeft && at.x + width > kWidth - 10) at = {kLegendLeft, at.y + kLegendRow};
    sample(at.x, at.y);
    doc.text({at.x + 30, at.y + 4}, label, "");
    at.x += 44 + 7.2 * double(label.size());
}

void drawMoverLegend(SvgDoc& doc, const Recording& recording, LegendPlace& at) {
    std::set<int32_t> numbers;
    std::map<int32_t, int32_t> lastGround;  // a character's, after its last pass
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers) {
            numbers.insert(m.object);
            lastGround[m.object] = m.ground;
        }
    size_t index = 0;
    for (int32_t number : numbers) {
        const std::string colour = moverColour(index++);
        const int32_t ground = lastGround[number];
        const std::string label = ground < 0 ? "mover " + std::to_string(number)
                                             : "character " + std::to_string(number) + ", at the end " + groundName(ground);
        legendItem(doc, at, label, [&](double sx, double sy) {
            doc.line({sx, sy}, {sx + 22, sy}, "stroke=\"" + colour + "\" stroke-width=\"2.2\"");
            doc.circle({sx + 22, sy}, 2.2, "fill=\"" + colour + "\"");
        });
    }
    legendItem(doc, at, "move the host asked for, where it differs", [&](double sx, double sy) {
        doc.line({sx, sy}, {sx + 22, sy}, "stroke=\"#555\" stroke-width=\"1.2\" stroke-dasharray=\"4 3\"");
    });
    legendItem(doc, at, "body at start (dotted) and end", [&](double sx, double sy) {
        doc.ellipse({sx + 11, sy}, 10, 6, "fill=\"none\" stroke=\"#555\" stroke-width=\"2.2\"");
    });
}

void drawSurfaceLegend(SvgDoc& doc, LegendPlace& at) {
    legendItem(doc, at, "contact point and normal", [&](double sx, double sy) {
        doc.line({sx + 4, sy}, {sx + 24, sy}, "stroke=\"#e66100\" stroke-width=\"1.6\" marker-end=\"url(#arrow)\"");
        doc.circle({sx + 4, sy}, 3, "fill=\"#e66100\"");
    });
    legendItem(doc, at, "normal towards you", [&](double sx, double sy) {
        doc.circle({sx + 11, sy}, 4, "fill=\"none\" stroke=\"#e66100\" stroke-width=\"1.2\"");
    });
    for (int i = 0; i < 4; ++i) {
        const SurfaceStyle& style = allSurfaceStyles()[i];
        legendItem(doc, at, style.name, [&](double sx, double sy) {
            doc.polygon({{sx, sy - 7}, {sx + 22, sy - 7}, {sx + 22, sy + 7}, {sx, sy + 7}},
                        "fill=\"" + std::string(style.fill) + "\" stroke=\"#6b6b6b\" stroke-width=\"0.7\"");
        });
    }
}

}  // namespace

std::string sceneSvg(const Recording& recording) {
    const SceneBounds bounds = sceneBounds(recording);
    const Panel top({"top", "Top view (from above)", 0, 2, true}, bounds.x, bounds.z, {kLeft, kTop}, kPanel);
    const Panel side({"side", "Side view (from +z)", 0, 1, false}, bounds.x, bounds.y,
                     {kLeft + kPanel + kGap, kTop}, kPanel);
    SvgDoc doc;
    doc.raw(kArrowMarker);
    doc.raw(meshStyles());
    drawTitle(doc, recording);
    const MeshDrawing topMeshes = drawView(doc, top, recording);
    const MeshDrawing sideMeshes = drawView(doc, side, recording);
    if (topMeshes.cellPixels + sideMeshes.cellPixels > 0)
        doc.text({kLeft - 40, 64},
                 "the level as shaded cells " + num(std::max(topMeshes.cellPixels, sideMeshes.cellPixels)) +
                     " px wide (" + std::to_string(topMeshes.coarse) + " faces in the top view, " +
                     std::to_string(sideMeshes.coarse) +
                     " in the side view), the nearer the stronger; the faces met drawn one by one on top",
                 "fill=\"#555\" font-size=\"11\"");
    LegendPlace at{kLegendLeft, kLegendTop};
    drawMoverLegend(doc, recording, at);
    at = {kLegendLeft, at.y + 28};
    drawSurfaceLegend(doc, at);
    return doc.finish(kWidth, at.y + 22);
}

}  // namespace zepscene
