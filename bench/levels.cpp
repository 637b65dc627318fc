#include "levels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>

namespace zepbench {

namespace {

constexpr float kCell = 1.0f;
constexpr float kMoverRadii[3] = {0.4f, 0.9f, 0.4f};
// A host vertex: position, normal and texture coordinates, 32 bytes.
constexpr uint32_t kVertexSize = 32;

float heightAt(int i, int j) { return 0.3f * std::sin(i * 0.37f) * std::cos(j * 0.23f); }

struct Block {
    std::vector<unsigned char> bytes;
    int32_t vertices = 0;

    void add(float x, float y, float z) {
        const size_t at = bytes.size();
        bytes.resize(at + kVertexSize);
        const float position[3] = {x, y, z};
        std::memcpy(&bytes[at], position, sizeof position);
        ++vertices;
    }
    const void* finish() {
        const uint32_t header[3] = {0, kVertexSize, uint32_t(vertices)};
        std::memcpy(bytes.data(), header, sizeof header);
        return bytes.data();
    }
};

}  // namespace

namespace {

// Nine tenths of the triangles in the height field, the rest in walls.
int terrainCells(int64_t triangles) { return int(std::sqrt(double(triangles) * 0.9 / 2.0)); }

}  // namespace

float terrainSide(int64_t triangles) { return float(terrainCells(triangles)) * kCell; }

Terrain terrainTriangles(int64_t triangles) {
    const int n = terrainCells(triangles);
    const int walls = int((triangles - int64_t(2) * n * n) / 2);
    Terrain terrain;
    terrain.cells = n;
    terrain.side = n * kCell;
    std::vector<float>& corners = terrain.corners;
    corners.reserve(size_t((int64_t(2) * n * n + 2 * walls) * 9));
    const auto triangle = [&corners](const float a[3], const float b[3], const float c[3]) {
        corners.insert(corners.end(), a, a + 3);
        corners.insert(corners.end(), b, b + 3);
        corners.insert(corners.end(), c, c + 3);
    };
    const auto quad = [&triangle](const float a[3], const float b[3], const float c[3], const float d[3]) {
        triangle(a, b, c);
        triangle(a, c, d);
    };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const float a[3] = {i * kCell, heightAt(i, j), j * kCell};
            const float b[3] = {i * kCell, heightAt(i, j + 1), (j + 1) * kCell};
            const float c[3] = {(i + 1) * kCell, heightAt(i + 1, j + 1), (j + 1) * kCell};
            const float d[3] = {(i + 1) * kCell, heightAt(i + 1, j), j * kCell};
            quad(a, b, c, d);
        }
    for (int w = 0; w < walls; ++w) {
        // Short wall pieces scattered over the field, facing +x or +z.
        const float x = float((w * 7919) % n), z = float((w * 104729) % n);
        const bool alongZ = w % 2 == 0;
        const float a[3] = {x, -1, z};
        const float b[3] = {alongZ ? x : x + 2, -1, alongZ ? z + 2 : z};
        const float c[3] = {b[0], 2, b[2]};
        const float d[3] = {x, 2, z};
        if (alongZ)
            quad(a, b, c, d);
        else
            quad(a, d, c, b);
    }
    return terrain;
}

float Terrain::groundAt(float x, float z) const {
    // The height field's own two triangles of the cell, split along the
    // diagonal from (i, j) to (i + 1, j + 1).
    const float fx = std::clamp(x / kCell, 0.0f, float(cells)), fz = std::clamp(z / kCell, 0.0f, float(cells));
    const int i = std::min(int(fx), cells - 1), j = std::min(int(fz), cells - 1);
    const float u = fx - float(i), v = fz - float(j);
    const float ha = heightAt(i, j), hb = heightAt(i, j + 1), hc = heightAt(i + 1, j + 1), hd = heightAt(i + 1, j);
    return v >= u ? ha + v * (hb - ha) + u * (hc - hb) : ha + u * (hd - ha) + v * (hc - hd);
}

float Terrain::lowest() const {
    float low = corners.empty() ? 0.0f : corners[1];
    for (size_t k = 1; k < corners.size(); k += 3) low = std::min(low, corners[k]);
    return low;
}

