// Large scenes from a few input bytes: triangle grids of thousands of
// triangles (floors, walls, sawtooth and bumpy terrain, far from the origin
// or tiny), so that the mesh index builds its tree and a mover's sweep cache
// fills, and the triangles' corners for a crowd of bodies.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "input_reader.h"

namespace zepfuzz {

// How a grid is laid out, from one style byte.
struct GridStyle {
    uint8_t bits = 0;
    int height() const { return bits & 3; }             // flat, sawtooth, ramp, bumps
    int plane() const { return (bits >> 2) & 3; }       // floor (x, z), wall (x, y), wall (y, z), corrugated
    bool flipped() const { return bits & 0x10; }        // the other winding
    bool twoSided() const { return bits & 0x20; }       // both windings, twice the triangles
    bool oneByOne() const { return bits & 0x40; }       // AddMeshTri per triangle, not one block
    bool degenerate() const { return bits & 0x80; }     // every seventh triangle collinear
};

struct Grid {
    GridStyle style;
    int32_t columns = 1;
    int32_t rows = 1;
    float cell = 1.0f;
    float amplitude = 0.0f;
    float origin[3] = {};
    uint8_t seed = 0;

    int64_t triangles() const { return int64_t(columns) * rows * (style.twoSided() ? 4 : 2); }
};

inline Grid readGrid(InputReader& in) {
    Grid grid;
    grid.style.bits = in.byte();
    grid.columns = in.count(64);
    grid.rows = in.count(64);
    grid.cell = in.length();
    grid.amplitude = in.length() * (in.byte() & 1 ? -1.0f : 1.0f);
    for (float& v : grid.origin) v = in.offset();
    grid.seed = in.byte();
    return grid;
}

// A small hash, so that bumpy terrain needs no more input bytes.
inline float bump(uint32_t i, uint32_t j, uint32_t seed) {
    uint32_t h = i * 0x9E3779B1u ^ (j + 0x7F4A7C15u) * 0x85EBCA77u ^ seed * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 13;
    return float(int32_t(h % 2001u) - 1000) / 1000.0f;
}

inline void gridCorner(const Grid& g, int32_t i, int32_t j, float out[3]) {
    float h = 0.0f;
    switch (g.style.height()) {
        case 1: h = (i + j) & 1 ? g.amplitude : 0.0f; break;
        case 2: h = float(i) * g.amplitude; break;
        case 3: h = g.amplitude * bump(uint32_t(i), uint32_t(j), g.seed); break;
        default: break;
    }
    const float u = float(i) * g.cell, v = float(j) * g.cell;
    switch (g.style.plane()) {
        case 1: out[0] = u, out[1] = v, out[2] = h; break;
        case 2: out[0] = h, out[1] = u, out[2] = v; break;
        case 3: out[0] = u, out[1] = i & 1 ? g.amplitude : -g.amplitude, out[2] = v; break;
        default: out[0] = u, out[1] = h, out[2] = v; break;
    }
    for (int axis = 0; axis < 3; ++axis) out[axis] += g.origin[axis];
}

// The grid's triangles, nine floats each, capped at `most` triangles. The
// corners are written in place: appending them three floats at a time went
// through the sanitizers' checks of every insertion, a fiftieth of the run.
inline void gridTriangles(const Grid& g, int64_t most, std::vector<float>& out) {
    const int64_t wanted = std::max<int64_t>(0, std::min(most, g.triangles()));
    out.resize(size_t(wanted) * 9);
    float* next = out.data();
    int64_t made = 0;
    const auto put = [&](const float* corner) { next = std::copy(corner, corner + 3, next); };
    const auto add = [&](const float* a, const float* b, const float* c) {
        if (made >= wanted) return;
        const float* corners[3] = {a, g.style.flipped() ? c : b, g.style.flipped() ? b : c};
        float collinear[3];
        if (g.style.degenerate() && made % 7 == 6) {
            for (int axis = 0; axis < 3; ++axis) collinear[axis] = (a[axis] + b[axis]) * 0.5f;
            corners[2] = collinear;
        }
        for (const float* corner : corners) put(corner);
        ++made;
        if (g.style.twoSided() && made < wanted) {
            for (const float* corner : {corners[0], corners[2], corners[1]}) put(corner);
            ++made;
        }
    };
    for (int32_t i = 0; i < g.columns && made < wanted; ++i)
        for (int32_t j = 0; j < g.rows && made < wanted; ++j) {
            float a[3], b[3], c[3], d[3];
            gridCorner(g, i, j, a);
            gridCorner(g, i, j + 1, b);
            gridCorner(g, i + 1, j + 1, c);
            gridCorner(g, i + 1, j, d);
            add(a, b, c);
            add(a, c, d);
        }
}

}  // namespace zepfuzz
