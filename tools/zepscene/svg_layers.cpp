#include "svg_layers.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "format.h"
#include "svg_cells.h"
#include "svg_labels.h"

namespace zepscene {

namespace {

const SurfaceStyle kSurfaces[4] = {
    {"floor (faces up)", "#cfe3c0"},
    {"slope", "#f1d48f"},
    {"wall (faces sideways)", "#8796a5"},
    {"underside (faces down)", "#e8b4b4"},
};

// A view with more faces than this draws its level as cells (see
// svg_cells.h) and only the faces the movers met one by one on top: faces by
// the thousand are a few pixels wide, and drawn one by one they would be a
// wireframe that hides the paths. Every example stays well under it.
constexpr size_t kCellsFrom = 2000;
// The cells' side in pixels, and how many steps of strength they shade in.
constexpr double kCellPixels = 3;
constexpr int kShades = 6;
// At most this many faces met are drawn one by one on the cells; it keeps
// the picture of a long run on a level of millions of triangles to a few
// megabytes.
constexpr size_t kMetBudget = 12000;
// The labels' font sizes: pass numbers small along the path, "stayed N" a
// little larger, a mover's number in the page's own size.
constexpr double kPassNumberFont = 9;
constexpr double kLabelFont = 11;
constexpr double kMoverNumberFont = 13;

struct PlacedTriangle {
    Triangle world;
    double depth;  // nearest to the viewer is drawn last
};

// A triangle seen from behind cannot be met from the viewer's side, and in a
// closed room it would hide everything behind the near wall: such faces are
// left out. Faces seen edge-on stay (they are drawn as thick lines).
bool facesViewer(const Panel& panel, V3 normal) { return component(normal, panel.depthAxis()) > -0.15; }

struct PageBox {
    double left, top, right, bottom;
};

PageBox pageBox(const Panel& panel, const Triangle& t) {
    const Point a = panel.at(t.a), b = panel.at(t.b), c = panel.at(t.c);
    return {std::min({a.first, b.first, c.first}), std::min({a.second, b.second, c.second}),
            std::max({a.first, b.first, c.first}), std::max({a.second, b.second, c.second})};
}

bool inPanel(const Panel& panel, const PageBox& box) {
    const auto [x, y] = panel.origin();
    return box.right >= x && box.left <= x + panel.size() && box.bottom >= y && box.top <= y + panel.size();
}

// The faces the panel shows, facing the viewer: those met, and the others.
struct ViewTriangles {
    std::vector<PlacedTriangle> met, others;
    size_t facingAway = 0;
};

ViewTriangles viewTriangles(const Panel& panel, const Recording& recording) {
    std::set<std::pair<int32_t, int32_t>> hit;
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers)
            for (const ContactRow& c : m.contacts) hit.insert({c.object, c.triangle});
    const int axis = panel.depthAxis();
    ViewTriangles view;
    for (const auto& [number, mesh] : recording.meshes) {
        int32_t index = 0;
        for (const Triangle& t : mesh.triangles) {
            ++index;
            const Triangle w{t.a + mesh.position, t.b + mesh.position, t.c + mesh.position};
            if (!inPanel(panel, pageBox(panel, w))) continue;
            if (!facesViewer(panel, frontNormal(w))) {
                ++view.facingAway;
                continue;
            }
            const double depth = std::max({component(w.a, axis), component(w.b, axis), component(w.c, axis)});
            (hit.count({number, index}) ? view.met : view.others).push_back({w, depth});
        }
    }
    return view;
}

// Faces drawn one by one, the nearest last. `outlined` keeps even faces a
// few pixels wide outlined, so the faces met show on the level's cells.
void drawFaces(SvgDoc& doc, const Panel& panel, std::vector<const PlacedTriangle*> faces, bool outlined) {
    std::stable_sort(faces.begin(), faces.end(),
                     [](const PlacedTriangle* l, const PlacedTriangle* r) { return l->depth < r->depth; });
    const std::string opacity = panel.depthAxis() == 1 ? "0.7" : "0.45";
    doc.raw("<g fill-opacity=\"" + opacity + "\">");
    for (const PlacedTriangle* t : faces) {
        const V3 normal = frontNormal(t->world);
        const bool edgeOn = std::abs(component(normal, panel.depthAxis())) < 0.15;
        // Outlines of faces a few pixels wide would turn a dense mesh grey.
        const PageBox box = pageBox(panel, t->world);
        const bool tiny = !outlined && box.right - box.left < 4 && box.bottom - box.top < 4;
        const char kind = edgeOn ? 'e' : tiny ? 'c' : 't';
        doc.polygon({panel.at(t->world.a), panel.at(t->world.b), panel.at(t->world.c)},
                    std::string("class=\"") + kind + std::to_string(surfaceIndex(normal)) + '"');
    }
    doc.raw("</g>");
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

std::string frameTitle(const MoverFrame& m, size_t pass) {
    return "mover " + std::to_string(m.object) + ", pass " + std::to_string(pass) + ": at " + formatVec(m.reached) +
           ", asked " + formatVec(m.wanted) + ", " + std::to_string(m.contacts.size()) + " contact(s)";
}

// Every Nth pass is numbered along the path, about ten numbers a path.
size_t numberingStep(size_t passes) {
    for (size_t step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000})
        if (passes / step <= 10) return step;
    return passes / 10;
}

// A ring with the count where the mover's dots of several passes in a row
// fall on one spot of the page, which would otherwise read as one pass. Only
// where it stayed put in the world too: a walker taking steps smaller than a
// pixel, or one moving straight at the viewer, is not stuck, and on a crowd
// of slow walkers the rings and counts would bury the paths.
void markStays(SvgDoc& doc, const Panel& panel, const std::vector<const MoverFrame*>& frames,
               const std::string& colour, LabelPlacer& labels) {
    constexpr size_t kStayPasses = 3;
    constexpr double kSamePixels = 1.5;
    constexpr double kSameWorld = 0.01;  // of the mover's smallest radius
    size_t first = 0;
    for (size_t i = 1; i <= frames.size(); ++i) {
        const Point start = panel.at(frames[first]->reached);
        if (i < frames.size()) {
            const Point at = panel.at(frames[i]->reached);
            const V3 moved = frames[i]->reached - frames[first]->reached;
            const V3 radii = frames[i]->radii;
            const double still = kSameWorld * std::min({radii.x, radii.y, radii.z});
            if (std::hypot(at.first - start.first, at.second - start.second) < kSamePixels &&
                std::sqrt(moved.x * moved.x + moved.y * moved.y + moved.z * moved.z) <= still)
                continue;
        }
        const size_t run = i - first;
        if (run >= kStayPasses) {
            doc.circle(start, 6, "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.5\"",
                       "stayed put for " + std::to_string(run) + " passes (" + std::to_string(first + 1) + " to " +
                           std::to_string(i) + ")");
            const std::string label = "stayed " + std::to_string(run);
            if (const auto at = labels.place(start, label, kLabelFont, 7, true))
                doc.text(*at, label, "fill=\"" + colour + "\" font-size=\"" + std::to_string(int(kLabelFont)) + "\"");
        }
        first = i;
    }
}

void drawPath(SvgDoc& doc, const Panel& panel, const std::vector<const MoverFrame*>& frames,
              const std::string& colour, LabelPlacer& labels) {
    const std::string asked = "stroke=\"" + colour + "\" stroke-width=\"1.2\" stroke-dasharray=\"4 3\" opacity=\"0.7\"";
    const std::string moved = "stroke=\"" + colour + "\" stroke-width=\"2.2\"";
    for (const MoverFrame* m : frames)
        if (!(m->wanted == m->reached)) doc.line(panel.at(m->from), panel.at(m->wanted), asked);
    for (const MoverFrame* m : frames) doc.line(panel.at(m->from), panel.at(m->reached), moved);
    for (size_t i = 0; i < frames.size(); ++i)
        doc.circle(panel.at(frames[i]->reached), 2.2, "fill=\"" + colour + "\"", frameTitle(*frames[i], i + 1));
    // The stays' counts first, then the final pass's number, so that they
    // have their places; a number due where it would overprint another is
    // left out: a slow walker's numbers would pile into a blot.
    markStays(doc, panel, frames, colour, labels);
    const auto number = [&](size_t i) {
        const std::string text = std::to_string(i + 1);
        const bool final = i + 1 == frames.size();
        if (const auto at = labels.place(panel.at(frames[i]->reached), text, kPassNumberFont, 3, final))
            doc.text(*at, text, "fill=\"" + colour + "\" font-size=\"" + std::to_string(int(kPassNumberFont)) + "\"");
    };
    number(frames.size() - 1);
    const size_t step = numberingStep(frames.size());
    for (size_t i = step - 1; i + 1 < frames.size(); i += step) number(i);
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

int surfaceIndex(V3 normal) {
    if (normal.y >= 0.985f) return 0;
    if (normal.y > 0.15f) return 1;
    if (normal.y >= -0.15f) return 2;
    return 3;
}

const SurfaceStyle& surfaceStyle(V3 normal) { return kSurfaces[surfaceIndex(normal)]; }

std::string meshStyles() {
    std::string css = "<style>";
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i);
        css += ".t" + n + ",.e" + n + ",.c" + n + "{fill:" + kSurfaces[i].fill + "}";
    }
    css += ".t0,.t1,.t2,.t3{stroke:#6b6b6b;stroke-width:0.7;stroke-linejoin:round}"
           ".e0,.e1,.e2,.e3{stroke:#4a5866;stroke-width:3;stroke-linejoin:round}"
           ".c0,.c1,.c2,.c3{stroke:none}</style>";
    return css;
}

