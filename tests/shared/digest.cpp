// The long seeded run whose digest both builds must reproduce (see
// scenarioDigest in shared/scenarios.h).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include "shared/scenario_parts.h"
#include "support/mesh_block.h"

namespace zeptest {

namespace {

class Digest {
public:
    void add(uint32_t word) {
        for (int i = 0; i < 4; ++i) {
            value_ ^= (word >> (8 * i)) & 0xFFu;
            value_ *= 0x100000001B3ull;
        }
    }
    void add(const std::string& text) {
        add(uint32_t(text.size()));
        for (unsigned char ch : text) {
            value_ ^= ch;
            value_ *= 0x100000001B3ull;
        }
    }
    uint64_t value() const { return value_; }

private:
    uint64_t value_ = 0xCBF29CE484222325ull;
};

// Same numbers on every compiler: no standard distributions.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int32_t below(int32_t n) { return int32_t(next() % uint32_t(n)); }
    // A float in [-range, range] on a grid of 1/256, made exactly from integers.
    float coordinate(int32_t range) {
        return float(below(2 * range * 256 + 1) - range * 256) / 256.0f;
    }
    // A float with arbitrary low mantissa bits, in [lo, lo + span).
    float fine(float lo, float span) {
        return lo + span * (float(next() >> 8) / 16777216.0f);
    }

private:
    uint32_t state_;
};

struct World {
    std::vector<int32_t> movers;
    std::vector<int32_t> meshes;
    std::vector<int32_t> all;
};

void addTriangle(const Commands& z, int32_t object, const float c[9]) {
    z.AddMeshTri(object, w(c[0]), w(c[1]), w(c[2]), w(c[3]), w(c[4]), w(c[5]), w(c[6]), w(c[7]), w(c[8]));
}

void addRandomTriangle(const Commands& z, Random& r, int32_t object) {
    // Mostly floors and ramps facing up, some walls, some facing away.
    const float cx = r.coordinate(40);
    const float cy = r.coordinate(6);
    const float cz = r.coordinate(40);
    const float size = 2.0f + float(r.below(24));
    const float tilt = r.fine(-3.0f, 6.0f);
    float c[9] = {cx - size, cy, cz - size, cx - size, cy + tilt, cz + size, cx + size, cy - tilt, cz - size};
    if (r.below(5) == 0) {  // a wall
        c[1] = cy - size, c[4] = cy + size, c[7] = cy - size;
        c[2] = cz, c[5] = cz + r.fine(-1.0f, 2.0f), c[8] = cz;
    }
    if (r.below(7) == 0) {  // seen from behind
        for (int i = 0; i < 3; ++i) std::swap(c[3 + i], c[6 + i]);
    }
    addTriangle(z, object, c);
}

void addRandomBlock(const Commands& z, Random& r, int32_t object) {
    const uint32_t vertexSize = 12 + uint32_t(r.below(29));
    const int32_t vertexCount = r.below(25);
    std::vector<float> positions;
    for (int32_t v = 0; v < vertexCount; ++v) {
        const float x = r.coordinate(40);
        const float y = r.fine(-4.0f, 4.0f);
        const float zz = r.coordinate(40);
        positions.insert(positions.end(), {x, y, zz});
    }
    const std::vector<uint8_t> block = meshBlock(vertexSize, vertexCount, positions);
    z.AddMeshZEP(object, block.data());
}

void foldObject(Digest& d, const Commands& z, int32_t n) {
    d.add(uint32_t(n));
    for (auto peek : {z.PeekObjXZEP, z.PeekObjYZEP, z.PeekObjZZEP}) d.add(uint32_t(peek(n)));
    for (int32_t kind : {ZEP_SHAPE_ELLIPSOID, ZEP_SHAPE_MESH}) d.add(uint32_t(z.CheckShapeZEP(n, kind)));
    const int32_t count = z.CountCollisionsZEP(n);
    d.add(uint32_t(count));
    // One beyond the last, to fold the failure result as well.
    for (int32_t i = 1; i <= count + 1 && i <= 64; ++i) {
        for (int32_t k = 1; k <= 3; ++k) {
            d.add(uint32_t(z.CollisionHit(n, i, k)));
            d.add(uint32_t(z.CollisionHitNorm(n, i, k)));
            for (int32_t corner = 1; corner <= 3; ++corner)
                d.add(uint32_t(z.CollisionTriCorner(n, i, corner, k)));
        }
        d.add(uint32_t(z.CollisionObjHit(n, i)));
        d.add(uint32_t(z.CollisionPolyHit(n, i)));
    }
}

// --- A terrain far from the origin -------------------------------------------
//
// A level placed where floats are coarse (x 2.0e4, z -6.6e4: a spacing of
// 1/512 to 1/128): a height-field of 4608 triangles, enough for the mesh
// index to build its tree, closed by four walls in a mesh of its own. Movers
// walk over it for many passes in the same area, so their sweep caches are
// filled and read; twelve rows added halfway rebuild the tree under them;
// and two movers are sent 1000 and more units in one step, one along the
// terrain toward the far wall and one across the level from far outside.

constexpr float kLevelX = 20480.0f, kLevelY = -48.0f, kLevelZ = -65536.0f;
constexpr int kTerrainCells = 48;  // per side, 2 units each, two triangles each
constexpr int32_t kTerrain = 2000, kWalls = 2001, kFirstWalker = 2100, kWalkers = 10;

// Heights on the grid, in quarter units: a slope with bumps, all exact.
std::vector<float> terrainHeights(Random& r) {
    std::vector<float> h;
    for (int i = 0; i <= kTerrainCells; ++i)
        for (int j = 0; j <= kTerrainCells; ++j) h.push_back(0.125f * float(i) + 0.25f * float(r.below(5)));
    return h;
}

// The two triangles of cell (i, j), facing up, as 18 floats in the mesh frame.
void appendCell(std::vector<float>& out, const std::vector<float>& h, int i, int j) {
    auto corner = [&](int a, int b) {
        out.insert(out.end(), {float(2 * a - kTerrainCells), h[size_t(a * (kTerrainCells + 1) + b)],
                               float(2 * b - kTerrainCells)});
    };
    corner(i, j), corner(i, j + 1), corner(i + 1, j);
    corner(i + 1, j), corner(i, j + 1), corner(i + 1, j + 1);
}

// Rows [first, last) of cells: by memory block, or triangle by triangle.
void addTerrainRows(const Commands& z, const std::vector<float>& h, int first, int last, bool byBlock) {
    std::vector<float> corners;
    for (int i = first; i < last; ++i)
        for (int j = 0; j < kTerrainCells; ++j) appendCell(corners, h, i, j);
    if (byBlock) {
        const std::vector<uint8_t> block = meshBlock(16, int32_t(corners.size() / 3), corners);
        z.AddMeshZEP(kTerrain, block.data());
        return;
    }
    for (size_t c = 0; c < corners.size(); c += 9) addTriangle(z, kTerrain, &corners[c]);
}

// A wall 12 high from (x0, z0) to (x1, z1), facing left of that direction.
void addWall(const Commands& z, float x0, float z0, float x1, float z1) {
    const Word lo = w(-4.0f), hi = w(12.0f);
    z.AddMeshTri(kWalls, w(x0), lo, w(z0), w(x0), hi, w(z0), w(x1), lo, w(z1));
    z.AddMeshTri(kWalls, w(x1), lo, w(z1), w(x0), hi, w(z0), w(x1), hi, w(z1));
}

void placeAt(const Commands& z, int32_t n, float x, float y, float zz) {
    z.UpdateObjZEP(n, w(kLevelX + x), w(kLevelY + y), w(kLevelZ + zz), 0, 0, 0);
}

void walkTerrain(Host& host, Random& r, Digest& d, int frames) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    z.SetCollisionZEP(1, 5, 0, 0, 0);
    z.SetCollisionZEP(1, 6, 0, 0, 0);
    const std::vector<float> heights = terrainHeights(r);
    z.NewCollObjZEP(kTerrain, 5);
    z.AddObjShapeZEP(kTerrain, ZEP_SHAPE_MESH);
    addTerrainRows(z, heights, 0, 18, true);
    addTerrainRows(z, heights, 18, 36, false);
    placeAt(z, kTerrain, 0, 0, 0);
    placeAt(z, kTerrain, 0, 0, 0);
    z.ActivateObjZEP(kTerrain);
    z.NewCollObjZEP(kWalls, 6);
    z.AddObjShapeZEP(kWalls, ZEP_SHAPE_MESH);
    const float e = float(kTerrainCells);
    addWall(z, -e, -e, -e, e), addWall(z, e, e, e, -e), addWall(z, e, -e, -e, -e), addWall(z, -e, e, e, e);
    placeAt(z, kWalls, 0, 0, 0);
    placeAt(z, kWalls, 0, 0, 0);
    z.ActivateObjZEP(kWalls);

