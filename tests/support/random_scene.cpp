#include "support/random_scene.h"

#include <array>
#include <cmath>
#include <random>

#include "support/records.h"
#include "support/world_view.h"
#include "world/contact.h"
#include "world/shapes.h"
#include "world/world.h"
#include "api/state.h"
#include "zepcollide.h"

namespace zeptest {

namespace {

constexpr int kFirstMesh = 100;
constexpr int kFirstMover = 1;
constexpr float kArena = 20.0f;

class SceneBuilder {
public:
    explicit SceneBuilder(uint32_t seed) : random_(seed) {}

    float uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(random_); }
    int below(int n) { return int(random_() % uint32_t(n)); }
    bool chance(int percent) { return below(100) < percent; }

    // A terrain patch of (n + 1)² shared corners, both windings of a cell's
    // diagonal, and walls standing on it.
    void terrain(int object) {
        // Some patches are large enough for the mesh index to build its tree.
        const int n = chance(30) ? 12 + below(12) : 2 + below(6);
        const float cell = uniform(0.5f, 4.0f);
        std::vector<float> height((n + 1) * (n + 1));
        for (float& h : height) h = chance(30) ? 0.0f : uniform(-1.0f, 1.0f);
        auto corner = [&](int i, int j) { return std::array<float, 3>{i * cell, height[i * (n + 1) + j], j * cell}; };
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                const auto a = corner(i, j), b = corner(i, j + 1), c = corner(i + 1, j + 1), d = corner(i + 1, j);
                triangle(object, a, b, c);
                triangle(object, a, c, d);
            }
        for (int w = below(3); w > 0; --w) wall(object, n * cell);
    }

    void wall(int object, float extent) {
        const float x = uniform(0, extent), z = uniform(0, extent), h = uniform(0.2f, 3.0f);
        const float dx = uniform(-4, 4), dz = uniform(-4, 4);
        const std::array<float, 3> a{x, -1, z}, b{x + dx, -1, z + dz}, c{x + dx, h, z + dz}, d{x, h, z};
        triangle(object, a, b, c);
        triangle(object, a, c, d);
        if (chance(50)) {  // the back faces too
            triangle(object, a, c, b);
            triangle(object, a, d, c);
        }
    }

    // Slivers, degenerate and duplicate triangles, and random ones.
    void oddTriangles(int object) {
        for (int k = below(6); k > 0; --k) {
            const std::array<float, 3> a{uniform(-kArena, kArena), uniform(-2, 3), uniform(-kArena, kArena)};
            std::array<float, 3> b{a[0] + uniform(-5, 5), a[1] + uniform(-2, 2), a[2] + uniform(-5, 5)};
            std::array<float, 3> c{a[0] + uniform(-5, 5), a[1] + uniform(-2, 2), a[2] + uniform(-5, 5)};
            switch (below(5)) {
                case 0: c = {b[0] + 1e-4f, b[1], b[2] - 1e-4f}; break;                        // sliver
                case 1: c = {(a[0] + b[0]) / 2, (a[1] + b[1]) / 2, (a[2] + b[2]) / 2}; break;  // collinear
                case 2: c = b; break;                                                        // two equal corners
                default: break;
            }
            triangle(object, a, b, c);
            if (chance(30)) triangle(object, a, b, c);  // duplicate
        }
    }

    void triangle(int object, const std::array<float, 3>& a, const std::array<float, 3>& b,
                  const std::array<float, 3>& c) {
        AddMeshTri(object, a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2]);
    }

    void meshObject(int object) {
        NewCollObjZEP(object, chance(80) ? 2 : 3);
        AddObjShapeZEP(object, ZEP_SHAPE_MESH);
        if (chance(25) && !singleMesh) AddObjShapeZEP(object, ZEP_SHAPE_MESH);
        terrain(object);
        oddTriangles(object);
        for (int k = manyShapes ? below(5) : 0; k > 0; --k) {
            AddObjShapeZEP(object, ZEP_SHAPE_MESH);
            oddTriangles(object);
        }
        UpdateObjZEP(object, uniform(-kArena, kArena / 2), chance(50) ? 0.0f : uniform(-1, 1),
                     uniform(-kArena, kArena / 2), 0, 0, 0);
        ActivateObjZEP(object);
    }

    void radii(float r[3]) {
        const int kind = below(10);
        for (int axis = 0; axis < 3; ++axis)
            r[axis] = kind == 0 ? uniform(1e3f, 1e6f) : kind == 1 ? uniform(1e-6f, 1e-3f) : uniform(0.2f, 2.0f);
    }

    void mover(int object) {
        NewCollObjZEP(object, 1);
        AddObjShapeZEP(object, ZEP_SHAPE_ELLIPSOID);
        if (chance(20)) AddObjShapeZEP(object, ZEP_SHAPE_ELLIPSOID);
        for (int k = manyShapes ? below(5) : 0; k > 0; --k) AddObjShapeZEP(object, ZEP_SHAPE_ELLIPSOID);
        float r[3];
        radii(r);
        SetObjRadiusZEP(object, r[0], r[1], r[2]);
        if (chance(10) && !singleMesh) AddObjShapeZEP(object, ZEP_SHAPE_MESH);  // a mover that can also be met
        if (chance(10)) AddMeshTri(object, -1, 0, -1, -1, 0, 1, 1, 0, -1);
        placeAt(object, uniform(-kArena, kArena), uniform(-0.5f, 4.0f), uniform(-kArena, kArena));
        ActivateObjZEP(object);
    }

    void placeAt(int object, float x, float y, float z) { UpdateObjZEP(object, x, y, z, 0, 0, 0); }

    // One frame of movement: a step with gravity, sometimes none, sometimes a
    // jump back into the ground (an embedded start next frame).
    void step(int object) {
        const float x = zepFloat(PeekObjXZEP(object)), y = zepFloat(PeekObjYZEP(object)),
                    z = zepFloat(PeekObjZZEP(object));
        switch (below(10)) {
            case 0: placeAt(object, x, y, z); break;
            case 1: placeAt(object, x, uniform(-0.5f, 0.5f), z); break;
            case 2: placeAt(object, x + uniform(-8, 8), y + uniform(-8, 2), z + uniform(-8, 8)); break;
            case 3: placeAt(object, x + uniform(-2, 2), y, z); break;  // along the grid's edges
            case 4: placeAt(object, x, y, z + uniform(-2, 2)); break;
            default: placeAt(object, x + uniform(-1, 1), y - uniform(0, 0.6f), z + uniform(-1, 1)); break;
        }
    }

    std::mt19937 random_;
    bool singleMesh = false;
    bool manyShapes = false;
};

