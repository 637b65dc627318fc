// Moves no sweep covers: a corner overlapped ahead, a slide after a crease,
// a push out of an embedded face. Each scene is one pass that once carried
// the centre through a triangle from its front, pinned it, or sank it deep
// into a floor it met (found by random walks); now no leg of the pass does,
// a mover squeezed under a low ceiling is pushed out at most once per chain,
// and a push out that is held neither pins the mover nor counts.
#include <vector>

#include "support/fixture.h"
#include "support/scene.h"
#include "base/same_bits.h"
#include "sweep/crossing.h"

namespace zeptest {
namespace {

using zep::Vec3;

class UnsweptMoveTest : public CommandTest {
protected:
    std::vector<Triangle> level;
    Vec3 start;

    // One pass of a mover of `radii` from `from` to `to` through `triangles`.
    void runPass(std::vector<Triangle> triangles, Vec3 radii, Vec3 from, Vec3 to) {
        level = std::move(triangles);
        start = from;
        startMoversOnMeshes();
        makeMeshObject(2, 2, level);
        makeMover(1, 1, radii, from);
        moveTo(1, to);
        RunCollisionZEP();
    }
    // The path of the pass: its start, each contact's centre, its end.
    std::vector<Vec3> path() const {
        std::vector<Vec3> points{start};
        for (int k = 1; k <= CountCollisionsZEP(1); ++k) points.push_back(contactOf(1, k).center);
        points.push_back(positionOf(1));
        return points;
    }
    void expectNoLegCrossesAFrontFace() const {
        const std::vector<Vec3> points = path();
        for (size_t leg = 0; leg + 1 < points.size(); ++leg)
            for (size_t t = 0; t < level.size(); ++t) {
                const Triangle& c = level[t];
                const Vec3 corners[3] = {{c[0], c[1], c[2]}, {c[3], c[4], c[5]}, {c[6], c[7], c[8]}};
                EXPECT_FALSE(zep::segmentCrossesTriangle(points[leg], points[leg + 1], corners, Vec3{}))
                    << "leg " << leg << " crosses triangle " << t + 1;
            }
    }
};

const Triangle kFloorA{-20, 0, -20, -20, 0, 20, 20, 0, -20};
const Triangle kFloorB{20, 0, 20, 20, 0, -20, -20, 0, 20};

// The sphere already overlaps a corner ahead, with a wall just behind it: a
// back-off along the move would put the centre behind the wall.
TEST_F(UnsweptMoveTest, CornerOverlappedAheadIsMetWhereTheMoveStarts) {
    runPass({{-20, -20, 0, 20, -20, 0, -20, 20, 0}, {0, -0.5f, 0.8f, -1, -0.5f, 3, 1, -0.5f, 3}}, {1, 1, 1},
            {0, 0, 0.3f}, {0, 0, 2});
    ASSERT_GE(CountCollisionsZEP(1), 1);
    EXPECT_EQ(contactOf(1, 1).hitKind, zep::kHitVertex);
    EXPECT_VEC3_EQ(start, contactOf(1, 1).center);
    EXPECT_EQ(contactOf(1, 1).hitTime, 0.0f);
    expectNoLegCrossesAFrontFace();
}

// Floor, then a slope: the crease slide would run the next leg through the
// slope, which that sweep leaves out as met. The mover rests where it met it.
TEST_F(UnsweptMoveTest, LegThroughATriangleMetInThePassIsNotTaken) {
    runPass({kFloorA, kFloorB,
             {-4.2125988f, 2.3522923f, 3.06900382f, -2.03620052f, -0.406525135f, 2.1438272f, -2.2273078f, 2.58027029f,
              3.64284515f},
             {5.11447477f, 3.05405545f, -0.940066695f, 2.56786776f, 0.284224868f, 0.739408135f, 0.547812939f,
              1.8376447f, 3.04364133f},
             {3.62333775f, 1.85431814f, 2.54582977f, -1.00492322f, 0.985213757f, -0.869541049f, 1.82089877f,
              0.0656512678f, -1.84808993f},
             {-1.54443002f, 0.3153584f, -3.12292719f, -1.91732526f, 0.0757448673f, -1.46936989f, 1.49496865f,
              -0.00629460812f, -4.71664953f}},
            {1, 1, 1}, {0.680169046f, 1.14999986f, -0.207858443f}, {0.667321366f, 0.599999785f, 0.511521697f});
    ASSERT_EQ(CountCollisionsZEP(1), 2);
    EXPECT_VEC3_EQ(contactOf(1, 2).center, positionOf(1));
    EXPECT_VEC3_EQ(Vec3{}, contactOf(1, 2).slideVector);
    expectNoLegCrossesAFrontFace();
}

// Under a low overhang, pushing the sphere up out of the floor would carry
// its centre up through the overhang's underside.
TEST_F(UnsweptMoveTest, PushOutThroughAnOverhangIsNotMade) {
    runPass({kFloorA, kFloorB, {-20, 6.69323397f, -20, 20, -3.98244333f, -20, -20, 6.69323397f, 20},
             {20, -3.98244333f, 20, -20, 6.69323397f, 20, 20, -3.98244333f, -20}},
            {1, 1, 1}, {1.99075389f, 0.246013016f, -2.99153876f}, {1.43248546f, 0.196013015f, -3.45872757f});
    ASSERT_GE(CountCollisionsZEP(1), 1);
    EXPECT_EQ(contactOf(1, 1).triangleNumber, 1);
    EXPECT_VEC3_EQ(start, contactOf(1, 1).center);
    EXPECT_EQ(contactOf(1, 1).moveLength, 0.0f);
    expectNoLegCrossesAFrontFace();
}

// Squeezed between a floor and a sloping ceiling closer than its height,
// an elongated mover would be pushed down out of the ceiling and then up out
// of the floor, and so on (on real levels, tens of units in one pass): only
// the first push of the chain is made.
TEST_F(UnsweptMoveTest, SqueezedMoverIsPushedOutOnce) {
    runPass({kFloorA, kFloorB, {-20, -3.54471111f, -20, 20, 7.1947155f, -20, -20, -3.54471111f, 20},
             {20, 7.1947155f, 20, -20, -3.54471111f, 20, 20, 7.1947155f, -20}},
            {0.4f, 0.9f, 0.4f}, {-2.32474899f, 0.899999976f, -1.34416151f}, {-2.96179295f, 0.849999975f, -1.61630154f});
    int pushes = 0;
    Vec3 from = start;
    for (int k = 1; k <= CountCollisionsZEP(1); ++k) {
        const zep::Contact& contact = contactOf(1, k);
        pushes += contact.hitKind == zep::kHitFace && contact.hitTime == 0.0f && !zep::sameBits(contact.center, from);
        from = contact.center;
    }
    EXPECT_EQ(pushes, 1);  // down out of the ceiling; the floor is then met where that left it
    expectNoLegCrossesAFrontFace();
}

// Wedged between an overhang facing down and a ramp facing up, embedded in
// both: the push down out of the overhang would cross the ramp, and the push
// up out of the ramp would cross the overhang, met just before. Both are
// held, met where the move started, and the floor then takes the slide on.
// Checked as a leg through the met overhang, the ramp's push out would have
// pinned the mover where it started.
TEST_F(UnsweptMoveTest, HeldPushOutIsNoLegThroughAMetTriangle) {
    runPass({kFloorA, kFloorB,
             {3.61709976f, 4.71712542f, -6.68024397f, 2.62238646f, 4.71712542f, 3.66118217f, -5.68820572f,
              -1.46588409f, 2.86180925f},
             {1.41723466f, 2.08622265f, -1.97985792f, -3.10308933f, 1.32402802f, -3.96093607f, -1.36160624f,
              -0.39964965f, 1.63642871f}},
            {0.4f, 0.9f, 0.4f}, {-1.24656463f, 1.06997001f, -1.12819278f}, {-2.74214172f, 1.12819123f, -0.0883555412f});
    ASSERT_EQ(CountCollisionsZEP(1), 3);
    for (int k = 1; k <= 2; ++k) {
        EXPECT_EQ(contactOf(1, k).triangleNumber, k + 2);
        EXPECT_VEC3_EQ(start, contactOf(1, k).center);
    }
    EXPECT_EQ(contactOf(1, 3).triangleNumber, 1);
    EXPECT_VEC3_EQ(contactOf(1, 3).slideDestination, positionOf(1));
    EXPECT_FALSE(zep::sameBits(start, positionOf(1)));
    expectNoLegCrossesAFrontFace();
}

// In the V of two ramps, embedded in both: the push out of the first would
// cross the second and is held; the push out of the second crosses nothing
// and is made, the call's one, as the held one did not count.
TEST_F(UnsweptMoveTest, HeldPushOutLeavesTheCallItsOne) {
    runPass({kFloorA, kFloorB,
             {4.23972082f, -0.31711185f, -2.18032885f, 1.15955591f, 0.118122019f, -4.71035624f, 2.62152052f,
              2.64437079f, 0.0720345974f},
             {4.28397036f, -0.502606332f, 0.378017426f, 4.03271675f, 2.7658155f, -2.81225705f, 1.04378045f,
              0.865787923f, -3.20248628f},
             {1.28340685f, 4.47220945f, -0.629123569f, 1.29686427f, 4.47220945f, -5.73392105f, 4.07268047f,
              0.188061148f, -5.72660303f}},
            {1, 1, 1}, {1.96914971f, 1.24270916f, -2.46918273f}, {0.72755754f, 0.461126447f, -2.79706526f});
    ASSERT_GE(CountCollisionsZEP(1), 2);
    const zep::Contact& held = contactOf(1, 1);
    const zep::Contact& made = contactOf(1, 2);
    EXPECT_EQ(held.triangleNumber, 4);
    EXPECT_VEC3_EQ(start, held.center);
    EXPECT_EQ(made.triangleNumber, 3);
    EXPECT_EQ(made.hitKind, zep::kHitFace);
    EXPECT_EQ(made.hitTime, 0.0f);
    EXPECT_FALSE(zep::sameBits(start, made.center));
    expectNoLegCrossesAFrontFace();
}

// The start lies just behind the planes of an overhang's faces, so the sweep
// passes them over: the floor is met first, then the overhang's edges where
// the slide starts, and the next leg, a push out of another face, would end
// 0.85 radii deep in the floor. The mover rests at its last contact instead.
TEST_F(UnsweptMoveTest, SlideRoundAnOverhangDoesNotSinkIntoTheFloorMetFirst) {
    const Vec3 radii{0.4f, 0.9f, 0.4f};
    runPass({kFloorA, kFloorB,
             {-2.28568864f, 1.96744466f, 0.52232933f, -1.62957144f, 0.351699829f, -3.76831388f, 1.10099959f,
              1.15251911f, -0.433601499f},
             {1.62037134f, 1.02049839f, -0.29025805f, 1.49621511f, 0.159733132f, -2.4871459f, -2.30850482f,
              1.22495115f, -3.25679994f},
             {0.36623466f, 3.20425534f, -5.25278234f, 2.86656499f, 3.20425534f, -0.118215568f, -0.84123981f,
              -0.746388316f, 1.68733835f},
             {0.36623466f, 3.20425534f, -5.25278234f, -0.84123981f, -0.746388316f, 1.68733835f, -3.34157014f,
              -0.746388316f, -3.44722843f}},
            radii, {-0.0187034048f, 1.10971904f, -1.00877333f}, {-0.119196072f, -0.24543798f, -2.56600237f});
    ASSERT_EQ(CountCollisionsZEP(1), 3);
    EXPECT_EQ(contactOf(1, 1).triangleNumber, 1);
    for (int k = 2; k <= 3; ++k) EXPECT_EQ(contactOf(1, k).hitKind, zep::kHitEdge);
    EXPECT_VEC3_EQ(contactOf(1, 3).center, positionOf(1));
    EXPECT_GE(positionOf(1).y, 0.5f * radii.y);
    expectNoLegCrossesAFrontFace();
}

// The sink test alone, on a floor facing +y with corners (-2, 0, -2),
// (-2, 0, 2), (2, 0, -2): the face, each kind of region off it, a start
// already deep, non-unit radii and an offset mesh.
TEST(LegSinksIntoTriangle, HalfARadiusDeeperThanTouchingOrTheStart) {
    struct Leg {
        Vec3 p, q, radii, meshPosition;
        bool sinks;
    };
    const Vec3 unit{1, 1, 1}, origin{};
    const Leg legs[] = {
        {{-1, 1, -1}, {0, 1, -1}, unit, origin, false},             // along the floor, touching
        {{-1, 1, -1}, {-1, 0.4f, -1}, unit, origin, true},          // 0.6 deep
        {{-1, 1, -1}, {-1, 0.6f, -1}, unit, origin, false},         // 0.4 deep
        {{-1, 1, -1}, {-1, -0.1f, -1}, unit, origin, false},        // behind the plane: the crossing test's
        {{-1, 0.3f, -1}, {-1, 0.1f, -1}, unit, origin, false},      // from 0.7 deep to 0.9
        {{-1, 3, -1}, {-1, 0.45f, -1}, unit, origin, true},         // from afar, counted from touching
        {{1, 1, 1}, {0.2f, 0.3f, 0.2f}, unit, origin, true},        // beyond the long edge, 0.41 from it
        {{1, 1, 1}, {1, 0.3f, 1}, unit, origin, false},             // beyond the long edge, 1.44 from it
        {{-3, 1, -3}, {-2.1f, 0.2f, -2.1f}, unit, origin, true},    // beyond corner 1, 0.24 from it
        {{-3, 1, -3}, {-2.3f, 0.3f, -2.3f}, unit, origin, false},   // beyond corner 1, 0.52 from it
        {{-3, 1, 3}, {-2.2f, 0.1f, 2.2f}, unit, origin, true},      // beyond corner 2, 0.3 from it
        {{-3, 1, 0}, {-2.2f, 0.1f, 0}, unit, origin, true},         // beyond edge 1-2, 0.22 from it
        {{3, 1, -3}, {2.2f, 0.1f, -2.2f}, unit, origin, true},      // beyond corner 3, 0.3 from it
        {{0, 1, -3}, {0, 0.1f, -2.2f}, unit, origin, true},         // beyond edge 1-3, 0.22 from it
        {{0, 1, -3}, {0, 0.1f, -2.6f}, unit, origin, false},        // beyond edge 1-3, 0.61 from it
        {{9, 7, -1}, {9, 5.8f, -1}, {2, 2, 2}, {10, 5, 0}, true},   // 0.6 radii deep
        {{9, 7, -1}, {9, 6.2f, -1}, {2, 2, 2}, {10, 5, 0}, false},  // 0.4 radii deep
    };
    const Vec3 floor[3] = {{-2, 0, -2}, {-2, 0, 2}, {2, 0, -2}};
    for (const Leg& leg : legs)
        EXPECT_EQ(zep::legSinksIntoTriangle(leg.p, leg.q, floor, leg.meshPosition, leg.radii), leg.sinks)
            << "(" << leg.q.x << ", " << leg.q.y << ", " << leg.q.z << ")";
    const Vec3 line[3] = {{-2, 0, -2}, {0, 0, 0}, {2, 0, 2}};
    EXPECT_FALSE(zep::legSinksIntoTriangle({-1, 1, -1}, {-1, 0.1f, -1}, line, origin, unit));
}

}  // namespace
}  // namespace zeptest