    struct Walker {
        int32_t n;
        float vx, vz;
    };
    std::vector<Walker> walkers;
    // Just above the ground, on the rows there from the start.
    auto spawn = [&](int32_t n) {
        const float x = -10.0f + r.coordinate(30), zz = r.coordinate(40);
        const float y = 0.0625f * (x + e) + 3.5f + r.fine(0.0f, 1.0f);
        placeAt(z, n, x, y, zz);
        placeAt(z, n, x, y, zz);
    };
    for (int32_t k = 0; k < kWalkers; ++k) {
        const int32_t n = kFirstWalker + k;
        z.NewCollObjZEP(n, 1);
        z.AddObjShapeZEP(n, ZEP_SHAPE_ELLIPSOID);
        if (k % 2) z.SetObjRadiusZEP(n, w(1.0f), w(1.0f), w(1.0f));
        else z.SetObjRadiusZEP(n, w(0.5f), w(1.8f), w(0.5f));
        spawn(n);
        z.ActivateObjZEP(n);
        const float vx = r.fine(-0.6f, 1.2f);
        const float vz = r.fine(-0.6f, 1.2f);
        walkers.push_back(Walker{n, vx, vz});
    }

    for (int frame = 0; frame < frames; ++frame) {
        for (Walker& walker : walkers) {
            if (frame % 8 == 7) {
                walker.vx = r.fine(-0.6f, 1.2f);
                walker.vz = r.fine(-0.6f, 1.2f);
            }
            const float x = floatOf(Word(z.PeekObjXZEP(walker.n))) - kLevelX;
            const float y = floatOf(Word(z.PeekObjYZEP(walker.n))) - kLevelY;
            const float zz = floatOf(Word(z.PeekObjZZEP(walker.n))) - kLevelZ;
            if (y < -20.0f || std::fabs(x) > 60.0f || std::fabs(zz) > 60.0f) spawn(walker.n);
            else placeAt(z, walker.n, x + walker.vx, y - 0.4f, zz + walker.vz);
        }
        if (frame % 6 == 2) {  // 1000 and more units along the terrain, into the far wall
            const int32_t n = walkers[0].n;
            const float y = 6.0f + r.coordinate(2);
            placeAt(z, n, -40.0f, y, 3.5f);
            placeAt(z, n, -40.0f, y, 3.5f);
            // Drawn one by one: the order in which a call's arguments are
            // evaluated differs between compilers.
            const float across = r.coordinate(20), along = r.fine(0.0f, 300.0f);
            placeAt(z, n, 1000.0f + along, y - 2.0f, 3.5f + across);
        }
        if (frame % 6 == 4) {  // from far outside, across the whole level
            const int32_t n = walkers[1].n;
            const float x = -700.0f - r.fine(0.0f, 200.0f), zz = r.coordinate(40);
            placeAt(z, n, x, 3.0f, zz);
            placeAt(z, n, x, 3.0f, zz);
            const float across = r.coordinate(8), up = r.coordinate(2);
            placeAt(z, n, 700.0f, 1.0f + up, zz + across);
        }
        if (frame == frames / 2) addTerrainRows(z, heights, 36, kTerrainCells, true);
        z.RunCollisionZEP();
        for (const Walker& walker : walkers) foldObject(d, z, walker.n);
        for (const Box& box : host.boxes) d.add(box.text);
        host.boxes.clear();
    }
    z.StopCollisionZEP();
}

}  // namespace

