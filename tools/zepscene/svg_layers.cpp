#include "svg_layers.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace zepscene {

namespace {

const SurfaceStyle kSurfaces[4] = {
    {"floor (faces up)", "#cfe3c0"},
    {"slope", "#f1d48f"},
    {"wall (faces sideways)", "#8796a5"},
    {"underside (faces down)", "#e8b4b4"},
};

// The axis the panel looks along: y for the top view, z for the side view.
int depthAxis(const Panel& panel) { return 3 - panel.axes().u - panel.axes().v; }

struct PlacedTriangle {
    Triangle world;
    double depth;  // nearest to the viewer is drawn last
};

std::vector<PlacedTriangle> placedTriangles(const Panel& panel, const Recording& recording) {
    std::vector<PlacedTriangle> placed;
    const int axis = depthAxis(panel);
    for (const auto& [number, mesh] : recording.meshes)
        for (const Triangle& t : mesh.triangles) {
            const Triangle w{t.a + mesh.position, t.b + mesh.position, t.c + mesh.position};
            placed.push_back({w, std::max({component(w.a, axis), component(w.b, axis), component(w.c, axis)})});
        }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const PlacedTriangle& l, const PlacedTriangle& r) { return l.depth < r.depth; });
    return placed;
}

std::vector<const MoverFrame*> framesOf(const Recording& recording, int32_t object) {
    std::vector<const MoverFrame*> frames;
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers)
            if (m.object == object) frames.push_back(&m);
    return frames;
}

std::set<int32_t> moverNumbers(const Recording& recording) {
    std::set<int32_t> numbers;
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers) numbers.insert(m.object);
    return numbers;
}

void drawPath(SvgDoc& doc, const Panel& panel, const std::vector<const MoverFrame*>& frames,
              const std::string& colour) {
    const std::string asked = "stroke=\"" + colour + "\" stroke-width=\"1.2\" stroke-dasharray=\"4 3\" opacity=\"0.7\"";
    const std::string moved = "stroke=\"" + colour + "\" stroke-width=\"2.2\"";
    for (const MoverFrame* m : frames)
        if (!(m->wanted == m->reached)) doc.line(panel.at(m->from), panel.at(m->wanted), asked);
    for (const MoverFrame* m : frames) doc.line(panel.at(m->from), panel.at(m->reached), moved);
    for (const MoverFrame* m : frames) doc.circle(panel.at(m->reached), 2.2, "fill=\"" + colour + "\"");
}

// The body's outline where it started and where it ended.
void drawBody(SvgDoc& doc, const Panel& panel, const MoverFrame& m, V3 centre, const std::string& style) {
    const double su = component(m.radii, panel.axes().u), sv = component(m.radii, panel.axes().v);
    const Point c = panel.at(centre), edge = panel.at(centre + V3{1, 1, 1});
    const double scale = std::abs(edge.first - c.first);
    doc.ellipse(c, su * scale, sv * scale, style);
}

}  // namespace

std::string moverColour(size_t index) {
    static const char* const colours[] = {"#c0392b", "#1f5fbf", "#1e8449", "#8e44ad", "#7f5539", "#d63384"};
    return colours[index % 6];
}

const SurfaceStyle& surfaceStyle(V3 normal) {
    if (normal.y >= 0.985f) return kSurfaces[0];
    if (normal.y > 0.15f) return kSurfaces[1];
    if (normal.y >= -0.15f) return kSurfaces[2];
    return kSurfaces[3];
}

const SurfaceStyle* allSurfaceStyles() { return kSurfaces; }

void drawMeshes(SvgDoc& doc, const Panel& panel, const Recording& recording) {
    const bool top = depthAxis(panel) == 1;
    for (const PlacedTriangle& t : placedTriangles(panel, recording)) {
        const SurfaceStyle& style = surfaceStyle(frontNormal(t.world));
        const bool edgeOn = std::abs(component(frontNormal(t.world), depthAxis(panel))) < 0.15;
        const std::string stroke = edgeOn ? "stroke=\"#4a5866\" stroke-width=\"3\"" : "stroke=\"#6b6b6b\" stroke-width=\"0.7\"";
        const std::string opacity = top ? "0.7" : "0.45";
        doc.polygon({panel.at(t.world.a), panel.at(t.world.b), panel.at(t.world.c)},
                    "fill=\"" + std::string(style.fill) + "\" fill-opacity=\"" + opacity + "\" " + stroke +
                        " stroke-linejoin=\"round\"");
    }
}

void drawPaths(SvgDoc& doc, const Panel& panel, const Recording& recording) {
    size_t index = 0;
    for (int32_t object : moverNumbers(recording)) {
        const std::string colour = moverColour(index++);
        const auto frames = framesOf(recording, object);
        drawBody(doc, panel, *frames.front(), frames.front()->from,
                 "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1\" stroke-dasharray=\"2 2\"");
        drawPath(doc, panel, frames, colour);
        drawBody(doc, panel, *frames.back(), frames.back()->reached,
                 "fill=\"" + colour + "\" fill-opacity=\"0.15\" stroke=\"" + colour + "\" stroke-width=\"1.5\"");
        const Point start = panel.at(frames.front()->from);
        doc.text({start.first + 6, start.second - 6}, std::to_string(object),
                 "fill=\"" + colour + "\" font-weight=\"bold\"");
    }
}

// Seen along the normal, a contact is a small ring under the path; seen from
// the side, a dot with an arrow along the normal. One arrow per spot and
// direction keeps a mover resting on a floor from drawing a hedge.
void drawContacts(SvgDoc& doc, const Panel& panel, const Recording& recording, bool endOn) {
    std::set<std::tuple<long, long, long, long>> drawn;
    const std::string colour = kContactColour;
    const std::string arrow = "stroke=\"" + colour + "\" stroke-width=\"1.6\" marker-end=\"url(#arrow)\"";
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers)
            for (const ContactRow& c : m.contacts) {
                const Point p = panel.at(c.point), d = panel.direction(c.normal);
                if ((std::hypot(d.first, d.second) < 0.2) != endOn) continue;
                if (endOn) {
                    doc.circle(p, 4, "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.2\"");
                    continue;
                }
                const auto key = std::make_tuple(std::lround(p.first / 20), std::lround(p.second / 20),
                                                 std::lround(d.first * 4), std::lround(d.second * 4));
                if (drawn.insert(key).second) doc.line(p, {p.first + 22 * d.first, p.second + 22 * d.second}, arrow);
                doc.circle(p, 2.6, "fill=\"" + colour + "\" stroke=\"white\" stroke-width=\"0.6\"");
            }
}

}  // namespace zepscene
