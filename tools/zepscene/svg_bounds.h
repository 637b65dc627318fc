// What part of the world the picture shows: the movers' paths and contacts
// with some room around them, reaching out a little towards nearby meshes.
// Both views share one scale so their x axes line up.
#pragma once

#include "recording.h"
#include "svg_panel.h"

namespace zepscene {

struct SceneBounds {
    Range x, y, z;  // each of the same span
};

SceneBounds sceneBounds(const Recording& recording);

}  // namespace zepscene