uint64_t scenarioDigest(Host& host, uint32_t seed, int frames) {
    const Commands& z = host.cmd;
    Random r(seed);
    Digest d;
    World world;

    z.StartCollisionZEP();
    // Every draw is its own statement: argument evaluation order differs
    // between compilers, and both builds must draw the same sequence.
    for (int i = 0; i < 12; ++i) {
        const int32_t a = r.below(4);
        const int32_t b = 4 + r.below(4);
        const Word u1 = r.next(), u2 = r.next(), u3 = r.next();
        z.SetCollisionZEP(a, b, u1, u2, u3);
    }
    z.SetCollisionZEP(301, 5, 0, 0, 0);
    z.SetCollisionZEP(0, 0, 0, 0, 0);

    auto makeMover = [&](int32_t n) {
        z.NewCollObjZEP(n, r.below(4));
        z.AddObjShapeZEP(n, ZEP_SHAPE_ELLIPSOID);
        if (r.below(6) == 0) z.AddObjShapeZEP(n, ZEP_SHAPE_ELLIPSOID);
        const float rx = r.fine(0.3f, 2.0f);
        const float ry = r.fine(0.3f, 3.0f);
        const float rz = r.fine(0.3f, 2.0f);
        z.SetObjRadiusZEP(n, w(rx), w(ry), w(rz));
        const float x = r.coordinate(30);
        const float y = 4.0f + r.coordinate(4);
        const float zz = r.coordinate(30);
        z.UpdateObjZEP(n, w(x), w(y), w(zz), 0, 0, 0);
        z.UpdateObjZEP(n, w(x), w(y), w(zz), 0, 0, 0);
        z.ActivateObjZEP(n);
    };
    auto makeMesh = [&](int32_t n) {
        z.NewCollObjZEP(n, 4 + r.below(4));
        z.AddObjShapeZEP(n, ZEP_SHAPE_MESH);
        if (r.below(4) == 0) z.AddObjShapeZEP(n, ZEP_SHAPE_MESH);
        const int32_t triangles = 4 + r.below(20);
        for (int32_t t = 0; t < triangles; ++t) addRandomTriangle(z, r, n);
        addRandomBlock(z, r, n);
        const float x = r.coordinate(3);
        const float y = r.coordinate(2);
        const float zz = r.coordinate(3);
        z.UpdateObjZEP(n, w(x), w(y), w(zz), 0, 0, 0);
        z.UpdateObjZEP(n, w(x), w(y), w(zz), 0, 0, 0);
        z.ActivateObjZEP(n);
    };

    for (int i = 0; i < 8; ++i) {
        const int32_t n = 1000 + i * 7;
        makeMesh(n);
        world.meshes.push_back(n);
    }
    for (int i = 0; i < 24; ++i) {
        const int32_t n = 1 + r.below(900);
        makeMover(n);
        world.movers.push_back(n);
    }
    world.all = world.movers;
    world.all.insert(world.all.end(), world.meshes.begin(), world.meshes.end());

    for (int frame = 0; frame < frames; ++frame) {
        for (int32_t n : world.movers) {
            const Word x = Word(z.PeekObjXZEP(n)), y = Word(z.PeekObjYZEP(n)),
                       zz = Word(z.PeekObjZZEP(n));
            const float vx = r.fine(-0.8f, 1.6f);
            const float vy = r.fine(-1.2f, 1.0f);
            const float vz = r.fine(-0.8f, 1.6f);
            float nx = floatOf(x) + vx, ny = floatOf(y) + vy, nz = floatOf(zz) + vz;
            if (ny < -20.0f || std::fabs(nx) > 60.0f || std::fabs(nz) > 60.0f) {
                nx = r.coordinate(30);
                ny = 6.0f;
                nz = r.coordinate(30);
            }
            const Word u1 = r.next(), u2 = r.next(), u3 = r.next();
            z.UpdateObjZEP(n, w(nx), w(ny), w(nz), u1, u2, u3);
        }
        if (frame % 9 == 4) {  // a mesh moves between passes
            const int32_t m = world.meshes[size_t(r.below(int32_t(world.meshes.size())))];
            const float x = r.coordinate(3);
            const float y = r.coordinate(2);
            const float zz = r.coordinate(3);
            z.UpdateObjZEP(m, w(x), w(y), w(zz), 0, 0, 0);
        }
        if (frame % 7 == 3) {  // activation changes, and an object is replaced
            const int32_t n = world.movers[size_t(r.below(int32_t(world.movers.size())))];
            if (r.below(2))
                z.DeActivateObjZEP(n);
            else
                z.ActivateObjZEP(n);
            if (r.below(3) == 0) makeMover(world.movers[size_t(r.below(int32_t(world.movers.size())))]);
        }
        if (frame % 13 == 6) {  // a failure in debug mode: its box is folded in
            z.StartCollisionDebugZEP();
            z.CollisionTriCorner(world.movers[0], 1, 1 + r.below(5), 1);
            z.FreeObjZEP(5001 + r.below(3));
        }
        z.RunCollisionZEP();
        for (int32_t n : world.all) foldObject(d, z, n);
        z.ResetCollisionStackZEP();
        for (int i = 0; i < 200; ++i) {
            const int32_t n = z.PeekCollisionStackZEP();
            d.add(uint32_t(n));
            if (n == 0) break;
        }
        for (const Box& box : host.boxes) {
            d.add(box.text);
            d.add(box.caption);
        }
        host.boxes.clear();
    }
    z.StopCollisionZEP();
    for (int32_t n : world.all) d.add(uint32_t(z.PeekObjXZEP(n)));
    host.boxes.clear();
    walkTerrain(host, r, d, frames / 2);
    return d.value();
}

