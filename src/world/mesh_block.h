// The host's mesh memory block, read in place: three 32-bit words (unused,
// bytes per vertex, vertex count), then the vertices, each starting with its
// position as three floats. Every three vertices make a triangle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zep {

struct MeshBlock {
    uint32_t vertexSize = 0;
    int32_t vertexCount = 0;
    const unsigned char* vertices = nullptr;

    // Vertices are read a whole number of 32-bit words apart.
    size_t stride() const { return vertexSize & ~uint32_t(3); }
    void position(int32_t vertex, float out[3]) const {
        std::memcpy(out, vertices + size_t(vertex) * stride(), 3 * sizeof(float));
    }
};

inline MeshBlock readMeshBlock(const void* block) {
    constexpr size_t kVertexSizeOffset = 4, kVertexCountOffset = 8, kVerticesOffset = 12;
    const unsigned char* bytes = static_cast<const unsigned char*>(block);
    MeshBlock out;
    std::memcpy(&out.vertexSize, bytes + kVertexSizeOffset, sizeof out.vertexSize);
    std::memcpy(&out.vertexCount, bytes + kVertexCountOffset, sizeof out.vertexCount);
    out.vertices = bytes + kVerticesOffset;
    return out;
}

}  // namespace zep
