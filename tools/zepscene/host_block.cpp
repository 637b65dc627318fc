#include "host_block.h"

#include <cstring>

namespace zepscene {

namespace {

void appendVertex(std::vector<uint32_t>& block, V3 position, V3 normal) {
    for (float value : {position.x, position.y, position.z, normal.x, normal.y, normal.z, 0.0f, 0.0f})
        block.push_back(uint32_t(wordOf(value)));
}

}  // namespace

std::vector<uint32_t> makeHostBlock(const std::vector<Triangle>& triangles) {
    std::vector<uint32_t> block{0xFFFFFFFFu, kHostVertexBytes, uint32_t(3 * triangles.size())};
    for (const Triangle& t : triangles) {
        const V3 normal = frontNormal(t);
        for (V3 corner : {t.a, t.b, t.c}) appendVertex(block, corner, normal);
    }
    return block;
}

}  // namespace zepscene