// --- Characters --------------------------------------------------------------
//
// Two characters (a tall ellipsoid and a ball) and a plain mover on a floor
// with a walkable ramp, a slope too steep to walk, stairs and a platform that
// rises, sinks and slides, walking a fixed script with gravity and a jump.

namespace {

void addQuad(const Commands& z, int32_t object, const float (&p)[4][3]) {
    const float a[9] = {p[0][0], p[0][1], p[0][2], p[1][0], p[1][1], p[1][2], p[2][0], p[2][1], p[2][2]};
    const float b[9] = {p[0][0], p[0][1], p[0][2], p[2][0], p[2][1], p[2][2], p[3][0], p[3][1], p[3][2]};
    addTriangle(z, object, a);
    addTriangle(z, object, b);
}

void buildCharacterLevel(const Commands& z) {
    z.StartCollisionZEP();
    z.SetCollisionZEP(1, 2, 0, 0, 0);
    z.NewCollObjZEP(2, 2);
    z.AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    addQuad(z, 2, {{-30, 0, -30}, {-30, 0, 30}, {30, 0, 30}, {30, 0, -30}});
    addQuad(z, 2, {{4, 0, -10}, {4, 0, 10}, {10, 3.5f, 10}, {10, 3.5f, -10}});     // about 30 degrees
    addQuad(z, 2, {{-4, 0, -10}, {-8, 7, -10}, {-8, 7, 10}, {-4, 0, 10}});        // about 60 degrees
    for (int i = 0; i < 5; ++i) {                                                 // stairs of 0.3 along +z
        const float z0 = 4 + 0.6f * float(i), h = 0.3f * float(i + 1);
        addQuad(z, 2, {{-3, h, z0}, {-3, h, 12}, {3, h, 12}, {3, h, z0}});
        addQuad(z, 2, {{-3, 0, z0}, {-3, h, z0}, {3, h, z0}, {3, 0, z0}});
    }
    z.UpdateObjZEP(2, 0, 0, 0, 0, 0, 0);
    z.ActivateObjZEP(2);
    z.NewCollObjZEP(3, 2);  // the platform
    z.AddObjShapeZEP(3, ZEP_SHAPE_MESH);
    addQuad(z, 3, {{-2, 0, -2}, {-2, 0, 2}, {2, 0, 2}, {2, 0, -2}});
    z.UpdateObjZEP(3, w(0), w(1), w(-12), 0, 0, 0);
    z.ActivateObjZEP(3);
}

void placeMover(const Commands& z, int32_t n, float rx, float ry, float x, float y, float zz) {
    z.NewCollObjZEP(n, 1);
    z.AddObjShapeZEP(n, ZEP_SHAPE_ELLIPSOID);
    z.SetObjRadiusZEP(n, w(rx), w(ry), w(rx));
    z.UpdateObjZEP(n, w(x), w(y), w(zz), 0, 0, 0);
    z.UpdateObjZEP(n, w(x), w(y), w(zz), 0, 0, 0);
    z.ActivateObjZEP(n);
}

float peek(int32_t (ZEPCALL* query)(int32_t), int32_t n) {
    return floatOf(uint32_t(query(n)));
}

}  // namespace