TerrainBlock terrainBlock(int64_t triangles) {
    const Terrain terrain = terrainTriangles(triangles);
    Block block;
    block.bytes.reserve(12 + terrain.corners.size() / 3 * kVertexSize);
    block.bytes.resize(12);
    for (size_t k = 0; k < terrain.corners.size(); k += 3)
        block.add(terrain.corners[k], terrain.corners[k + 1], terrain.corners[k + 2]);
    block.finish();
    return {std::move(block.bytes), terrain.side};
}

void addTerrain(const Commands& zep, int object, const TerrainBlock& block, float at) {
    zep.NewCollObjZEP(object, 2);
    zep.AddObjShapeZEP(object, ZEP_SHAPE_MESH);
    zep.AddMeshZEP(object, block.bytes.data());
    zep.UpdateObjZEP(object, at, 0, at, 0, 0, 0);
    zep.ActivateObjZEP(object);
}

float loadTerrain(const Commands& zep, int object, int64_t triangles, float at) {
    const TerrainBlock block = terrainBlock(triangles);
    addTerrain(zep, object, block, at);
    return block.side;
}

void placeMovers(const Commands& zep, int first, int count, float side, float at) {
    const int perRow = int(std::ceil(std::sqrt(double(count))));
    const float spacing = (side - 4) / float(perRow);
    for (int k = 0; k < count; ++k) {
        const int object = first + k;
        zep.NewCollObjZEP(object, 1);
        zep.AddObjShapeZEP(object, ZEP_SHAPE_ELLIPSOID);
        zep.SetObjRadiusZEP(object, kMoverRadii[0], kMoverRadii[1], kMoverRadii[2]);
        const float x = 2 + (k % perRow + 0.5f) * spacing, z = 2 + (k / perRow + 0.5f) * spacing;
        zep.UpdateObjZEP(object, at + x, 1.5f, at + z, 0, 0, 0);
        zep.ActivateObjZEP(object);
    }
}

namespace {

// A unit box of 12 triangles, in the object's own frame from (0, 0, 0).
void addUnitBox(const Commands& zep, int object) {
    const float c[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}};
    const int faces[6][4] = {{4, 7, 6, 5}, {0, 1, 2, 3}, {0, 4, 5, 1}, {3, 2, 6, 7}, {0, 3, 7, 4}, {1, 5, 6, 2}};
    for (const auto& f : faces) {
        zep.AddMeshTri(object, c[f[0]][0], c[f[0]][1], c[f[0]][2], c[f[1]][0], c[f[1]][1], c[f[1]][2], c[f[2]][0],
                       c[f[2]][1], c[f[2]][2]);
        zep.AddMeshTri(object, c[f[0]][0], c[f[0]][1], c[f[0]][2], c[f[2]][0], c[f[2]][1], c[f[2]][2], c[f[3]][0],
                       c[f[3]][1], c[f[3]][2]);
    }
}

}  // namespace

void placeBoxes(const Commands& zep, int first, int count, float side) {
    const int perRow = int(std::ceil(std::sqrt(double(count))));
    const float spacing = side / float(perRow);
    for (int k = 0; k < count; ++k) {
        const int object = first + k;
        zep.NewCollObjZEP(object, 2);
        zep.AddObjShapeZEP(object, ZEP_SHAPE_MESH);
        addUnitBox(zep, object);
        zep.UpdateObjZEP(object, (k % perRow) * spacing, 0, (k / perRow) * spacing, 0, 0, 0);
        zep.ActivateObjZEP(object);
    }
}

void placeShapeCrowd(const Commands& zep, int mover, int meshes, int shapes) {
    zep.NewCollObjZEP(meshes, 2);
    for (int k = 0; k < shapes; ++k) zep.AddObjShapeZEP(meshes, ZEP_SHAPE_MESH);
    addUnitBox(zep, meshes);
    zep.UpdateObjZEP(meshes, 0, 0, 0, 0, 0, 0);
    zep.ActivateObjZEP(meshes);
    zep.NewCollObjZEP(mover, 1);
    for (int k = 0; k < shapes; ++k) zep.AddObjShapeZEP(mover, ZEP_SHAPE_ELLIPSOID);
    zep.SetObjRadiusZEP(mover, kMoverRadii[0], kMoverRadii[1], kMoverRadii[2]);
    zep.UpdateObjZEP(mover, 0.5f, 1.95f, 0.5f, 0, 0, 0);
    zep.ActivateObjZEP(mover);
}

