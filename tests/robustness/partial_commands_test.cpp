// Commands that add several triangles are all or nothing when memory runs
// out: before, a body with two meshes could end up with a triangle in the
// first mesh and not in the second, so the same triangle number named
// different triangles, and a mesh block could stop half read.
#include <vector>

#include "base/allocation.h"
#include "robustness/world_snapshot.h"
#include "support/fixture.h"
#include "support/mesh_block.h"
#include "support/invariants.h"
#include "support/world_view.h"

namespace zeptest {
namespace {

using ::testing::IsEmpty;

class PartialCommandTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
        NewCollObjZEP(2, 2);
        AddObjShapeZEP(2, ZEP_SHAPE_MESH);
        AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    }
    void TearDown() override {
        zep::testing::failAllocationsAfter(-1);
        CommandTest::TearDown();
    }

    int trianglesOf(int place) { return zep::asMesh(shapeAt(2, place))->triangleCount; }
};

TEST_F(PartialCommandTest, TriangleForTwoMeshesWithMemoryForOneAddsNone) {
    const std::string before = worldSnapshot();
    zep::testing::failAllocationsAfter(1);  // the first mesh's copy is made, the second's is not
    AddMeshTri(2, 0, 0, 0, 0, 0, 1, 1, 0, 0);
    zep::testing::failAllocationsAfter(-1);
    EXPECT_EQ(trianglesOf(0), 0);
    EXPECT_EQ(trianglesOf(1), 0);
    EXPECT_EQ(before, worldSnapshot());
    EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
}

TEST_F(PartialCommandTest, MeshBlockThatRunsOutOfMemoryAddsNone) {
    // Three triangles into two meshes make six records; the fifth fails.
    std::vector<float> positions;
    for (int v = 0; v < 9; ++v) positions.insert(positions.end(), {float(v), 0, float(v % 2)});
    const std::vector<uint8_t> block = meshBlock(12, 9, positions);
    const std::string before = worldSnapshot();
    zep::testing::failAllocationsAfter(4);
    AddMeshZEP(2, block.data());
    zep::testing::failAllocationsAfter(-1);
    EXPECT_EQ(before, worldSnapshot());
    EXPECT_THAT(zeptest::worldViolations(), IsEmpty());

    AddMeshZEP(2, block.data());
    EXPECT_EQ(trianglesOf(0), 3);
    EXPECT_EQ(trianglesOf(1), 3);
    EXPECT_EQ(triangleFloats(zep::asMesh(shapeAt(2, 0))), triangleFloats(zep::asMesh(shapeAt(2, 1))));
}

}  // namespace
}  // namespace zeptest
