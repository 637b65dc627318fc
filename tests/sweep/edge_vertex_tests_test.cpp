// The corner and edge tests against a unit sphere moving from the origin.
#include <cmath>

#include "sweep/edge_vertex_tests.h"
#include "support/checks.h"

namespace zeptest {
namespace {

using zep::SweepResult;
using zep::Vec3;

// A sphere of radius 1 from C = (0, 0, 0) toward D; dir and the length are
// given as the sweep would have formed them.
class CornerEdgeTest : public ::testing::Test {
protected:
    zep::TriangleCorners triangle{Vec3{1, 2, 3}, Vec3{4, 5, 6}, Vec3{7, 8, 9}};
    SweepResult result;
    Vec3 C{0, 0, 0};
    Vec3 D{5, 0, 0};
    Vec3 dir{1, 0, 0};
    float length = 5.0f;

    void SetUp() override { restart(); }
    void moveTo(Vec3 end, Vec3 direction, float sweepLength) {
        D = end;
        dir = direction;
        length = sweepLength;
        restart();
    }
    // A fresh record, as a sweep starts with.
    void restart() {
        result = SweepResult{};
        result.nearestDistance = length;
    }
    void vertex(Vec3 V) { zep::TestVertex(result, triangle, 7, 1.0f, length, V, dir, C, D); }
    void edge(Vec3 A, Vec3 B) {
        zep::TestEdge(result, triangle, 7, 1.0f, length, A, B, zep::Subtract(A, B), dir, C, D);
    }
};

TEST_F(CornerEdgeTest, CornerAheadOnThePath) {
    result.nearestDistance = 4.5f;  // an earlier hit farther than this one
    vertex(Vec3{5, 0, 0});
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.hitKind, zep::kHitVertex);
    EXPECT_EQ(result.triangleNumber, 7);
    EXPECT_SAME_FLOAT(4.0f, result.nearestDistance);
    EXPECT_SAME_FLOAT(0.8f, result.hitTime);
    EXPECT_SAME_FLOAT(1.0f, result.sphereRadius);
    EXPECT_TRUE(sameBits(result.contactPoint, Vec3{5, 0, 0}));
    EXPECT_TRUE(sameBits(result.vertex, Vec3{5, 0, 0}));
    EXPECT_TRUE(sameBits(result.centerAtContact, Vec3{4, 0, 0}));
    EXPECT_TRUE(sameBits(result.normal, Vec3{-1, 0, 0}));
    EXPECT_TRUE(sameBits(result.slideDestination, Vec3{4, 0, 0}));
    EXPECT_TRUE(sameBits(result.moveToContact, Vec3{4, 0, 0}));
    EXPECT_TRUE(sameBits(result.slideVector, Vec3{0, 0, 0}));
    EXPECT_TRUE(sameBits(result.triangle[0], triangle.corner1));
    EXPECT_TRUE(sameBits(result.triangle[2], triangle.corner3));
}

TEST_F(CornerEdgeTest, CornerBesideThePathSlidesAlongIt) {
    moveTo(Vec3{4, 0, 0}, Vec3{1, 0, 0}, 4.0f);
    vertex(Vec3{3, 0.6f, 0});
    ASSERT_TRUE(result.found);
    EXPECT_FLOAT_EQ(result.nearestDistance, 2.2f);
    EXPECT_FLOAT_EQ(result.hitTime, 0.55f);
    EXPECT_TRUE(near(result.centerAtContact, Vec3{2.2f, 0, 0}));
    EXPECT_TRUE(near(result.normal, Vec3{-0.8f, -0.6f, 0}));
    EXPECT_TRUE(near(result.slideDestination, Vec3{2.848f, -0.864f, 0}));
    EXPECT_TRUE(near(result.slideVector, Vec3{0.648f, -0.864f, 0}));
}

// The stored distance is compared with the travel itself: equal travel
// replaces, and a negative stored travel is not beaten by a farther corner.
TEST_F(CornerEdgeTest, CornerMustNotBeFartherThanTheRecordedHit) {
    result.nearestDistance = 4.0f;
    vertex(Vec3{5, 0, 0});
    EXPECT_TRUE(result.found);
    result = SweepResult{};
    result.nearestDistance = std::nextafter(4.0f, 0.0f);
    vertex(Vec3{5, 0, 0});
    EXPECT_FALSE(result.found);
    result.nearestDistance = -5.0f;  // 25 ≥ 24: a squared comparison would take it
    vertex(Vec3{5, 0, 0});
    EXPECT_FALSE(result.found);
}

TEST_F(CornerEdgeTest, GrazingCornerIsHitButGrazingEdgeIsNot) {
    vertex(Vec3{3, 1, 0});
    ASSERT_TRUE(result.found);
    EXPECT_SAME_FLOAT(3.0f, result.nearestDistance);
    EXPECT_TRUE(sameBits(result.normal, Vec3{0, -1, 0}));
    restart();
    edge(Vec3{3, 1, -2}, Vec3{3, 1, 5});
    EXPECT_FALSE(result.found);
}

TEST_F(CornerEdgeTest, FeaturesAtOrBehindTheStartParallelOrDegenerateAreNeverHit) {
    vertex(Vec3{0, 0.5f, 0});  // overlapping, level with the start
    vertex(Vec3{-0.5f, 0, 0});
    vertex(Vec3{3, 1.001f, 0});  // passes just beyond reach
    edge(Vec3{0, 0, -2}, Vec3{0, 0, 5});
    edge(Vec3{-0.5f, 0, -2}, Vec3{-0.5f, 0, 5});
    edge(Vec3{2, 0.5f, 0}, Vec3{9, 0.5f, 0});  // along the path
    edge(Vec3{3, 0, 1}, Vec3{3, 0, 1});        // no length
    EXPECT_FALSE(result.found);
}

// A corner or an edge the sphere already overlaps ahead of it is met where
// the sweep starts, never behind it: travel 0, the normal from the feature to
// C with length r, the rest of the move a slide away from it. Such hits give
// way to a later one at travel 0, in test order.
TEST_F(CornerEdgeTest, OverlappedCornerAndEdgeAreMetAtTheStart) {
    result.nearestDistance = -1.0f;  // only a hit nearer than travel 0 stays
    vertex(Vec3{0.5f, 0, 0});
    EXPECT_FALSE(result.found);
    result.nearestDistance = length;
    auto expectMetAtTheStartAtHalf = [&](int kind) {
        ASSERT_TRUE(result.found);
        EXPECT_EQ(result.hitKind, kind);
        EXPECT_SAME_FLOAT(0.0f, result.nearestDistance);
        EXPECT_SAME_FLOAT(0.0f, result.hitTime);
        EXPECT_TRUE(sameBits(result.centerAtContact, C));
        EXPECT_TRUE(sameBits(result.contactPoint, Vec3{0.5f, 0, 0}));
        EXPECT_TRUE(sameBits(result.normal, Vec3{-1, 0, 0}));
        EXPECT_TRUE(sameBits(result.slideDestination, Vec3{-0.5f, 0, 0}));
        EXPECT_TRUE(sameBits(result.moveToContact, Vec3{0, 0, 0}));
        EXPECT_TRUE(sameBits(result.slideVector, Vec3{-0.5f, 0, 0}));
    };
    vertex(Vec3{0.5f, 0, 0});
    expectMetAtTheStartAtHalf(zep::kHitVertex);
    EXPECT_TRUE(sameBits(result.vertex, Vec3{0.5f, 0, 0}));
    edge(Vec3{0.5f, 0, -2}, Vec3{0.5f, 0, 5});
    expectMetAtTheStartAtHalf(zep::kHitEdge);
    vertex(Vec3{0.5f, 0.5f, 0});  // and a corner met at the start replaces it
    EXPECT_EQ(result.hitKind, zep::kHitVertex);
    EXPECT_TRUE(sameBits(result.normal, zep::Scale(Vec3{-0.5f, -0.5f, 0}, 1.0 / std::sqrt(0.5))));
}

// An edge running almost along the move that the sphere already overlaps
// used to give a travel of about -(I - w) / cosA: here some 50 units behind
// the start, through space no test had checked.
TEST_F(CornerEdgeTest, OverlappedEdgeAlmostAlongTheMoveStaysAtTheStart) {
    edge(Vec3{-2, 0.5f, 0}, Vec3{8, 0.4f, 0});
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.hitKind, zep::kHitEdge);
    EXPECT_SAME_FLOAT(0.0f, result.nearestDistance);
    EXPECT_TRUE(sameBits(result.centerAtContact, C));
    const Vec3 n = result.normal;
    EXPECT_NEAR(std::sqrt(zep::Dot(n, n)), 1.0, 1e-6);
    EXPECT_LT(n.y, -0.99f);  // away from the edge above the centre
    const Vec3 s = result.slideDestination;
    EXPECT_LT(std::hypot(s.x - C.x, s.y - C.y, s.z - C.z), length + 1.0f);
}

