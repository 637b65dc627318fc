#include "svg_bounds.h"

#include <algorithm>
#include <limits>

namespace zepscene {

namespace {

struct Box {
    double low[3] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                     std::numeric_limits<double>::max()};
    double high[3] = {std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest(),
                      std::numeric_limits<double>::lowest()};

    bool empty() const { return low[0] > high[0]; }
    void add(V3 p) {
        for (int a = 0; a < 3; ++a) {
            low[a] = std::min(low[a], component(p, a));
            high[a] = std::max(high[a], component(p, a));
        }
    }
};

Box moverBox(const Recording& recording, double& padding) {
    Box box;
    padding = 1;
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers) {
            for (V3 p : {m.from, m.wanted, m.reached}) box.add(p);
            for (const ContactRow& c : m.contacts) box.add(c.point);
            padding = std::max({padding, 1.5 * double(m.radii.x), 1.5 * double(m.radii.y), 1.5 * double(m.radii.z)});
        }
    return box;
}

Box meshBox(const Recording& recording) {
    Box box;
    for (const auto& [number, mesh] : recording.meshes)
        for (const Triangle& t : mesh.triangles)
            for (V3 corner : {t.a, t.b, t.c}) box.add(corner + mesh.position);
    return box;
}

// The movers' box grown by padding, then stretched towards the meshes by at
// most a quarter of its size, so walls just beside a path show up while a
// huge floor does not shrink the action to a dot.
Box viewBox(const Recording& recording) {
    double padding = 1;
    Box view = moverBox(recording, padding);
    const Box meshes = meshBox(recording);
    if (view.empty()) return meshes;
    for (int a = 0; a < 3; ++a) {
        view.low[a] -= padding;
        view.high[a] += padding;
        const double reach = (view.high[a] - view.low[a]) / 4;
        if (meshes.empty()) continue;
        view.low[a] = std::min(view.low[a], std::max(meshes.low[a], view.low[a] - reach));
        view.high[a] = std::max(view.high[a], std::min(meshes.high[a], view.high[a] + reach));
    }
    return view;
}

}  // namespace

SceneBounds sceneBounds(const Recording& recording) {
    const Box box = viewBox(recording);
    if (box.empty()) return {{-1, 1}, {-1, 1}, {-1, 1}};
    double span = 1;
    for (int a = 0; a < 3; ++a) span = std::max(span, (box.high[a] - box.low[a]) * 1.05);
    Range ranges[3];
    for (int a = 0; a < 3; ++a) {
        const double middle = (box.low[a] + box.high[a]) / 2;
        ranges[a] = {middle - span / 2, middle + span / 2};
    }
    return {ranges[0], ranges[1], ranges[2]};
}

}  // namespace zepscene