const SurfaceStyle* allSurfaceStyles() { return kSurfaces; }

MeshDrawing drawMeshes(SvgDoc& doc, const Panel& panel, const Recording& recording) {
    const ViewTriangles view = viewTriangles(panel, recording);
    std::vector<const PlacedTriangle*> oneByOne;
    MeshDrawing drawing;
    drawing.facingAway = view.facingAway;
    if (view.met.size() + view.others.size() <= kCellsFrom) {
        for (const auto* list : {&view.met, &view.others})
            for (const PlacedTriangle& t : *list) oneByOne.push_back(&t);
        drawFaces(doc, panel, oneByOne, false);
        drawing.drawn = oneByOne.size();
        return drawing;
    }
    // The met faces go into the cells too: where they are drawn translucent
    // on top, the level under them keeps its shade.
    CellRaster raster(panel, kCellPixels);
    for (const auto* list : {&view.met, &view.others})
        for (const PlacedTriangle& t : *list) raster.add(t.world);
    raster.draw(doc, kShades);
    for (size_t i = 0; i < view.met.size() && i < kMetBudget; ++i) oneByOne.push_back(&view.met[i]);
    drawFaces(doc, panel, oneByOne, true);
    drawing.drawn = oneByOne.size();
    drawing.coarse = view.met.size() + view.others.size() - oneByOne.size();
    drawing.cellPixels = kCellPixels;
    return drawing;
}