uint64_t characterDigest(Host& host, const ExtensionCommands& c) {
    const Commands& z = host.cmd;
    Digest d;
    resetWorld(host);
    buildCharacterLevel(z);
    placeMover(z, 10, 0.4f, 0.9f, 0, 1, 0);
    placeMover(z, 11, 0.5f, 0.5f, 0, 2.5f, -12);  // on the platform
    placeMover(z, 12, 0.5f, 1.0f, 2, 3, 2);        // a plain mover
    c.SetCharacterZEP(10, w(45), w(0.5f), w(0.5f));
    c.SetCharacterZEP(11, w(40), w(0.3f), w(0.2f));
    // Walks per stretch of 40 frames: toward the ramp, the steep slope, the
    // stairs and back; the ball rides the platform and walks on it.
    const float walks[4][2] = {{0.08f, 0}, {-0.08f, 0.01f}, {0, 0.07f}, {0.02f, -0.07f}};
    float jump = 0;
    for (int frame = 0; frame < 160; ++frame) {
        const float* walk = walks[frame / 40];
        jump = frame % 40 == 30 ? 0.25f : std::max(jump - 0.02f, 0.0f);
        const float vertical = jump > 0 ? jump : -0.06f;
        const float platformStep[3] = {frame % 60 < 20 ? 0.03f : 0.0f, frame % 60 < 20 ? 0.0f : frame % 60 < 40 ? 0.02f : -0.02f, 0};
        z.UpdateObjZEP(3, w(peek(z.PeekObjXZEP, 3) + platformStep[0]), w(peek(z.PeekObjYZEP, 3) + platformStep[1]),
                       w(peek(z.PeekObjZZEP, 3)), 0, 0, 0);
        z.UpdateObjZEP(10, w(peek(z.PeekObjXZEP, 10) + walk[0]), w(peek(z.PeekObjYZEP, 10) + vertical),
                       w(peek(z.PeekObjZZEP, 10) + walk[1]), 0, 0, 0);
        z.UpdateObjZEP(11, w(peek(z.PeekObjXZEP, 11) + 0.01f), w(peek(z.PeekObjYZEP, 11) - 0.06f),
                       w(peek(z.PeekObjZZEP, 11)), 0, 0, 0);
        z.UpdateObjZEP(12, w(peek(z.PeekObjXZEP, 12) + 0.05f), w(peek(z.PeekObjYZEP, 12) - 0.1f),
                       w(peek(z.PeekObjZZEP, 12) + 0.03f), 0, 0, 0);
        z.RunCollisionZEP();
        for (int32_t n : {10, 11, 12}) foldObject(d, z, n);
        for (int32_t n : {10, 11, 12}) {
            d.add(uint32_t(c.CharacterGroundZEP(n)));
            for (int32_t k = 1; k <= 3; ++k) d.add(uint32_t(c.CharacterGroundNormZEP(n, k)));
            d.add(uint32_t(c.CharacterGroundObjZEP(n)));
            d.add(uint32_t(c.CharacterFlagsZEP(n)));
        }
    }
    z.StopCollisionZEP();
    return d.value();
}

