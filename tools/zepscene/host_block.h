// A mesh memory block laid out the way the host hands it to AddMeshZEP.
#pragma once

#include <cstdint>
#include <vector>

#include "vec.h"

namespace zepscene {

// The host's vertex: position, normal and texture coordinates, 32 bytes.
// AddMeshZEP reads only the position, so the rest exercises the stride.
inline constexpr uint32_t kHostVertexBytes = 32;

// Header { unused, vertexSize, vertexCount } followed by three vertices per
// triangle, as 32-bit words.
std::vector<uint32_t> makeHostBlock(const std::vector<Triangle>& triangles);

}  // namespace zepscene
