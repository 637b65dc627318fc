// Host mesh memory blocks carved from the fuzz input: a header with an odd or
// ordinary vertex size and a vertex count (negative ones included), then the
// vertices, either raw input bytes or decoded coordinates. The library trusts
// the header, as the host's format allows, so the block is always as long as
// its header says; only the triangle count is capped to keep passes short.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "input_reader.h"
#include "support/mesh_block.h"

namespace zepfuzz {

inline uint32_t carveVertexSize(InputReader& in) {
    static constexpr uint32_t kSizes[16] = {12, 16, 32, 34, 13, 24, 0, 4, 8, 15, 36, 64, 12, 12, 20, 28};
    return kSizes[in.byte() & 15];
}

inline int32_t carveVertexCount(InputReader& in, int32_t maxTriangles) {
    static constexpr int32_t kEdges[8] = {-1, -3, INT32_MIN, 2, 7, 96, 192, INT32_MAX};
    const uint8_t b = in.byte();
    const int32_t count = b < 0xF0 ? int32_t(b) % 25 : kEdges[b & 7];
    if (count <= 0) return count;
    return std::min(count, maxTriangles * 3 + count % 3);
}

inline std::vector<uint8_t> carveMeshBlock(InputReader& in, int32_t maxTriangles) {
    const uint32_t vertexSize = carveVertexSize(in);
    const int32_t count = carveVertexCount(in, maxTriangles);
    // Room for exactly the vertices the header names, so that a read past
    // them fails under the sanitizers.
    const zeptest::MeshBlockLayout layout{0xDEADBEEFu, 0xAB, std::max(count, 0)};
    if (count <= 0) return zeptest::meshBlock(vertexSize, count, {}, layout);
    if (in.byte() & 1) {  // the vertices as raw input bytes
        std::vector<uint8_t> block = zeptest::meshBlock(vertexSize, count, {}, layout);
        const std::vector<uint8_t> carved = in.bytes(block.size() - 12);
        std::copy(carved.begin(), carved.end(), block.begin() + 12);
        return block;
    }
    std::vector<float> positions;
    for (int32_t i = 0; i < count; ++i) positions.insert(positions.end(), {in.floatArg(), in.floatArg(), in.floatArg()});
    return zeptest::meshBlock(vertexSize, count, positions, layout);
}

}  // namespace zepfuzz
