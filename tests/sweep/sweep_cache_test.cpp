// The ellipsoid's sweep cache: sweeps through it must give the very record a
// sweep without it gives, also after the mesh, the radii or the memory change
// under it.
#include <cmath>
#include <optional>
#include <vector>

#include "base/allocation.h"
#include "support/mesh_body.h"
#include "support/records.h"
#include "sweep/mesh_sweep.h"
#include "sweep/sweep_cache.h"

namespace zeptest {
namespace {

using zep::SweepResult;
using zep::Vec3;

class SweepCacheTest : public ::testing::Test {
protected:
    std::optional<MeshBody> grid;
    zep::MeshShape* mesh = nullptr;
    zep::SweepWork work;
    zep::SweepCache cache;
    Vec3 radii{0.4f, 0.9f, 0.4f};

    void SetUp() override { makeMesh(0.0f); }
    void TearDown() override {
        zep::testing::failAllocationsAfter(-1);
        zep::releaseCache(cache);
        grid.reset();
        zep::releaseSweepWork(work);
    }
    // A bumpy 16 × 16 grid of cells, enough triangles for the index to build
    // its tree; `lift` raises it, so that two meshes differ. A grid made
    // before is freed first, so the new one may well take its memory.
    void makeMesh(float lift) {
        grid.emplace();
        mesh = grid->mesh;
        fillGrid(*grid, lift);
    }
    static void fillGrid(MeshBody& body, float lift) {
        auto corner = [lift](int i, int j) {
            return Vec3{float(i), lift + 0.3f * std::sin(i * 0.9f) * std::cos(j * 0.7f), float(j)};
        };
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 16; ++j) {
                body.add(corner(i, j), corner(i, j + 1), corner(i + 1, j + 1));
                body.add(corner(i, j), corner(i + 1, j + 1), corner(i + 1, j));
            }
    }
    // Each sweep through the cache stands for a pass of its own: a list is
    // gathered only for an ellipsoid seen around a place in an earlier pass.
    std::vector<uint32_t> sweep(Vec3 start, Vec3 end, zep::SweepCache* through) {
        if (through) ++work.passNumber;
        zep::StepCacheHolder holder{through};
        const SweepResult* result = zep::SweepMesh(work, mesh, start, end, radii, 1.0f, nullptr, &holder);
        EXPECT_NE(result, nullptr);
        return result ? sweepRecordWords(*result) : std::vector<uint32_t>{};
    }
    // The same sweep with the cache and without it.
    void expectSameThroughCache(Vec3 start, Vec3 end) {
        const auto plain = sweep(start, end, nullptr);
        EXPECT_EQ(sweep(start, end, &cache), plain) << "from (" << start.x << ", " << start.y << ", " << start.z << ")";
    }
};

TEST_F(SweepCacheTest, ReadsBackTheRecordOfASweepWithoutIt) {
    // A walk in small steps: the first sweep gathers, most later ones reuse.
    uint64_t version = 0;
    int reused = 0;
    for (int step = 0; step < 80; ++step) {
        const Vec3 start{3.0f + 0.05f * step, 1.0f, 4.0f + 0.03f * step};
        const Vec3 end{start.x + 0.1f, 0.6f, start.z - 0.05f};
        expectSameThroughCache(start, end);
        if (cache.indexVersion == version) ++reused;
        version = cache.indexVersion;
    }
    EXPECT_NE(cache.indexVersion, 0u);
    EXPECT_GT(reused, 40);
    // Jumps far away gather anew, and still agree.
    expectSameThroughCache(Vec3{12, 1, 12}, Vec3{12.5f, 0.2f, 12});
    expectSameThroughCache(Vec3{1, 3, 1}, Vec3{1, -3, 1});
}

TEST_F(SweepCacheTest, TriangleAddedAfterGatheringIsMet) {
    const Vec3 start{5.5f, 1.5f, 5.5f}, end{7.5f, 1.5f, 5.5f};
    const auto before = sweep(start, end, &cache);
    // A wall across the path, facing the mover, after the list was gathered.
    grid->add(Vec3{6.5f, -1, 4}, Vec3{6.5f, -1, 7}, Vec3{6.5f, 3, 4});
    zep::StepCacheHolder holder{&cache};
    const SweepResult* result = zep::SweepMesh(work, mesh, start, end, radii, 1.0f, nullptr, &holder);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->triangleNumber, mesh->triangles.count);
    EXPECT_NE(sweepRecordWords(*result), before);
    expectSameThroughCache(start, end);
}

