// Memory running out at every possible moment of a scenario that makes every
// kind of record: objects, bodies, shapes, triangles (one at a time and from
// a mesh block), activation entries, rules, contacts and sweep results.
//
// For every N the Nth allocation fails, either with every later one failing
// too or with memory coming back at once. After each command the world must
// be consistent with no record made and left unlinked, a command that was
// refused memory must have changed nothing (a triangle or a mesh block meant
// for two meshes, refused the second copy, is in neither) and said so once
// (a warning naming it, and the armed box), a pass that lost part of a
// move must leave that mover where it started and say so, and
// StopCollisionZEP must free everything.
#include <functional>
#include <string>
#include <vector>

#include "base/allocation.h"
#include "support/fixture.h"
#include "support/mesh_block.h"
#include "support/invariants.h"
#include "support/scene.h"
#include "support/warnings.h"
#include "support/world_view.h"

namespace zeptest {
namespace {

using ::testing::IsEmpty;

struct Step {
    const char* name;
    std::function<void()> run;
    // A pass clears the contacts of the previous one before it allocates, so
    // it cannot leave the world as it was; it must leave it consistent.
    bool isPass = false;
};

// A host mesh block with 16-byte vertices holding the ramp and the wall.
std::vector<uint8_t> rampAndWallBlock() {
    std::vector<float> corners(kRamp.begin(), kRamp.end());
    corners.insert(corners.end(), kWall.begin(), kWall.end());
    return meshBlock(16, 6, corners);
}

std::vector<Step> scenario(const std::vector<unsigned char>& block) {
    return {
        {"start", [] { StartCollisionZEP(); }},
        {"rule 1>2", [] { SetCollisionZEP(1, 2, 0, 0, 0); }},
        {"rule 1>1", [] { SetCollisionZEP(1, 1, 0, 0, 0); }},
        {"new mesh object", [] { NewCollObjZEP(2, 2); }},
        {"first mesh shape", [] { AddObjShapeZEP(2, ZEP_SHAPE_MESH); }},
        {"second mesh shape", [] { AddObjShapeZEP(2, ZEP_SHAPE_MESH); }},
        {"floor into both meshes", [] { addTriangle(2, kFloor); }},
        {"mesh block into both meshes", [&block] { AddMeshZEP(2, block.data()); }},
        {"place mesh", [] { UpdateObjZEP(2, 0, 0, 0, 0, 0, 0); }},
        {"activate mesh", [] { ActivateObjZEP(2); }},
        {"new mover", [] { NewCollObjZEP(1, 1); }},
        {"mover ellipsoid", [] { AddObjShapeZEP(1, ZEP_SHAPE_ELLIPSOID); }},
        {"mover mesh", [] { AddObjShapeZEP(1, ZEP_SHAPE_MESH); }},
        {"mover floor", [] { addTriangle(1, kFloor); }},
        {"mover start", [] { UpdateObjZEP(1, 0, 1.5f, 0, 0, 0, 0); }},
        {"activate mover", [] { ActivateObjZEP(1); }},
        {"second mover", [] { NewCollObjZEP(3, 1); }},
        {"second ellipsoid", [] { AddObjShapeZEP(3, ZEP_SHAPE_ELLIPSOID); }},
        {"second radii", [] { SetObjRadiusZEP(3, 1, 2, 1); }},
        {"second start", [] { UpdateObjZEP(3, -1, 10, -1, 0, 0, 0); }},
        {"activate second", [] { ActivateObjZEP(3); }},
        {"mover target", [] { UpdateObjZEP(1, 3, -2, 3, 0, 0, 0); }},
        {"second target", [] { UpdateObjZEP(3, -1, -10, -1, 0, 0, 0); }},
        {"first pass", [] { RunCollisionZEP(); }, true},
        {"reactivate mover", [] { ActivateObjZEP(1); }},
        {"walk", [] { ResetCollisionStackZEP(); (void)PeekCollisionStackZEP(); }},
        {"replace second mover", [] { NewCollObjZEP(3, 1); }},
        {"rule after objects", [] { SetCollisionZEP(300, 2, 0, 0, 0); }},
        {"second pass", [] { RunCollisionZEP(); }, true},
        {"free the mesh that was hit", [] { FreeObjZEP(2); }},
        {"third pass", [] { RunCollisionZEP(); }, true},
    };
}

enum class Exhaustion { kFromNthOn, kOnlyNth };

class ExhaustionTest : public CommandTest {
protected:
    // Runs the scenario with the Nth allocation failing; false once N lies
    // beyond the scenario's last allocation.
    bool runWithFailure(int64_t n, Exhaustion mode) {
        const std::vector<unsigned char> block = rampAndWallBlock();
        WarningRecorder warnings;
        bool refusedAny = false;
        bool failing = true;
        zep::testing::failAllocationsAfter(n);
        for (const Step& step : scenario(block)) {
            const std::string before = worldSnapshot();
            const int64_t attemptedBefore = zep::testing::allocationsAttempted();
            armBoxAndForget(warnings);
            step.run();
            const int64_t attempted = zep::testing::allocationsAttempted();
            // Attempts are numbered from 0 since failAllocationsAfter; those
            // from n on are refused.
            const bool refused = failing && attempted > attemptedBefore && attempted > n;
            checkStep(step, n, refused, before);
            checkReports(step, n, refused, warnings);
            if (refused && mode == Exhaustion::kOnlyNth) {
                zep::testing::failAllocationsAfter(-1);
                failing = false;
            }
            refusedAny = refusedAny || refused;
        }
        zep::testing::failAllocationsAfter(-1);
        return refusedAny;
    }

