// Shapes, radii, and the two ways triangles arrive: one at a time and in bulk
// from the host's mesh memory block.
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include "support/fixture.h"
#include "support/mesh_block.h"
#include "support/world_view.h"

namespace zeptest {
namespace {

using ::testing::ElementsAre;

// A host mesh block whose vertex i holds (i, i + 0.5, -i), so that a misread
// stride shows.
std::vector<uint8_t> numberedBlock(uint32_t vertexSize, int32_t vertexCount, int vertices) {
    std::vector<float> positions;
    for (int i = 0; i < vertices; ++i) positions.insert(positions.end(), {float(i), float(i) + 0.5f, -float(i)});
    return meshBlock(vertexSize, vertexCount, positions);
}

std::vector<float> expectedTriangles(int count) {
    std::vector<float> floats;
    for (int i = 0; i < count * 3; ++i) floats.insert(floats.end(), {float(i), float(i) + 0.5f, -float(i)});
    return floats;
}

class ShapeTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
        NewCollObjZEP(1, 1);
    }
    zep::MeshShape* mesh(int place) { return zep::asMesh(shapeAt(1, place)); }
    zep::EllipsoidShape* ellipsoid(int place) { return zep::asEllipsoid(shapeAt(1, place)); }
};

TEST_F(ShapeTest, UnknownKindsAreIgnoredSilently) {
    StartCollisionDebugZEP();
    AddObjShapeZEP(1, 3);
    AddObjShapeZEP(1, 0);
    AddObjShapeZEP(1, -1);
    EXPECT_TRUE(shapeKinds(1).empty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ShapeTest, RadiiApplyToEveryEllipsoidAndOnlyWhenAllPositive) {
    AddObjShapeZEP(1, 1);
    AddObjShapeZEP(1, 2);
    AddObjShapeZEP(1, 1);
    EXPECT_THAT(shapeKinds(1), ElementsAre(1, 2, 1));
    EXPECT_VEC3_EQ(zep::Vec3(1, 1, 1), ellipsoid(0)->radii);
    SetObjRadiusZEP(1, 2, 1, 2);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float bad[][3] = {{1, 0, 1}, {-0.0f, 1, 1}, {1, 1, -3}, {nan, 1, 1}, {1, nan, 1}};
    for (const auto& r : bad) {
        StartCollisionDebugZEP();
        SetObjRadiusZEP(1, r[0], r[1], r[2]);
        for (int place : {0, 2}) EXPECT_VEC3_EQ(zep::Vec3(2, 1, 2), ellipsoid(place)->radii);
    }
    EXPECT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].text, "Ellip radius values must be positive for object: 1");
}

TEST_F(ShapeTest, TrianglesGoToEveryMeshAndNotToEllipsoids) {
    AddObjShapeZEP(1, 1);
    AddMeshTri(1, 1, 2, 3, 4, 5, 6, 7, 8, 9);  // no mesh yet: not kept for later
    AddObjShapeZEP(1, 2);
    AddObjShapeZEP(1, 2);
    AddMeshTri(1, 1, 2, 3, 4, 5, 6, 7, 8, 9);
    for (int place : {1, 2}) {
        EXPECT_THAT(triangleFloats(mesh(place)), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9));
        EXPECT_EQ(mesh(place)->triangles.count, 1);
    }
    EXPECT_NE(&zep::triangleAt(mesh(1)->triangles, 0), &zep::triangleAt(mesh(2)->triangles, 0));  // each its own copy
}

TEST_F(ShapeTest, MeshBlockStridesAndCounts) {
    struct Case {
        uint32_t vertexSize;
        int32_t vertexCount;
        int triangles;
    };
    const Case cases[] = {{12, 6, 2}, {32, 3, 1}, {34, 6, 2}, {12, 7, 2},
                          {12, 2, 0}, {12, 0, 0}, {12, -6, 0}};
    for (const Case& c : cases) {
        NewCollObjZEP(1, 1);
        AddObjShapeZEP(1, 2);
        const auto block = numberedBlock(c.vertexSize, c.vertexCount, std::max(c.vertexCount, 0));
        AddMeshZEP(1, block.data());
        EXPECT_EQ(triangleFloats(mesh(0)), expectedTriangles(c.triangles))
            << "vertexSize " << c.vertexSize << ", vertexCount " << c.vertexCount;
    }
}

// A body that cannot keep triangles does not read the block: here its header
// ends a page and the vertices it announces would lie in an unreadable one.
TEST_F(ShapeTest, MeshBlockOfABodyWithoutMeshIsNotRead) {
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    auto* pages = static_cast<unsigned char*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(mprotect(pages + page, page, PROT_NONE), 0);
    const auto header = numberedBlock(32, 3000, 0);
    unsigned char* block = pages + page - 12;
    std::memcpy(block, header.data(), 12);
    AddObjShapeZEP(1, 1);
    AddMeshZEP(1, block);  // reading a vertex would fault
    EXPECT_EQ(ellipsoid(0)->header.next, nullptr);
    munmap(pages, 2 * page);
}

TEST_F(ShapeTest, MeshBlockFillsEveryMeshNumberedFromOne) {
    AddObjShapeZEP(1, 2);
    AddObjShapeZEP(1, 1);
    AddObjShapeZEP(1, 2);
    AddMeshTri(1, 9, 9, 9, 9, 9, 9, 9, 9, 9);
    const auto block = numberedBlock(16, 9, 9);
    AddMeshZEP(1, block.data());
    AddMeshZEP(1, nullptr);  // a null block is ignored
    std::vector<float> expected(9, 9.0f);
    const auto fromBlock = expectedTriangles(3);
    expected.insert(expected.end(), fromBlock.begin(), fromBlock.end());
    EXPECT_EQ(triangleFloats(mesh(0)), expected);
    EXPECT_EQ(triangleFloats(mesh(2)), expected);
    EXPECT_EQ(mesh(2)->triangles.count, 4);
}

}  // namespace
}  // namespace zeptest
