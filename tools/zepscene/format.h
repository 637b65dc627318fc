// Numbers as the runner prints them: the shortest text that reads back as
// the same float, so printed values are exact.
#pragma once

#include <string>

#include "vec.h"

namespace zepscene {

std::string formatFloat(float value);
std::string formatVec(V3 value);  // "(x, y, z)"

}  // namespace zepscene