    void checkStep(const Step& step, int64_t n, bool refused, const std::string& before) {
        SCOPED_TRACE(::testing::Message() << "allocation " << n << " fails; step: " << step.name);
        EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
        if (step.isPass) {
            EXPECT_THAT(zeptest::passViolations(), IsEmpty());
        }
        if (refused && !step.isPass) {
            EXPECT_EQ(before, worldSnapshot()) << "a refused command changed the world";
        }
    }

    void armBoxAndForget(WarningRecorder& warnings) {
        StartCollisionDebugZEP();
        boxes.clear();
        warnings.seen.clear();
    }

    int outOfMemoryBoxes() const {
        int count = 0;
        for (const Box& box : boxes) count += box.text.find("out of memory") != std::string::npos ? 1 : 0;
        return count;
    }

    static bool anyMoveLost() {
        for (const zep::CollisionBody* body = zep::world().bodyListHead; body; body = body->next)
            if (body->passIncomplete) return true;
        return false;
    }

    // A command refused memory says so once, as a warning of its own and
    // in the armed box; a pass says so at least once, and fails (the box)
    // only where it lost part of a move; nothing else speaks of memory.
    void checkReports(const Step& step, int64_t n, bool refused, const WarningRecorder& warnings) {
        SCOPED_TRACE(::testing::Message() << "allocation " << n << " fails; step: " << step.name);
        const int said = warnings.countStartingWith("out of memory: ");
        if (!refused) {
            EXPECT_EQ(said, 0);
            EXPECT_EQ(outOfMemoryBoxes(), 0);
        } else if (step.isPass) {
            EXPECT_GE(said, 1);
            EXPECT_EQ(outOfMemoryBoxes(), anyMoveLost() ? 1 : 0);
        } else {
            EXPECT_EQ(said, 1);
            EXPECT_EQ(outOfMemoryBoxes(), 1);
        }
    }

    void sweepEveryN(Exhaustion mode) {
        const int64_t baseline = zep::testing::liveRecords();
        int64_t n = 0;
        for (; runWithFailure(n, mode); ++n) {
            StopCollisionZEP();
            ASSERT_EQ(zep::testing::liveRecords(), baseline) << "allocation " << n << " fails";
            if (HasFailure()) return;
        }
        StopCollisionZEP();
        EXPECT_EQ(zep::testing::liveRecords(), baseline);
        // The scenario must reach far enough to make contacts, or the sweep
        // proves little about passes.
        EXPECT_GT(n, 40);
    }
};

TEST_F(ExhaustionTest, EveryAllocationFailingFromThereOn) { sweepEveryN(Exhaustion::kFromNthOn); }

TEST_F(ExhaustionTest, EveryAllocationFailingAlone) { sweepEveryN(Exhaustion::kOnlyNth); }

// Without any failure the scenario does what it is meant to: the movers meet
// the meshes, so the sweeps above cover passes that make contacts.
TEST_F(ExhaustionTest, ScenarioMakesContactsWhenMemoryLasts) {
    const std::vector<unsigned char> block = rampAndWallBlock();
    for (const Step& step : scenario(block)) {
        step.run();
        if (std::string(step.name) == "first pass") {
            EXPECT_GE(CountCollisionsZEP(1), 2);
            EXPECT_GE(CountCollisionsZEP(3), 1);
        }
    }
    EXPECT_THAT(zeptest::worldViolations(), IsEmpty());
}

// A level whose index memory cannot hold: it is activated all the same and
// says once that its sweeps take the slow path; a pass that cannot keep its
// sweep leaves the walker where it was and fails; once memory is back the
// index is built and the walker lands as it would have.
TEST_F(ExhaustionTest, LevelWithoutMemoryForItsIndexSaysSo) {
    WarningRecorder warnings;
    startMoversOnMeshes();
    NewCollObjZEP(2, 2);
    AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    for (const Triangle& t : strip(2000)) addTriangle(2, t);
    moveTo(2, {0, 0, 0});
    makeMover(1, 1, {0.5f, 0.5f, 0.5f}, {10.5f, 3, 0.5f});
    moveTo(1, {10.5f, -3, 0.5f});
    StartCollisionDebugZEP();
    zep::testing::failAllocationsAfter(1);  // the activation entry, and no more
    ActivateObjZEP(2);
    ASSERT_EQ(warnings.seen.size(), 1u);
    EXPECT_EQ(warnings.seen[0].command, "ActivateObjZEP");
    EXPECT_EQ(warnings.seen[0].object, 2);
    EXPECT_THAT(warnings.seen[0].text, ::testing::HasSubstr("index could not be built"));
    EXPECT_TRUE(bodyOf(2)->active);
    EXPECT_THAT(boxes, IsEmpty()) << "a slower level is no failure";

    zep::testing::failAllocationsAfter(0);
    RunCollisionZEP();
    zep::testing::failAllocationsAfter(-1);
    EXPECT_VEC3_EQ((zep::Vec3{10.5f, 3, 0.5f}), positionOf(1));
    EXPECT_THAT(texts(), ::testing::ElementsAre("Collision pass incomplete, out of memory for object: 1"));

    moveTo(1, {10.5f, 3, 0.5f});
    moveTo(1, {10.5f, -3, 0.5f});
    warnings.seen.clear();
    RunCollisionZEP();
    EXPECT_VEC3_EQ((zep::Vec3{10.5f, 0.5f, 0.5f}), positionOf(1));
    EXPECT_THAT(warnings.seen, IsEmpty());
    EXPECT_GT(zep::asMesh(shapeAt(2, 0))->index->tree.boxCount, 0);
}

}  // namespace
}  // namespace zeptest
