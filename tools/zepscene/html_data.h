// The recorded run as the page reads it: one JSON object with the passes,
// movers, contacts and meshes; the bulky arrays deflated and in base64.
#pragma once

#include <string>

#include "recording.h"

namespace zepscene {

std::string sceneDataJson(const Recording& recording);

}  // namespace zepscene