TEST_F(CornerEdgeTest, EdgeCrossingTheSlantedPath) {
    moveTo(Vec3{4, 0, 3}, Vec3{0.8f, 0, 0.6f}, 5.0f);
    const Vec3 A{3, 0.5f, -2}, B{3, 0.5f, 5};
    edge(A, B);
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.hitKind, zep::kHitEdge);
    EXPECT_NEAR(result.nearestDistance, 2.6674683, kLooseTolerance);
    EXPECT_NEAR(result.hitTime, 0.5334936, kLooseTolerance);
    EXPECT_TRUE(near(result.contactPoint, Vec3{3, 0.5f, 1.6004810f}));
    EXPECT_TRUE(near(result.normal, Vec3{-0.8660254f, -0.5f, 0}));
    EXPECT_TRUE(near(result.centerAtContact, Vec3{2.1339746f, 0, 1.6004810f}));
    EXPECT_TRUE(near(result.slideDestination, Vec3{2.6004810f, -0.8080127f, 3}));
    EXPECT_TRUE(sameBits(result.edgeStart, A));
    EXPECT_TRUE(sameBits(result.edgeEnd, B));
}

// Head-on against an edge across the path: te is exactly 2.
TEST_F(CornerEdgeTest, EdgeAtExactlyTheRecordedDistanceReplacesIt) {
    result.nearestDistance = std::nextafter(2.0f, 0.0f);
    edge(Vec3{3, 0, -2}, Vec3{3, 0, 5});
    EXPECT_FALSE(result.found);
    result.nearestDistance = 2.0f;
    edge(Vec3{3, 0, -2}, Vec3{3, 0, 5});
    ASSERT_TRUE(result.found);
    EXPECT_TRUE(sameBits(result.centerAtContact, Vec3{2, 0, 0}));
    EXPECT_TRUE(sameBits(result.contactPoint, Vec3{3, 0, 0}));
    EXPECT_TRUE(sameBits(result.normal, Vec3{-1, 0, 0}));
    EXPECT_SAME_FLOAT(0.4f, result.hitTime);
}

