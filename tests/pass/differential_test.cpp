// The indexed paths (mesh index, broad phase, rule table) against the plain
// reference path that visits every pair and every triangle: random scenes must
// give the same results to the bit.
#include <cmath>
#include <cstdlib>
#include <random>

#include "support/fixture.h"
#include "support/pass_threads.h"
#include "support/plain_path.h"
#include "support/random_scene.h"
#include "support/scene.h"

namespace zeptest {
namespace {

class DifferentialTest : public CommandTest {};

// ZEP_DIFFERENTIAL_SEEDS=N runs N scenes instead of the short default.
uint32_t seedCount() {
    const char* text = std::getenv("ZEP_DIFFERENTIAL_SEEDS");
    return text ? uint32_t(std::strtoul(text, nullptr, 10)) : 60u;
}

// Half as many scenes again of objects of many shapes: the copies of one
// set of triangles that a body's mesh shapes hold share work within a step,
// and each ellipsoid of a mover makes its own chain.
TEST_F(DifferentialTest, IndexedPathsMatchThePlainPathBitForBit) {
    size_t contactsSeen = 0;
    for (bool manyShapes : {false, true})
        for (uint32_t seed = 1; seed <= (manyShapes ? seedCount() / 2 : seedCount()); ++seed) {
            const SceneSize size{.manyShapes = manyShapes};
            const auto [indexed, plain] = bothPaths([&] { return recordRandomScene(seed, size); });
            ASSERT_EQ(firstDifference(indexed, plain), "") << "seed " << seed << (manyShapes ? ", many shapes" : "");
            contactsSeen += indexed.size();
        }
    EXPECT_GT(contactsSeen, 0u);
}

// The pass split over threads against the pass on the host's thread alone:
// every result and the order of every contact list, the movers' and the
// meshes', at every thread count, with every pass split (one mover a
// thread is enough), on both paths and on objects of many shapes.
TEST_F(DifferentialTest, ThreadedPassesMatchTheSerialPassBitForBit) {
    const int64_t splitBefore = zep::testing::splitPasses();
    for (bool plain : {false, true})
        for (uint32_t seed = 1; seed <= seedCount() / 3; ++seed) {
            const PlainPath path(plain);
            const SceneSize size{.maxMovers = 24, .manyShapes = seed % 2 == 0, .recordMeshLists = true};
            const auto serial = recordRandomScene(seed, size);
            atEveryThreadCount([&] { return recordRandomScene(seed, size); },
                               [&](int32_t threads, const std::vector<uint32_t>& threaded) {
                                   ASSERT_EQ(firstDifference(threaded, serial), "")
                                       << "seed " << seed << ", " << threads << " threads" << (plain ? ", plain" : "");
                               });
        }
    EXPECT_GT(zep::testing::splitPasses(), splitBefore);
}

// A large mesh with one corner that is not a number is swept whole, on both
// paths alike, and its boxes are never sorted into a tree.
TEST_F(DifferentialTest, MeshWithANanCornerIsSweptWhole) {
    const auto results = bothPaths([] {
        startMoversOnMeshes();
        std::vector<Triangle> triangles = strip(600);
        triangles.push_back({3, NAN, 0, 3, 0, 1, 4, 0, 0});
        makeMeshObject(2, 2, triangles);
        makeMover(1, 1, {1, 1, 1}, {10.25f, 3, 0.25f});
        moveTo(1, {10.25f, -3, 0.25f});
        RunCollisionZEP();
        const std::vector<int32_t> out{PeekObjXZEP(1), PeekObjYZEP(1), PeekObjZZEP(1), CountCollisionsZEP(1)};
        StopCollisionZEP();
        return out;
    });
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(zepFloat(results[0][1]), 1.0f);  // it landed on the strip
}

// Long sweeps aimed at the corners and edges of a grid of cells, where the
// triangles around a corner tie for the nearest hit and a grazing sweep meets
// a plane far past its own corner: the order of the list decides there, and
// the indexed path, which sweeps each triangle alone first, must see it.
constexpr int kCells = 20;
float gridHeight(int i, int j) { return float((i * 7 + j * 3) % 5) * 0.25f; }

// A started world with object 100: a grid of cells x cells cells of two
// triangles, heights from gridHeight.
void startWithGrid(int cells) {
    startMoversOnMeshes();
    NewCollObjZEP(100, 2);
    AddObjShapeZEP(100, ZEP_SHAPE_MESH);
    const auto height = gridHeight;
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < cells; ++j) {
            const float x = float(i), z = float(j);
            AddMeshTri(100, x, height(i, j), z, x, height(i, j + 1), z + 1, x + 1, height(i + 1, j + 1), z + 1);
            AddMeshTri(100, x, height(i, j), z, x + 1, height(i + 1, j + 1), z + 1, x + 1, height(i + 1, j), z);
        }
    UpdateObjZEP(100, 0, 0, 0, 0, 0, 0);
    ActivateObjZEP(100);
}

std::vector<uint32_t> shootAtGridCorners(uint32_t seed) {
    startWithGrid(kCells);
    const auto height = gridHeight;
    std::mt19937 random(seed);
    auto uniform = [&random](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(random); };
    constexpr int kShots = 60;
    for (int k = 1; k <= kShots; ++k) {
        NewCollObjZEP(k, 1);
        AddObjShapeZEP(k, ZEP_SHAPE_ELLIPSOID);
        const float r = uniform(0.05f, 0.6f);
        SetObjRadiusZEP(k, r, k % 3 ? r : r * 2.5f, r);
        ActivateObjZEP(k);
    }
    std::vector<uint32_t> out;
    for (int frame = 0; frame < 20; ++frame) {
        for (int k = 1; k <= kShots; ++k) {
            // A corner, or the middle of an edge, of the grid, a radius up.
            const int i = int(uniform(2, kCells - 2)), j = int(uniform(2, kCells - 2));
            const float tx = float(i) + (k % 4 == 0 ? 0.5f : 0.0f), tz = float(j);
            const float ty = height(i, j) + uniform(0.0f, 0.3f);
            const float heading = uniform(0, 6.2831853f), rise = uniform(0.01f, 1.5f), length = uniform(4, 16);
            const float dx = std::cos(heading), dz = std::sin(heading);
            UpdateObjZEP(k, tx - dx * length, ty + rise * length, tz - dz * length, 0, 0, 0);
            UpdateObjZEP(k, tx + dx * 2, ty - rise * 2, tz + dz * 2, 0, 0, 0);
        }
        RunCollisionZEP();
        for (int k = 1; k <= kShots; ++k) appendHostView(out, k);
    }
    StopCollisionZEP();
    return out;
}

TEST_F(DifferentialTest, LongSweepsAtGridCornersMatchThePlainPath) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        const auto [indexed, plain] = bothPaths([seed] { return shootAtGridCorners(seed); });
        ASSERT_EQ(firstDifference(indexed, plain), "") << "seed " << seed;
    }
}

