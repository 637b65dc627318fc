// The layers of one view, drawn in this order: meshes, contacts seen end-on,
// mover paths, the other contacts.
#pragma once

#include <string>

#include "recording.h"
#include "svg_doc.h"
#include "svg_panel.h"

namespace zepscene {

// The colour of the n-th mover (0-based, in object number order).
std::string moverColour(size_t index);

// How a triangle is filled, from the direction its front faces.
struct SurfaceStyle {
    const char* name;
    const char* fill;
};
const SurfaceStyle& surfaceStyle(V3 frontNormal);
int surfaceIndex(V3 frontNormal);  // 0 floor, 1 slope, 2 wall, 3 underside
// The <style> element with the classes the mesh layer uses.
std::string meshStyles();
const SurfaceStyle* allSurfaceStyles();  // floor, slope, wall, underside
inline constexpr const char* kContactColour = "#e66100";

// Triangles drawn one by one, and those shown only as shaded cells.
struct MeshDrawing {
    size_t drawn = 0, coarse = 0;
    size_t facingAway = 0;  // in the panel but turned from the viewer, so not drawn
    double cellPixels = 0;  // the cells' side, 0 when the view has none
};
// Draws the faces that face the viewer: all of them one by one, or when there
// are thousands, the level as shaded cells and the faces met on top.
MeshDrawing drawMeshes(SvgDoc& doc, const Panel& panel, const Recording& recording);
void drawPaths(SvgDoc& doc, const Panel& panel, const Recording& recording);
// endOn: the contacts whose normal points (nearly) at the viewer, else the others.
void drawContacts(SvgDoc& doc, const Panel& panel, const Recording& recording, bool endOn);

}  // namespace zepscene
