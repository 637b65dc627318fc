// Sweeps of a unit sphere against whole meshes: the face test, the hand-over
// to corners and edges, the triangle skip rule and the record's lifetime.
#include <cmath>

#include "base/allocation.h"
#include "support/checks.h"
#include "support/mesh_body.h"
#include "sweep/mesh_sweep.h"
#include "world/contact.h"

namespace zeptest {
namespace {

using zep::SweepResult;
using zep::Vec3;

// The floor used by most cases: the plane y = 0 facing +y, inside where
// x ≥ −10, z ≥ −10 and x + z ≤ 0.
const Vec3 kFloor[3] = {Vec3{-10, 0, -10}, Vec3{-10, 0, 10}, Vec3{10, 0, -10}};

class MeshSweepTest : public ::testing::Test {
protected:
    MeshBody floor;
    zep::MeshShape* mesh = floor.mesh;
    zep::SweepWork work;
    Vec3 radii{1, 1, 1};

    void TearDown() override {
        zep::testing::failAllocationsAfter(-1);
        zep::releaseSweepWork(work);
    }
    void addTriangle(Vec3 a, Vec3 b, Vec3 c) { floor.add(a, b, c); }
    void addFloor(float height = 0.0f) {
        addTriangle(Vec3{kFloor[0].x, height, kFloor[0].z}, Vec3{kFloor[1].x, height, kFloor[1].z},
                    Vec3{kFloor[2].x, height, kFloor[2].z});
    }
    const SweepResult& sweep(Vec3 start, Vec3 end, const zep::Contact* first = nullptr) {
        const SweepResult* result = zep::SweepMesh(work, mesh, start, end, radii, 1.0f, first);
        EXPECT_NE(result, nullptr);
        EXPECT_EQ(result, mesh->sweepResult);
        return *mesh->sweepResult;
    }
};

// The same, with the floor in the mesh.
class FloorSweepTest : public MeshSweepTest {
protected:
    void SetUp() override { addFloor(); }
};

void expectStraightDownOntoFloor(const SweepResult& r) {
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.hitKind, zep::kHitFace);
    EXPECT_EQ(r.triangleNumber, 1);
    EXPECT_SAME_FLOAT(0.4f, r.hitTime);
    EXPECT_SAME_FLOAT(4.0f, r.nearestDistance);
    EXPECT_TRUE(sameBits(r.contactPoint, Vec3{-1, 0, -1}));
    EXPECT_TRUE(sameBits(r.normal, Vec3{0, 1, 0}));
    EXPECT_TRUE(sameBits(r.centerAtContact, Vec3{-1, 1, -1}));
    EXPECT_TRUE(sameBits(r.slideDestination, Vec3{-1, 1, -1}));
    EXPECT_TRUE(sameBits(r.moveToContact, Vec3{0, -4, 0}));
    EXPECT_TRUE(sameBits(r.slideVector, Vec3{0, 0, 0}));
}

TEST_F(FloorSweepTest, StraightDownOntoTheFace) {
    const SweepResult& r = sweep(Vec3{-1, 5, -1}, Vec3{-1, -5, -1});
    expectStraightDownOntoFloor(r);
    EXPECT_TRUE(sameBits(r.triangle[2], kFloor[2]));
    EXPECT_TRUE(sameBits(r.radii, radii));
}

TEST_F(MeshSweepTest, WorksRelativeToTheMeshBodyAndInsideTheRadii) {
    floor.body->currentPosition = Vec3{0, 2, 0};
    radii = Vec3{2, 2, 2};
    addTriangle(Vec3{-20, 0, -20}, Vec3{-20, 0, 20}, Vec3{20, 0, -20});
    const SweepResult& r = sweep(Vec3{-2, 12, -2}, Vec3{-2, -8, -2});
    expectStraightDownOntoFloor(r);
    EXPECT_TRUE(sameBits(r.triangle[0], Vec3{-20, 0, -20}));
    EXPECT_TRUE(sameBits(r.radii, Vec3{2, 2, 2}));
}

TEST_F(FloorSweepTest, SlantedOntoTheFaceSlidesAcrossIt) {
    const SweepResult& r = sweep(Vec3{-4, 5, -4}, Vec3{3.5f, -5, -4});
    ASSERT_TRUE(r.found);
    EXPECT_SAME_FLOAT(0.4f, r.hitTime);
    EXPECT_SAME_FLOAT(5.0f, r.nearestDistance);
    EXPECT_TRUE(near(r.centerAtContact, Vec3{-1, 1, -4}));
    EXPECT_TRUE(near(r.contactPoint, Vec3{-1, 0, -4}));
    EXPECT_TRUE(sameBits(r.slideDestination, Vec3{3.5f, 1, -4}));
    EXPECT_TRUE(near(r.moveToContact, Vec3{3, -4, 0}));
    EXPECT_TRUE(near(r.slideVector, Vec3{4.5f, 0, 0}));
}

TEST_F(FloorSweepTest, EmbeddedSphereMovingInIsPushedOut) {
    const SweepResult& r = sweep(Vec3{-1, 0.5f, -1}, Vec3{-1, 0, -1});
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.hitKind, zep::kHitFace);
    EXPECT_SAME_FLOAT(0.0f, r.hitTime);
    EXPECT_SAME_FLOAT(0.0f, r.nearestDistance);
    EXPECT_TRUE(sameBits(r.centerAtContact, Vec3{-1, 1, -1}));
    EXPECT_TRUE(sameBits(r.contactPoint, Vec3{-1, 0, -1}));
    EXPECT_TRUE(sameBits(r.moveToContact, Vec3{0, 0.5f, 0}));
    EXPECT_TRUE(sameBits(r.slideDestination, Vec3{-1, 1, -1}));
}

