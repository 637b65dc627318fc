// Host mesh memory blocks carved from the fuzz input: a header with an odd or
// ordinary vertex size and a vertex count (negative ones included), then the
// vertices, either raw input bytes or decoded coordinates. The library trusts
// the header, as the host's format allows, so the block is always as long as
// its header says; only the triangle count is capped to keep passes short.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "input_reader.h"

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

inline void fillVertices(InputReader& in, std::vector<uint8_t>& block, size_t stride, int32_t count) {
    const bool raw = in.byte() & 1;
    if (raw) {
        const std::vector<uint8_t> carved = in.bytes(block.size() - 12);
        std::copy(carved.begin(), carved.end(), block.begin() + 12);
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        const float xyz[3] = {in.floatArg(), in.floatArg(), in.floatArg()};
        std::memcpy(&block[12 + stride * size_t(i)], xyz, sizeof xyz);
    }
}

inline std::vector<uint8_t> carveMeshBlock(InputReader& in, int32_t maxTriangles) {
    const uint32_t vertexSize = carveVertexSize(in);
    const int32_t count = carveVertexCount(in, maxTriangles);
    const size_t stride = vertexSize & ~uint32_t(3);
    const size_t vertices = count > 0 ? size_t(count) : 0;
    // The last vertex needs its 12 position bytes even when the stride is
    // shorter than that.
    std::vector<uint8_t> block(vertices ? 12 + (vertices - 1) * stride + 12 : 12, 0xAB);
    const uint32_t unread = 0xDEADBEEF;
    std::memcpy(&block[0], &unread, 4);
    std::memcpy(&block[4], &vertexSize, 4);
    std::memcpy(&block[8], &count, 4);
    if (vertices) fillVertices(in, block, stride, count);
    return block;
}

}  // namespace zepfuzz
