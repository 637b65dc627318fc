// The solver's loop is bounded by the mesh's triangle count: every iteration
// meets a triangle that no earlier contact of the pass named for that mesh.
// Seeded random scenes (triangle soups with degenerate and duplicate
// triangles, movers of every size) and a fence of thin triangles built to
// make long slides check the bound after every pass, and print the largest
// counts they reach.
#include <algorithm>
#include <cstdio>
#include <random>

#include "support/fixture.h"
#include "support/invariants.h"
#include "support/scene.h"

namespace zeptest {
namespace {

using ::testing::IsEmpty;

struct Reached {
    int64_t solverCall = 0;
    int64_t contactsPerMover = 0;
};

class WorkBoundsTest : public CommandTest {
protected:
    Reached reached;
    int meshTriangles = 0;

    void SetUp() override {
        CommandTest::SetUp();
        startMoversOnMeshes();
    }

    void addTriangle(int object, const Triangle& t) {
        zeptest::addTriangle(object, t);
        ++meshTriangles;
    }

    // One pass, with the bound checked on what it made.
    void passAndCheck(std::initializer_list<int> movers) {
        zep::passWork().largestSolverCall = 0;
        RunCollisionZEP();
        ASSERT_THAT(zeptest::worldViolations(), IsEmpty());
        ASSERT_THAT(zeptest::passViolations(), IsEmpty());
        const int64_t call = zep::passWork().largestSolverCall;
        EXPECT_LE(call, meshTriangles);
        reached.solverCall = std::max(reached.solverCall, call);
        for (int mover : movers)
            reached.contactsPerMover = std::max<int64_t>(reached.contactsPerMover, CountCollisionsZEP(mover));
    }

    void report(const char* scene) const {
        std::printf("[ work     ] %s: largest solver call %lld contacts, most contacts per mover %lld\n",
                    scene, (long long)reached.solverCall, (long long)reached.contactsPerMover);
    }
};

float coordinate(std::mt19937& random, float range) {
    return std::uniform_real_distribution<float>(-range, range)(random);
}

Triangle randomTriangle(std::mt19937& random) {
    Triangle t;
    for (float& c : t) c = coordinate(random, 6);
    switch (random() % 8) {
        case 0: t[3] = t[0], t[4] = t[1], t[5] = t[2]; break;  // two corners in one place
        case 1: for (int i = 0; i < 3; ++i) t[6 + i] = (t[i] + t[3 + i]) / 2; break;  // corners on a line
        default: break;
    }
    return t;
}

TEST_F(WorkBoundsTest, RandomTriangleSoups) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        NewCollObjZEP(2, 2);  // replaces the previous soup
        AddObjShapeZEP(2, ZEP_SHAPE_MESH);
        meshTriangles = 0;
        for (int i = 0; i < 60; ++i) {
            const Triangle t = randomTriangle(random);
            addTriangle(2, t);
            if (i % 10 == 0) addTriangle(2, t);  // duplicates
        }
        UpdateObjZEP(2, 0, 0, 0, 0, 0, 0);
        ActivateObjZEP(2);
        const float r = std::uniform_real_distribution<float>(0.05f, 3)(random);
        makeMover(1, 1, {r, r * 0.5f + 0.1f, r}, {coordinate(random, 8), coordinate(random, 8), coordinate(random, 8)});
        for (int frame = 0; frame < 10; ++frame) {
            moveTo(1, {coordinate(random, 8), coordinate(random, 8), coordinate(random, 8)});
            passAndCheck({1});
        }
    }
    report("random soups");
    EXPECT_GE(reached.solverCall, 2);  // the soups do make slides, not only single hits
}

// Two hundred thin upright slivers along the mover's path, met on edges and
// corners rather than faces (an edge hit after an edge hit keeps sliding).
TEST_F(WorkBoundsTest, FenceOfSlivers) {
    NewCollObjZEP(2, 2);
    AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    for (int i = 0; i < 200; ++i) {
        const float z = float(i) * 0.25f;
        addTriangle(2, {0, 0, z, 0, 3, z, 0.01f, 0, z + 0.01f});
        addTriangle(2, {0, 0, z, 0.01f, 0, z + 0.01f, 0, 3, z});
    }
    UpdateObjZEP(2, 0, 0, 0, 0, 0, 0);
    ActivateObjZEP(2);
    makeMover(1, 1, {0.5f, 0.5f, 0.5f}, {-0.6f, 1.5f, -1});
    moveTo(1, {0.3f, 1.5f, 55});
    passAndCheck({1});
    moveTo(1, {-0.6f, 1.5f, -1});
    passAndCheck({1});
    report("fence of slivers");
    EXPECT_GE(reached.contactsPerMover, 1);
}

}  // namespace
}  // namespace zeptest