TEST_F(FloorSweepTest, StartExactlyOneRadiusAwayIsNotEmbedded) {
    const SweepResult& r = sweep(Vec3{-1, 1, -1}, Vec3{-1, -1, -1});
    ASSERT_TRUE(r.found);
    EXPECT_SAME_FLOAT(0.0f, r.hitTime);
    EXPECT_SAME_FLOAT(0.0f, r.nearestDistance);
    EXPECT_TRUE(sameBits(r.centerAtContact, Vec3{-1, 1, -1}));
}

// On the boundary counts as inside. At corner 3 the corner test would find
// the same travel, 4, but a face hit settles its triangle.
TEST_F(FloorSweepTest, ContactOnTheBoundaryIsAFaceHit) {
    const SweepResult& onEdge = sweep(Vec3{5, 5, -5}, Vec3{5, -5, -5});
    EXPECT_EQ(onEdge.hitKind, zep::kHitFace);
    EXPECT_TRUE(sameBits(onEdge.contactPoint, Vec3{5, 0, -5}));
    const SweepResult& onCorner = sweep(Vec3{10, 5, -10}, Vec3{10, -5, -10});
    EXPECT_EQ(onCorner.hitKind, zep::kHitFace);
    EXPECT_TRUE(sameBits(onCorner.contactPoint, kFloor[2]));
}

// Overlapping the plane while rising toward the edge z = −10: no face test,
// but the edge (corner3, corner1) is met after about 0.8641101 of travel.
TEST_F(FloorSweepTest, EmbeddedSphereMovingOffThePlaneStillMeetsAnEdge) {
    const SweepResult& r = sweep(Vec3{-1, 0.5f, -11.5f}, Vec3{-1, 1.9f, -6.7f});
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.hitKind, zep::kHitEdge);
    EXPECT_NEAR(r.nearestDistance, (2.6 - std::sqrt(0.76)) / 2, kLooseTolerance);
    EXPECT_TRUE(sameBits(r.edgeStart, kFloor[2]));
    EXPECT_TRUE(sameBits(r.edgeEnd, kFloor[0]));
}

TEST_F(FloorSweepTest, SweepsThatMeetNothing) {
    struct Case {
        const char* what;
        Vec3 start;
        Vec3 end;
    };
    const Case cases[] = {
        {"overlapping, moving away", Vec3{-1, 0.5f, -1}, Vec3{-1, 2, -1}},
        {"overlapping, not moving", Vec3{-1, 0.5f, -1}, Vec3{-1, 0.5f, -1}},
        {"centre on the plane, toward corner 1", Vec3{-12, 0, -10.5f}, Vec3{-8, 0, -10.5f}},
        {"behind the plane, toward corner 1", Vec3{-12, -0.5f, -10}, Vec3{-8, -0.5f, -10}},
        {"parallel, grazing corner 1", Vec3{-12, 1, -10}, Vec3{-8, 1, -10}},
        {"plane beyond the end", Vec3{-1, 5, -1}, Vec3{-1, 3, -1}},
        {"face missed, edges out of reach", Vec3{3, 5, 3}, Vec3{3, -5, 3}},
    };
    for (const Case& c : cases) {
        const SweepResult& r = sweep(c.start, c.end);
        const float length = std::hypot(c.end.x - c.start.x, c.end.y - c.start.y,
                                         c.end.z - c.start.z);
        EXPECT_FALSE(r.found) << c.what;
        EXPECT_SAME_FLOAT(0.0f, r.hitTime) << c.what;
        EXPECT_SAME_FLOAT(length, r.nearestDistance) << c.what;
    }
}

TEST_F(MeshSweepTest, EmptyMeshAndCollinearTriangleFindNothing) {
    EXPECT_FALSE(sweep(Vec3{-1, 5, -1}, Vec3{-1, -5, -1}).found);
    addTriangle(Vec3{-10, 0, 0}, Vec3{0, 0, 0}, Vec3{10, 0, 0});
    EXPECT_FALSE(sweep(Vec3{-1, 5, 0}, Vec3{-1, -5, 0}).found);
}