std::string characterDigestLine(uint64_t digest) {
    char text[64];
    std::snprintf(text, sizeof text, "zepcollide character digest: %016llx", (unsigned long long)digest);
    return text;
}

namespace {

constexpr int32_t kFirstCrowdMover = 100;
constexpr int32_t kCrowdMovers = 240;

// A crowd member: every third a character, every seventh with two
// ellipsoids, every eleventh carrying a small mesh (a shield) that the
// others meet and that it passes over itself.
void placeCrowdMember(const Commands& z, const ExtensionCommands& c, int32_t i) {
    const int32_t n = kFirstCrowdMover + i;
    const float x = -24.0f + 2.0f * float(i % 25), zz = -24.0f + 5.0f * float(i / 25);
    placeMover(z, n, 0.35f + 0.05f * float(i % 3), 0.6f + 0.1f * float(i % 4), x, 1.2f + 0.1f * float(i % 5), zz);
    if (i % 7 == 0) {
        z.AddObjShapeZEP(n, ZEP_SHAPE_ELLIPSOID);
        z.SetObjRadiusZEP(n, w(0.4f), w(0.7f), w(0.4f));
    }
    if (i % 11 == 0) {
        z.AddObjShapeZEP(n, ZEP_SHAPE_MESH);
        addQuad(z, n, {{-0.6f, 0.2f, -0.6f}, {-0.6f, 0.2f, 0.6f}, {0.6f, 0.2f, 0.6f}, {0.6f, 0.2f, -0.6f}});
    }
    if (i % 3 == 0) c.SetCharacterZEP(n, w(40.0f + float(i % 4)), w(0.35f), w(0.25f));
}

// Each member's wanted move: a heading that turns every ten frames (exact
// unit directions: no libm, whose last bits differ between the builds),
// gravity, and now and then a jump.
void stepCrowdMember(const Commands& z, int32_t i, int frame) {
    static const float headings[8][2] = {{1, 0}, {0.8f, 0.6f}, {0, 1}, {-0.6f, 0.8f},
                                         {-1, 0}, {-0.8f, -0.6f}, {0, -1}, {0.6f, -0.8f}};
    const int32_t n = kFirstCrowdMover + i;
    const float* heading = headings[(frame / 10 + i) % 8];
    const float speed = 0.05f + 0.01f * float(i % 6);
    const float vertical = (frame + i) % 50 == 0 ? 0.3f : -0.07f;
    z.UpdateObjZEP(n, w(peek(z.PeekObjXZEP, n) + speed * heading[0]), w(peek(z.PeekObjYZEP, n) + vertical),
                   w(peek(z.PeekObjZZEP, n) + speed * heading[1]), 0, 0, 0);
}

}  // namespace

