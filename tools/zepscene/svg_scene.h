// The picture of a run: a top view and a side view of the meshes, every
// mover's path frame by frame, contact points with their normals, a legend.
#pragma once

#include <string>

#include "recording.h"

namespace zepscene {

std::string sceneSvg(const Recording& recording);

}  // namespace zepscene
