// The run as one self-contained HTML page: the meshes, movers and contacts
// in 3D with a timeline, three.js inlined, nothing fetched when it opens.
#pragma once

#include <string>

#include "recording.h"

namespace zepscene {

std::string sceneHtml(const Recording& recording);

}  // namespace zepscene