void drawPaths(SvgDoc& doc, const Panel& panel, const Recording& recording) {
    size_t index = 0;
    LabelPlacer labels(panel.origin(), panel.size());
    for (int32_t object : moverNumbers(recording)) {
        const std::string colour = moverColour(index++);
        const auto frames = framesOf(recording, object);
        drawBody(doc, panel, *frames.front(), frames.front()->from,
                 "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1\" stroke-dasharray=\"2 2\"");
        const Point start = panel.at(frames.front()->from);
        const std::string name = std::to_string(object);
        if (const auto at = labels.place(start, name, kMoverNumberFont, 6, true))
            doc.text(*at, name, "fill=\"" + colour + "\" font-weight=\"bold\"");
        drawPath(doc, panel, frames, colour, labels);
        // Unfilled: a tint of the mover's colour reads as the legend's underside.
        drawBody(doc, panel, *frames.back(), frames.back()->reached,
                 "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"2.2\"");
    }
}

// Seen along the normal, a contact is a small ring under the path; seen from
// the side, a dot with an arrow along the normal. One arrow per spot and
// direction keeps a mover resting on a floor from drawing a hedge.
std::string contactTitle(const MoverFrame& m, const ContactRow& c, size_t pass) {
    return "mover " + std::to_string(m.object) + ", pass " + std::to_string(pass) + ": contact at " +
           formatVec(c.point) + ", object " + std::to_string(c.object) + " triangle " + std::to_string(c.triangle) +
           ", normal " + formatVec(c.normal);
}

void drawContacts(SvgDoc& doc, const Panel& panel, const Recording& recording, bool endOn) {
    std::set<std::tuple<long, long, long, long>> drawn;
    const std::string colour = kContactColour;
    const std::string arrow = "stroke=\"" + colour + "\" stroke-width=\"1.6\" marker-end=\"url(#arrow)\"";
    for (size_t passNumber = 1; passNumber <= recording.passes.size(); ++passNumber)
        for (const MoverFrame& m : recording.passes[passNumber - 1].movers)
            for (const ContactRow& c : m.contacts) {
                const Point p = panel.at(c.point), d = panel.direction(c.normal);
                if ((std::hypot(d.first, d.second) < 0.2) != endOn) continue;
                if (endOn) {
                    doc.circle(p, 4, "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.2\"");
                    continue;
                }
                const auto key = std::make_tuple(std::lround(p.first / 20), std::lround(p.second / 20),
                                                 std::lround(d.first * 4), std::lround(d.second * 4));
                const std::string title = contactTitle(m, c, passNumber);
                if (drawn.insert(key).second)
                    doc.line(p, {p.first + 22 * d.first, p.second + 22 * d.second}, arrow, title);
                doc.circle(p, 2.6, "fill=\"" + colour + "\" stroke=\"white\" stroke-width=\"0.6\"", title);
            }
}

}  // namespace zepscene