TEST_F(SweepCacheTest, OtherRadiiAreNotServedTheOldFrames) {
    const Vec3 start{8.2f, 1.2f, 8.1f}, end{8.4f, 0.4f, 8.3f};
    expectSameThroughCache(start, end);
    radii = Vec3{0.5f, 0.7f, 0.3f};
    expectSameThroughCache(start, end);
}

TEST_F(SweepCacheTest, ANewMeshIsNotServedTheListOfAFreedOne) {
    const Vec3 start{8.2f, 1.6f, 8.1f}, end{8.4f, 0.4f, 8.3f};
    expectSameThroughCache(start, end);
    makeMesh(0.5f);
    expectSameThroughCache(start, end);
}

TEST_F(SweepCacheTest, NoMemoryForTheListFallsBackToTheTree) {
    const Vec3 start{4.2f, 1.2f, 9.1f}, end{4.4f, 0.4f, 9.3f};
    const auto plain = sweep(start, end, nullptr);  // builds the index first
    // The record is made; the list is not.
    zep::testing::failAllocationsAfter(1);
    EXPECT_EQ(sweep(start, end, &cache), plain);
    EXPECT_EQ(cache.indexVersion, 0u);
    zep::testing::failAllocationsAfter(-1);
    EXPECT_EQ(sweep(start, end, &cache), plain);
    EXPECT_NE(cache.indexVersion, 0u);
}

// A first sweep only notes where it went; a list is gathered the next time
// the ellipsoid sweeps there, never longer than the budget, and released
// when the ellipsoid leaves for somewhere it has not been.
TEST_F(SweepCacheTest, ListsAreGatheredOnlyWhereTheyPayAndReleasedWhenLeft) {
    const Vec3 start{8.2f, 1.2f, 8.1f}, end{8.4f, 0.4f, 8.3f};
    expectSameThroughCache(start, end);
    EXPECT_EQ(cache.entries, nullptr);
    expectSameThroughCache(start, end);
    ASSERT_NE(cache.entries, nullptr);
    EXPECT_LE(cache.capacity, zep::kCacheBudget);
    // A long sweep across the whole grid: too many triangles to keep.
    expectSameThroughCache(Vec3{0.5f, 1.5f, 0.5f}, Vec3{15.5f, 0.5f, 15.5f});
    EXPECT_EQ(cache.entries, nullptr);
    expectSameThroughCache(Vec3{0.5f, 1.5f, 0.5f}, Vec3{15.5f, 0.5f, 15.5f});
    EXPECT_EQ(cache.entries, nullptr);
}

// Two large meshes in one step: the first whose sweep keeps its triangles
// in the cache holds it, and the second asks its tree instead of refilling
// the list with its own triangles (and the first's again next step).
TEST_F(SweepCacheTest, TheFirstMeshServedHoldsTheCacheForTheStep) {
    MeshBody other(2);
    fillGrid(other, 0.2f);
    const Vec3 start{8.2f, 1.2f, 8.1f}, end{8.4f, 0.4f, 8.3f};
    const auto otherPlain = [&] {
        const SweepResult* result = zep::SweepMesh(work, other.mesh, start, end, radii, 1.0f, nullptr);
        return result ? sweepRecordWords(*result) : std::vector<uint32_t>{};
    }();
    for (int pass = 0; pass < 2; ++pass) {
        ++work.passNumber;
        zep::StepCacheHolder holder{&cache};
        zep::SweepMesh(work, mesh, start, end, radii, 1.0f, nullptr, &holder);
        const uint64_t held = cache.indexVersion;
        const SweepResult* result = zep::SweepMesh(work, other.mesh, start, end, radii, 1.0f, nullptr, &holder);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(sweepRecordWords(*result), otherPlain);
        EXPECT_EQ(cache.indexVersion, held);
        // The first pass only notes where the ellipsoid went; the second
        // gathers, and the first mesh keeps the list.
        EXPECT_EQ(holder.cache == nullptr, pass == 1);
        EXPECT_EQ(held != 0, pass == 1);
    }
}

}  // namespace
}  // namespace zeptest