void circleFrame(const Commands& zep, int object, int frame) {
    const float heading = 0.5f * float(frame);
    const float x = zepFloat(zep.PeekObjXZEP(object)), y = zepFloat(zep.PeekObjYZEP(object)),
                z = zepFloat(zep.PeekObjZZEP(object));
    zep.UpdateObjZEP(object, x + 0.1f * std::cos(heading), y - 0.2f, z + 0.1f * std::sin(heading), 0, 0, 0);
    zep.RunCollisionZEP();
}

void stepWalkers(const Commands& zep, int first, int count, int frame, Walk walk) {
    for (int k = 0; k < count; ++k) {
        const int object = first + k;
        // Each mover walks its own small circle, so that it stays on even the
        // smallest level however long the run.
        const float heading = 0.7f * float(k) + walk.turn * float(frame);
        const float x = zepFloat(zep.PeekObjXZEP(object)), y = zepFloat(zep.PeekObjYZEP(object)),
                    z = zepFloat(zep.PeekObjZZEP(object));
        zep.UpdateObjZEP(object, x + walk.step * std::cos(heading), y - 0.2f, z + walk.step * std::sin(heading), 0,
                         0, 0);
    }
}

void walkFrame(const Commands& zep, int first, int count, int frame, Walk walk) {
    stepWalkers(zep, first, count, frame, walk);
    zep.RunCollisionZEP();
}

void placeShots(const Commands& zep, int first, int count) {
    for (int k = 0; k < count; ++k) {
        zep.NewCollObjZEP(first + k, 1);
        zep.AddObjShapeZEP(first + k, ZEP_SHAPE_ELLIPSOID);
        zep.SetObjRadiusZEP(first + k, 0.1f, 0.1f, 0.1f);
        zep.ActivateObjZEP(first + k);
    }
}

void aimShots(const Commands& zep, int first, int count, int frame, float side) {
    std::mt19937 random(uint32_t(frame) * 7919u + 17u);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int k = 0; k < count; ++k) {
        const float x = 1 + unit(random) * (side - 2), z = 1 + unit(random) * (side - 2);
        const float y = heightAt(int(x), int(z)) + 3.0f;
        // A direction in the lower half sphere, 40 units long.
        const float heading = 6.2831853f * unit(random), down = 0.1f + 0.9f * unit(random);
        const float across = std::sqrt(1.0f - down * down);
        zep.UpdateObjZEP(first + k, x, y, z, 0, 0, 0);
        zep.UpdateObjZEP(first + k, x + 40 * across * std::cos(heading), y - 40 * down,
                         z + 40 * across * std::sin(heading), 0, 0, 0);
    }
}

void shootFrame(const Commands& zep, int first, int count, int frame, float side) {
    aimShots(zep, first, count, frame, side);
    zep.RunCollisionZEP();
}

std::vector<uint32_t> snapshot(const Commands& zep, int first, int count) {
    std::vector<uint32_t> words;
    for (int k = 0; k < count; ++k) {
        const int object = first + k;
        for (auto peek : {zep.PeekObjXZEP, zep.PeekObjYZEP, zep.PeekObjZZEP}) words.push_back(uint32_t(peek(object)));
        const int32_t contacts = zep.CountCollisionsZEP(object);
        words.push_back(uint32_t(contacts));
        for (int32_t i = 1; i <= contacts; ++i)
            for (int32_t component = 1; component <= 3; ++component) {
                words.push_back(uint32_t(zep.CollisionHit(object, i, component)));
                words.push_back(uint32_t(zep.CollisionHitNorm(object, i, component)));
            }
    }
    return words;
}

}  // namespace zepbench