TEST_F(FloorSweepTest, LaterTriangleAtEqualDistanceWins) {
    addFloor();
    EXPECT_EQ(sweep(Vec3{-1, 5, -1}, Vec3{-1, -5, -1}).triangleNumber, 2);
}

// Triangle 1 lies above triangle 2, so it is met first unless skipped.
TEST_F(MeshSweepTest, ContactsOfThisMeshSkipTheirTriangles) {
    addFloor(1.0f);
    addFloor(0.0f);
    zep::MeshShape otherMesh;
    zep::Contact second;
    zep::Contact first;
    first.next = &second;
    first.triangleNumber = 1;
    const Vec3 start{-1, 5, -1}, end{-1, -5, -1};

    first.meshShape = nullptr;
    EXPECT_EQ(sweep(start, end, &first).triangleNumber, 1);
    first.meshShape = &otherMesh;
    EXPECT_EQ(sweep(start, end, &first).triangleNumber, 1);
    second.meshShape = mesh;
    second.triangleNumber = 1;
    const SweepResult& r = sweep(start, end, &first);
    EXPECT_EQ(r.triangleNumber, 2);  // still numbered 2 after the skip
    EXPECT_SAME_FLOAT(4.0f, r.nearestDistance);
}

// A move of 0.00001 has squared length 9.99999949e-11 in double, just above
// the cut-off that Normalize zeroes; rounded to float it would sit on it, the
// direction would vanish and the embedded sphere would not be pushed out.
TEST_F(MeshSweepTest, TinyMoveKeepsItsDirection) {
    addTriangle(Vec3{0.5f, -10, -10}, Vec3{0.5f, -10, 10}, Vec3{0.5f, 10, -10});
    const SweepResult& r = sweep(Vec3{0, 0, 0}, Vec3{0.00001f, 0, 0});
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(sameBits(r.centerAtContact, Vec3{-0.5f, 0, 0}));
}

TEST_F(FloorSweepTest, EachSweepReplacesTheRecord) {
    sweep(Vec3{-1, 5, -1}, Vec3{-1, -5, -1});
    const int64_t liveAfterFirst = zep::testing::liveRecords();
    EXPECT_FALSE(sweep(Vec3{-1, 5, -1}, Vec3{-1, 6, -1}).found);
    EXPECT_EQ(zep::testing::liveRecords(), liveAfterFirst);

    zep::testing::failAllocationsAfter(0);
    EXPECT_EQ(zep::SweepMesh(work, mesh, Vec3{}, Vec3{}, radii, 1.0f, nullptr), nullptr);
    EXPECT_EQ(mesh->sweepResult, nullptr);
    EXPECT_EQ(zep::testing::liveRecords(), liveAfterFirst - 1);
    EXPECT_EQ(zep::SweepMesh(work, nullptr, Vec3{}, Vec3{}, radii, 1.0f, nullptr), nullptr);
}

TEST(PointInTriangleTest, BoundaryCountsAndNaNFails) {
    const Vec3 A{0, 0, 0}, B{0, 0, 4}, C{4, 0, 0}, N{0, 1, 0};
    EXPECT_TRUE(zep::PointInTriangle(Vec3{1, 0, 1}, A, B, C, N));
    EXPECT_TRUE(zep::PointInTriangle(Vec3{2, 0, 2}, A, B, C, N));
    EXPECT_TRUE(zep::PointInTriangle(C, A, B, C, N));
    EXPECT_FALSE(zep::PointInTriangle(Vec3{2.5f, 0, 2}, A, B, C, N));
    EXPECT_FALSE(zep::PointInTriangle(Vec3{-0.5f, 0, 1}, A, B, C, N));
    EXPECT_FALSE(zep::PointInTriangle(Vec3{std::nanf(""), 0, 1}, A, B, C, N));
}

// A move to a non-finite end has a NaN direction. The face test asks "does
// the sphere move away from the plane?", which a NaN does not answer yes to:
// an embedded sphere is pushed out at travel 0 like any approaching one, and
// its slide destination carries the NaN on. Not embedded, the plane distance
// is NaN and nothing is hit.
TEST_F(FloorSweepTest, NonFiniteEndsTakeTheWrittenBranches) {
    for (float bad : {NAN, INFINITY, -INFINITY}) {
        const SweepResult& embedded = sweep(Vec3{-1, 0.5f, -1}, Vec3{bad, 0, -1});
        ASSERT_TRUE(embedded.found) << bad;
        EXPECT_EQ(embedded.hitKind, zep::kHitFace);
        EXPECT_SAME_FLOAT(0.0f, embedded.nearestDistance);
        EXPECT_TRUE(sameBits(embedded.centerAtContact, Vec3{-1, 1, -1}));
        EXPECT_TRUE(std::isnan(embedded.slideDestination.y) && std::isnan(embedded.slideDestination.z));
        EXPECT_FALSE(sweep(Vec3{-1, 5, -1}, Vec3{bad, -5, -1}).found) << bad;
    }
}

}  // namespace
}  // namespace zeptest
