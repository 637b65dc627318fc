// The triangle index of one mesh: built when a sweep first needs it, the
// triangles added after the build kept in a tail until it is worth building
// again, a version that tells every change apart, candidates as ascending
// list places, and a build that ran out of memory not tried again on every
// sweep.
#include <vector>

#include "base/allocation.h"
#include "support/mesh_body.h"
#include "world/mesh_index.h"

namespace zeptest {
namespace {

// Triangle i of a strip spans x from i to i + 1.
void addToStrip(MeshBody& strip, float x) { strip.add({x, 0, 0}, {x, 0, 1}, {x + 1, 0, 0}); }

class TriangleIndexTest : public ::testing::Test {
protected:
    MeshBody strip;
    zep::MeshShape* mesh = strip.mesh;
    zep::IndexVersions versions;
    zep::ScratchBuffer scratch;

    void SetUp() override {
        for (int i = 0; i < 600; ++i) addTriangle(float(i));
    }
    void TearDown() override {
        zep::testing::failAllocationsAfter(-1);
        zep::freeWorkArray(scratch.data);
    }
    void addTriangle(float x) { addToStrip(strip, x); }
    // The places gathered for a box spanning x from `lo` to `hi` (y and z
    // across the strip).
    std::vector<int32_t> candidates(float lo, float hi) {
        const int32_t* places = nullptr;
        const int32_t count = zep::gatherCandidates(*mesh->index, zep::Box3{{lo, -1, 0.25f}, {hi, 1, 0.75f}}, scratch, &places);
        return count < 0 ? std::vector<int32_t>{-1} : std::vector<int32_t>(places, places + count);
    }
};

// The strip's 600 triangles, triangle i spanning x from i to i + 1, are more
// than a tail may hold: the first refresh builds the tree over all of them.
// 256 more (a quarter of the tree would be fewer) wait in the tail; one more
// rebuilds.
TEST_F(TriangleIndexTest, TheTailHoldsTrianglesAddedAfterTheBuildUpToTheRebuildPoint) {
    ASSERT_TRUE(zep::refreshMeshIndex(*mesh, versions));
    const zep::TriangleIndex& index = *mesh->index;
    EXPECT_EQ(index.tree.boxCount, 600);
    EXPECT_EQ(index.tailBoxes, nullptr);
    for (int i = 0; i < 256; ++i) addTriangle(float(1000 + i));
    ASSERT_TRUE(zep::refreshMeshIndex(*mesh, versions));
    EXPECT_EQ(index.tree.boxCount, 600);
    EXPECT_EQ(index.listed, 856);
    EXPECT_EQ(candidates(1010.25f, 1010.75f), std::vector<int32_t>{610}) << "a tail triangle is found";
    addTriangle(2000);
    ASSERT_TRUE(zep::refreshMeshIndex(*mesh, versions));
    EXPECT_EQ(index.tree.boxCount, 857);
    EXPECT_EQ(index.tailBoxes, nullptr);
    EXPECT_EQ(candidates(2000.25f, 2000.75f), std::vector<int32_t>{856}) << "found in the new tree";
}

TEST_F(TriangleIndexTest, EveryChangeGetsANewVersionAndNoChangeKeepsIt) {
    ASSERT_TRUE(zep::refreshMeshIndex(*mesh, versions));
    const uint64_t first = mesh->index->version;
    EXPECT_NE(first, 0u);
    ASSERT_TRUE(zep::refreshMeshIndex(*mesh, versions));
    EXPECT_EQ(mesh->index->version, first) << "nothing changed";
    addTriangle(700);
    ASSERT_TRUE(zep::refreshMeshIndex(*mesh, versions));
    const uint64_t second = mesh->index->version;
    EXPECT_NE(second, first);

    // Another mesh's index never takes a version this one had.
    MeshBody other(2);
    addToStrip(other, 0);
    ASSERT_TRUE(zep::refreshMeshIndex(*other.mesh, versions));
    EXPECT_NE(other.mesh->index->version, first);
    EXPECT_NE(other.mesh->index->version, second);
}

// Tree places come back sorted and the tail's follow them, so the exact
// tests visit candidates in list order, as they would the whole list.
TEST_F(TriangleIndexTest, CandidatesAreListPlacesInAscendingOrder) {
    ASSERT_TRUE(zep::refreshMeshIndex(*mesh, versions));
    for (int i = 9; i >= 0; --i) addTriangle(float(i));  // places 600 to 609, x from 9 down to 0
    ASSERT_TRUE(zep::refreshMeshIndex(*mesh, versions));
    ASSERT_EQ(mesh->index->tree.boxCount, 600);
    EXPECT_EQ(candidates(0.25f, 9.75f),
              (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 600, 601, 602, 603, 604, 605, 606, 607, 608, 609}));
    const int32_t* places = nullptr;
    EXPECT_GT(zep::gatherCandidates(*mesh->index, zep::Box3{{0.25f, -1, 0.25f}, {9.75f, 1, 0.75f}}, scratch, &places, 5), 5)
        << "more than a caller wants: a count above it";
}

TEST_F(TriangleIndexTest, BoundsNeedNoIndex) {
    zep::Box3 bounds;
    ASSERT_TRUE(zep::meshBounds(*mesh, bounds));
    EXPECT_EQ(mesh->index, nullptr);
    EXPECT_EQ(bounds.hi.x, 600.0f);
    EXPECT_EQ(bounds.lo.z, 0.0f);
}

TEST_F(TriangleIndexTest, AFailedBuildWaitsForAChangeOrFreedMemory) {
    zep::testing::failAllocationsAfter(1);  // the index record, then nothing more
    EXPECT_FALSE(zep::refreshMeshIndex(*mesh, versions));
    const int64_t tried = zep::testing::allocationsAttempted();
    EXPECT_FALSE(zep::refreshMeshIndex(*mesh, versions));
    EXPECT_EQ(zep::testing::allocationsAttempted(), tried) << "tried again with nothing changed";

    zep::testing::failAllocationsAfter(-1);
    EXPECT_FALSE(zep::refreshMeshIndex(*mesh, versions)) << "nothing changed and nothing freed: still remembered";
    addTriangle(700);
    zep::testing::failAllocationsAfter(0);
    EXPECT_FALSE(zep::refreshMeshIndex(*mesh, versions));
    EXPECT_GT(zep::testing::allocationsAttempted(), 0) << "the mesh changed: tried again";

    zep::testing::failAllocationsAfter(-1);
    zep::freeRecord(zep::makeRecord<int>());
    EXPECT_TRUE(zep::refreshMeshIndex(*mesh, versions)) << "memory was freed: tried again";
    EXPECT_GT(mesh->index->tree.boxCount, 0);
}

}  // namespace
}  // namespace zeptest
