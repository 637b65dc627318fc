// The table printed after each pass: every active mover, where it ended and
// what it touched on the way.
#pragma once

#include <ostream>

#include "recording.h"

namespace zepscene {

void printPass(std::ostream& out, const PassRecord& pass);

}  // namespace zepscene