// With dir (1, 0, 1) the sphere touches the line x = 3 at (3, 0, 2) after
// te = 2 (dir need not be unit here; it keeps the numbers exact).
TEST_F(CornerEdgeTest, EdgeTouchedExactlyAtAnEndIsLeftToTheCorner) {
    dir = Vec3{1, 0, 1};
    edge(Vec3{3, 0, 2}, Vec3{3, 0, 9});
    edge(Vec3{3, 0, -5}, Vec3{3, 0, 2});
    EXPECT_FALSE(result.found);
    edge(Vec3{3, 0, 1.5f}, Vec3{3, 0, 9});
    ASSERT_TRUE(result.found);
    EXPECT_TRUE(sameBits(result.contactPoint, Vec3{3, 0, 2}));
}

TEST_F(CornerEdgeTest, LaterVertexHitLeavesTheEdgeEndsInPlace) {
    edge(Vec3{3, 0, -2}, Vec3{3, 0, 5});
    vertex(Vec3{1.5f, 0, 0});
    EXPECT_EQ(result.hitKind, zep::kHitVertex);
    EXPECT_TRUE(sameBits(result.edgeStart, Vec3{3, 0, -2}));
    EXPECT_TRUE(sameBits(result.vertex, Vec3{1.5f, 0, 0}));
}