void recordObject(std::vector<uint32_t>& out, int object) {
    for (int32_t (*peek)(int32_t) : {PeekObjXZEP, PeekObjYZEP, PeekObjZZEP}) out.push_back(uint32_t(peek(object)));
    const int32_t count = CountCollisionsZEP(object);
    out.push_back(uint32_t(count));
    for (int32_t i = 1; i <= count; ++i) {
        appendContact(out, *zep::contactAt(bodyOf(object), uint32_t(i)));
        out.push_back(uint32_t(CollisionObjHit(object, i)));
        for (int corner = 1; corner <= 3; ++corner)
            for (int component = 1; component <= 3; ++component)
                out.push_back(uint32_t(CollisionTriCorner(object, i, corner, component)));
    }
}

// Each mesh's contacts in the order its list holds them.
void recordMeshLists(std::vector<uint32_t>& out) {
    for (const zep::CollisionBody* body = zep::world().bodyListHead; body; body = body->next)
        for (zep::CollisionShape* shape = body->shapesHead; shape; shape = shape->next) {
            const zep::MeshShape* mesh = zep::asMesh(shape);
            if (!mesh) continue;
            out.push_back(uint32_t(mesh->referrerCount));
            for (const zep::Contact* contact = mesh->referrersHead; contact; contact = contact->referrerNext) {
                uint32_t place = 0;
                for (const zep::Contact* c = contact; c; c = c->prev) ++place;
                out.push_back(uint32_t(contact->owner->objectNumber));
                out.push_back(place);
            }
        }
}

}  // namespace

std::vector<uint32_t> recordRandomScene(uint32_t seed, const SceneSize& size) {
    StopCollisionZEP();
    StartCollisionZEP();
    SceneBuilder scene(seed);
    scene.singleMesh = size.singleMesh;
    scene.manyShapes = size.manyShapes;
    SetCollisionZEP(1, 2, 0, 0, 0);
    if (scene.chance(50)) SetCollisionZEP(1, 3, 0, 0, 0);
    if (scene.chance(20)) SetCollisionZEP(1, 1, 0, 0, 0);
    const int meshes = size.singleMesh ? 1 : 1 + scene.below(size.maxMeshObjects);
    const int movers = 1 + scene.below(size.maxMovers);
    // Interleave creation so body order mixes movers and meshes.
    for (int i = 0; i < std::max(meshes, movers); ++i) {
        if (i < meshes) scene.meshObject(kFirstMesh + i);
        if (i < movers) scene.mover(kFirstMover + i);
    }
    std::vector<uint32_t> out;
    for (int frame = 0; frame < size.frames; ++frame) {
        for (int i = 0; i < movers; ++i) scene.step(kFirstMover + i);
        for (int i = 0; i < meshes; ++i)
            if (scene.chance(10)) scene.placeAt(kFirstMesh + i, scene.uniform(-kArena, kArena / 2), 0, scene.uniform(-kArena, kArena / 2));
        if (scene.chance(10)) scene.oddTriangles(kFirstMesh + scene.below(meshes));
        if (scene.chance(5)) scene.terrain(kFirstMesh + scene.below(meshes));
        // A mesh replaced by a new one, and a mover given new radii: what a
        // mover kept from earlier sweeps must not outlive either.
        if (scene.chance(4)) scene.meshObject(kFirstMesh + scene.below(meshes));
        if (scene.chance(5)) {
            float r[3];
            scene.radii(r);
            SetObjRadiusZEP(kFirstMover + scene.below(movers), r[0], r[1], r[2]);
        }
        if (scene.chance(5)) DeActivateObjZEP(kFirstMesh + scene.below(meshes));
        if (scene.chance(5)) ActivateObjZEP(kFirstMesh + scene.below(meshes));
        if (size.observe) size.observe(kFirstMover, movers, false);
        RunCollisionZEP();
        if (size.observe) size.observe(kFirstMover, movers, true);
        for (int i = 0; i < movers; ++i) recordObject(out, kFirstMover + i);
        if (size.recordMeshLists) recordMeshLists(out);
    }
    StopCollisionZEP();
    return out;
}

std::string firstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
        if (a[i] != b[i])
            return "word " + std::to_string(i) + " of " + std::to_string(common) + ": " + std::to_string(a[i]) +
                   " vs " + std::to_string(b[i]);
    if (a.size() != b.size()) return "lengths " + std::to_string(a.size()) + " vs " + std::to_string(b.size());
    return "";
}

}  // namespace zeptest