uint64_t crowdDigest(Host& host, const ExtensionCommands& c, int32_t threads, bool stop) {
    const Commands& z = host.cmd;
    Digest d;
    resetWorld(host);
    c.SetCollisionThreadsZEP(threads);
    buildCharacterLevel(z);
    z.SetCollisionZEP(1, 1, 0, 0, 0);  // the members meet one another's shields
    for (int32_t i = 0; i < kCrowdMovers; ++i) placeCrowdMember(z, c, i);
    for (int frame = 0; frame < 60; ++frame) {
        z.UpdateObjZEP(3, w(peek(z.PeekObjXZEP, 3) + (frame % 40 < 20 ? 0.04f : -0.04f)), w(1), w(-12), 0, 0, 0);
        for (int32_t i = 0; i < kCrowdMovers; ++i) stepCrowdMember(z, i, frame);
        z.RunCollisionZEP();
        for (int32_t i = 0; i < kCrowdMovers; ++i) {
            const int32_t n = kFirstCrowdMover + i;
            foldObject(d, z, n);
            d.add(uint32_t(c.CharacterGroundZEP(n)));
            d.add(uint32_t(c.CharacterGroundObjZEP(n)));
            d.add(uint32_t(c.CharacterFlagsZEP(n)));
        }
    }
    if (!stop) return d.value();
    z.StopCollisionZEP();
    c.SetCollisionThreadsZEP(0);
    return d.value();
}

std::string crowdDigestLine(uint64_t digest) {
    char text[64];
    std::snprintf(text, sizeof text, "zepcollide crowd digest: %016llx", (unsigned long long)digest);
    return text;
}

}  // namespace zeptest
