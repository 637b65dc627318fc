// The host's mesh memory block, built the one way every test, the shared
// scenarios, the fuzzer and the Windows stand-in need it: three header words
// (one the library never reads, the vertex size in bytes, the vertex count),
// then the vertices, the vertex size rounded down to a multiple of 4 apart,
// each with its position in its first 12 bytes. Plain C++, built on Windows
// too.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zeptest {

struct MeshBlockLayout {
    uint32_t unread = 0xA5A5A5A5u;  // the header word the library skips
    uint8_t filler = 0xFF;          // every byte no position covers: a NaN if read
    // Vertices the block has room for; -1: as many as the positions give.
    // The block ends where the last one's position ends, so that a read past
    // them leaves the allocation (and the sanitizers see it).
    int32_t room = -1;
    size_t slack = 0;  // bytes after that
};

// `positions` holds x, y, z of the first vertices (fewer than the header
// names is allowed: the rest is filler, or no block at all past `room`).
inline std::vector<uint8_t> meshBlock(uint32_t vertexSize, int32_t vertexCount, const std::vector<float>& positions,
                                      const MeshBlockLayout& layout = {}) {
    const size_t stride = vertexSize & ~3u;
    const size_t given = positions.size() / 3;
    const size_t room = layout.room >= 0 ? size_t(layout.room) : given;
    std::vector<uint8_t> block(12 + (room ? (room - 1) * stride + 12 : 0) + layout.slack, layout.filler);
    std::memcpy(&block[0], &layout.unread, 4);
    std::memcpy(&block[4], &vertexSize, 4);
    std::memcpy(&block[8], &vertexCount, 4);
    for (size_t v = 0; v < std::min(given, room); ++v) std::memcpy(&block[12 + v * stride], &positions[3 * v], 12);
    return block;
}

}  // namespace zeptest
