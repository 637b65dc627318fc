// Whether a contact lies inside its triangle's face, on an edge or at a
// corner, from the contact point and the corners alone.
#pragma once

#include "recording.h"
#include "vec.h"

namespace zepscene {

ContactKind classifyContact(V3 point, const Triangle& corners);

}  // namespace zepscene
