// The indexed paths (mesh index, broad phase, rule table) against the plain
// reference path that visits every pair and every triangle: random scenes must
// give the same results to the bit.
#include <cmath>
#include <cstdlib>

#include "base/reference_path.h"
#include "support/fixture.h"
#include "support/random_scene.h"

namespace zeptest {
namespace {

class DifferentialTest : public CommandTest {
protected:
    void TearDown() override {
        zep::linearReference = false;
        CommandTest::TearDown();
    }
    static std::vector<uint32_t> record(uint32_t seed, bool linear, const SceneSize& size) {
        zep::linearReference = linear;
        return recordRandomScene(seed, size);
    }
};

// ZEP_DIFFERENTIAL_SEEDS=N runs N scenes instead of the short default.
uint32_t seedCount() {
    const char* text = std::getenv("ZEP_DIFFERENTIAL_SEEDS");
    return text ? uint32_t(std::strtoul(text, nullptr, 10)) : 60u;
}

TEST_F(DifferentialTest, IndexedPathsMatchThePlainPathBitForBit) {
    const SceneSize size;
    size_t contactsSeen = 0;
    for (uint32_t seed = 1; seed <= seedCount(); ++seed) {
        const auto indexed = record(seed, false, size);
        const auto plain = record(seed, true, size);
        ASSERT_EQ(firstDifference(indexed, plain), "") << "seed " << seed;
        contactsSeen += indexed.size();
    }
    EXPECT_GT(contactsSeen, 0u);
}

// Objects of many shapes: the copies of one set of triangles that a body's
// mesh shapes hold share work within a step, and each ellipsoid of a mover
// makes its own chain.
TEST_F(DifferentialTest, ObjectsOfManyShapesMatchThePlainPathBitForBit) {
    SceneSize size;
    size.manyShapes = true;
    for (uint32_t seed = 1; seed <= seedCount() / 2; ++seed)
        ASSERT_EQ(firstDifference(record(seed, false, size), record(seed, true, size)), "") << "seed " << seed;
}

// A large mesh with one corner that is not a number is swept whole, on both
// paths alike, and its boxes are never sorted into a tree.
TEST_F(DifferentialTest, MeshWithANanCornerIsSweptWhole) {
    std::vector<int32_t> results[2];
    for (int linear = 0; linear < 2; ++linear) {
        zep::linearReference = linear == 1;
        StartCollisionZEP();
        SetCollisionZEP(1, 2, 0, 0, 0);
        NewCollObjZEP(2, 2);
        AddObjShapeZEP(2, ZEP_SHAPE_MESH);
        for (int i = 0; i < 600; ++i)
            AddMeshTri(2, float(i), 0, 0, float(i), 0, 1, float(i) + 1, 0, 0);
        AddMeshTri(2, 3, NAN, 0, 3, 0, 1, 4, 0, 0);
        UpdateObjZEP(2, 0, 0, 0, 0, 0, 0);
        ActivateObjZEP(2);
        NewCollObjZEP(1, 1);
        AddObjShapeZEP(1, ZEP_SHAPE_ELLIPSOID);
        UpdateObjZEP(1, 10.25f, 3, 0.25f, 0, 0, 0);
        ActivateObjZEP(1);
        UpdateObjZEP(1, 10.25f, -3, 0.25f, 0, 0, 0);
        RunCollisionZEP();
        results[linear] = {PeekObjXZEP(1), PeekObjYZEP(1), PeekObjZZEP(1), CountCollisionsZEP(1)};
        StopCollisionZEP();
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(zepFloat(results[0][1]), 1.0f);  // it landed on the strip
}

TEST_F(DifferentialTest, ScenesAreRepeatable) {
    const SceneSize size{.frames = 10, .maxMeshObjects = 3, .maxMovers = 3};
    EXPECT_EQ(record(7, false, size), record(7, false, size));
    EXPECT_NE(record(7, false, size), record(8, false, size));
}

}  // namespace
}  // namespace zeptest