// Moves from above the grid to beyond the largest float: such a path's
// float length is infinite, and no triangle may be left out for it (on a
// small grid the candidates come in list order, not nearest first).
std::vector<uint32_t> moveFarPastTheGrid(int cells) {
    startWithGrid(cells);
    std::vector<uint32_t> out;
    std::mt19937 random(5);
    auto uniform = [&random](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(random); };
    constexpr int kMovers = 60;  // the grid is object 100
    for (int k = 1; k <= kMovers; ++k) {
        NewCollObjZEP(k, 1);
        AddObjShapeZEP(k, ZEP_SHAPE_ELLIPSOID);
        // Radius 1: the path divided by it stays finite; its length does not.
        const float size = float(cells);
        UpdateObjZEP(k, uniform(1, size - 1), uniform(2.5f, 4), size - uniform(0.5f, 2), 0, 0, 0);
        ActivateObjZEP(k);
        UpdateObjZEP(k, uniform(-100, 100), -3.4e38f, -3.4e38f * uniform(0.7f, 1), 0, 0, 0);
    }
    RunCollisionZEP();
    for (int k = 1; k <= kMovers; ++k)
        for (int32_t word : {PeekObjXZEP(k), PeekObjYZEP(k), PeekObjZZEP(k), CountCollisionsZEP(k)})
            out.push_back(uint32_t(word));
    StopCollisionZEP();
    return out;
}

TEST_F(DifferentialTest, MovesPastTheLargestFloatMatchThePlainPath) {
    for (int cells : {11, kCells}) {
        const auto [indexed, plain] = bothPaths([cells] { return moveFarPastTheGrid(cells); });
        EXPECT_EQ(firstDifference(indexed, plain), "") << cells;
    }
}

TEST_F(DifferentialTest, ScenesAreRepeatable) {
    const SceneSize size{.frames = 10, .maxMeshObjects = 3, .maxMovers = 3};
    EXPECT_EQ(recordRandomScene(7, size), recordRandomScene(7, size));
    EXPECT_NE(recordRandomScene(7, size), recordRandomScene(8, size));
}

}  // namespace
}  // namespace zeptest
