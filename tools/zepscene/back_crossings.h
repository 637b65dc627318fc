// The triangles a mover's centre went through from behind in some pass:
// from on or behind the triangle's plane to in front of it, through the
// triangle. The library meets a triangle from its front only, so these are
// where a face wound the wrong way let a mover through; the page marks them,
// and leaves every other back face (the outside of a sound room) plain.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "recording.h"

namespace zepscene {

// By mesh object, the crossed triangles in world corners, each once. Every
// pass's sweep (from where it started to where it ended) is tested against
// the triangles whose boxes it meets, up to kCrossingTestBudget tests in
// all: a crowd on a large level stops there rather than keep the page
// waiting.
inline constexpr uint64_t kCrossingTestBudget = 100000000;
std::map<int32_t, std::vector<Triangle>> trianglesCrossedFromBehind(const Recording& recording);

}  // namespace zepscene
