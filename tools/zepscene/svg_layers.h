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
const SurfaceStyle* allSurfaceStyles();  // floor, slope, wall, underside
inline constexpr const char* kContactColour = "#e66100";

void drawMeshes(SvgDoc& doc, const Panel& panel, const Recording& recording);
void drawPaths(SvgDoc& doc, const Panel& panel, const Recording& recording);
// endOn: the contacts whose normal points (nearly) at the viewer, else the others.
void drawContacts(SvgDoc& doc, const Panel& panel, const Recording& recording, bool endOn);

}  // namespace zepscene