// The corner is ahead only in double: (1 + 2⁻¹⁵)² − (1 + 2⁻¹⁴) = 2⁻³⁰ is
// lost with float products, and 10⁻²⁵ · 10⁻²⁵ underflows a float sum.
TEST_F(CornerEdgeTest, TravelToTheCornerIsNotRoundedToFloat) {
    const float a = 1.0f + std::ldexp(1.0f, -15);
    const float b = 1.0f + std::ldexp(1.0f, -14);
    zep::TestVertex(result, triangle, 7, 2.0f, length, Vec3{0, b, a}, Vec3{0, -1, a}, C, D);
    EXPECT_TRUE(result.found);
    restart();
    const Vec3 tiny{1e-25f, 0, 0};
    zep::TestVertex(result, triangle, 7, 1.0f, length, tiny, tiny, C, D);
    EXPECT_TRUE(result.found);
}

TEST(EdgeLineTest, InReachDependsOnWhereTheCentreIsAndWhereItGoes) {
    const Vec3 A{0, 0, 0}, B{1, 0, 0};
    EXPECT_EQ(zep::EdgeInReach(A, B, Vec3{0.5f, 3, 0}, Vec3{0, -1, 0}), 1);
    EXPECT_EQ(zep::EdgeInReach(A, B, Vec3{2, 3, 0}, Vec3{-0.6f, -0.8f, 0}), 1);
    EXPECT_EQ(zep::EdgeInReach(A, B, Vec3{2, 3, 0}, Vec3{0, -1, 0}), 0);
    EXPECT_EQ(zep::EdgeInReach(A, B, Vec3{2, 3, 0}, Vec3{0.6f, -0.8f, 0}), 0);
    EXPECT_EQ(zep::EdgeInReach(A, B, Vec3{-1, 3, 0}, Vec3{0.6f, -0.8f, 0}), 1);
    EXPECT_EQ(zep::EdgeInReach(A, B, Vec3{-1, 3, 0}, Vec3{0, -1, 0}), 0);
    EXPECT_EQ(zep::EdgeInReach(A, B, Vec3{-1, 3, 0}, Vec3{-0.6f, -0.8f, 0}), 0);
}

TEST(EdgeLineTest, ProjectionIsUnclampedAndSpanIsStrict) {
    const Vec3 A{1, 1, 0}, B{1, 8, 0};
    EXPECT_TRUE(sameBits(zep::ProjectOntoEdgeLine(A, B, Vec3{5, 10, 3}), Vec3{1, 10, 0}));
    EXPECT_TRUE(sameBits(zep::ProjectOntoEdgeLine(A, B, Vec3{-2, -4, 3}), Vec3{1, -4, 0}));
    EXPECT_EQ(zep::WithinEdgeSpan(A, B, Vec3{4, 4, 4}), 1);
    EXPECT_EQ(zep::WithinEdgeSpan(A, B, Vec3{4, 1, 4}), 0);
    EXPECT_EQ(zep::WithinEdgeSpan(A, B, Vec3{4, 8, 4}), 0);
    EXPECT_EQ(zep::WithinEdgeSpan(A, B, Vec3{4, std::nextafter(8.0f, 0.0f), 4}), 1);
}

// Found when an optimising build vectorised the projection and kept the unit
// vector's x and y in double: every component of Ê must be rounded to float
// before it scales the projection.
TEST(EdgeLineTest, ProjectionUsesTheUnitVectorRoundedToFloat) {
    const Vec3 A{-0x1.80f06p-3f, 0x1.af5458p-1f, 0x1.d9e7ep-1f};
    const Vec3 B{-0x1.a0138p-4f, 0x1.c22f9p+0f, 0x1.01658p-5f};
    const Vec3 X{0x1.f4edp-1f, -0x1.5b774p-1f, 0x1.5b3a3p-1f};
    EXPECT_TRUE(sameBits(zep::ProjectOntoEdgeLine(A, B, X), Vec3{-0x1.f413cp-3f, 0x1.f830ap-3f, 0x1.81f0fcp+0f}));
}

}  // namespace
}  // namespace zeptest
