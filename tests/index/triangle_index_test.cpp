// The triangle index of one mesh: built when a sweep first needs it, and a
// build that ran out of memory is not tried again on every sweep.
#include <gtest/gtest.h>

#include "base/allocation.h"
#include "index/triangle_index.h"
#include "world/object.h"
#include "world/shapes.h"

namespace zeptest {
namespace {

class TriangleIndexTest : public ::testing::Test {
protected:
    zep::CollisionBody* body = nullptr;
    zep::MeshShape* mesh = nullptr;

    void SetUp() override {
        body = zep::createBody(1);
        ASSERT_NE(body, nullptr);
        zep::addShape(body, zep::kShapeMesh);
        mesh = zep::asMesh(body->shapesHead);
        for (int i = 0; i < 600; ++i) addTriangle(float(i));
    }
    void TearDown() override {
        zep::testing::failAllocationsAfter(-1);
        zep::destroyBody(body);
    }
    void addTriangle(float x) {
        const float corners[9] = {x, 0, 0, x, 0, 1, x + 1, 0, 0};
        ASSERT_TRUE(zep::appendTriangle(mesh, corners));
    }
};

TEST_F(TriangleIndexTest, BoundsNeedNoIndex) {
    zep::Box3 bounds;
    ASSERT_TRUE(zep::meshBounds(*mesh, bounds));
    EXPECT_EQ(mesh->index, nullptr);
    EXPECT_EQ(bounds.hi.x, 600.0f);
    EXPECT_EQ(bounds.lo.z, 0.0f);
}

TEST_F(TriangleIndexTest, AFailedBuildWaitsForAChangeOrFreedMemory) {
    zep::testing::failAllocationsAfter(1);  // the index record, then nothing more
    EXPECT_FALSE(zep::refreshTriangleIndex(*mesh));
    const int64_t tried = zep::testing::allocationsAttempted();
    EXPECT_FALSE(zep::refreshTriangleIndex(*mesh));
    EXPECT_EQ(zep::testing::allocationsAttempted(), tried) << "tried again with nothing changed";

    zep::testing::failAllocationsAfter(-1);
    EXPECT_FALSE(zep::refreshTriangleIndex(*mesh)) << "nothing changed and nothing freed: still remembered";
    addTriangle(700);
    zep::testing::failAllocationsAfter(0);
    EXPECT_FALSE(zep::refreshTriangleIndex(*mesh));
    EXPECT_GT(zep::testing::allocationsAttempted(), 0) << "the mesh changed: tried again";

    zep::testing::failAllocationsAfter(-1);
    zep::freeRecord(zep::makeRecord<int>());
    EXPECT_TRUE(zep::refreshTriangleIndex(*mesh)) << "memory was freed: tried again";
    EXPECT_GT(mesh->index->tree.boxCount, 0);
}

}  // namespace
}  // namespace zeptest
