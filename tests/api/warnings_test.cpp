// The warning hook: one warning per call that the commands ignore without a
// box, and no change to anything the host reads.
#include <cmath>
#include <limits>

#include "support/fixture.h"
#include "support/mesh_block.h"
#include "support/scene.h"
#include "support/warnings.h"

namespace zeptest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class WarningTest : public CommandTest {
protected:
    WarningRecorder recorder;
    std::vector<Seen>& warnings = recorder.seen;

    void SetUp() override {
        CommandTest::SetUp();
        warnings.clear();  // what bringing the world to its load state said
    }

    std::vector<std::string> commands() const {
        std::vector<std::string> names;
        for (const Seen& w : warnings) names.push_back(w.command);
        return names;
    }

    // A started system with a type-1 mover 1 dropped onto a type-2 mesh 2
    // holding a floor (wound to face up, or the wrong way).
    void floorAndSphere(bool facingUp = true) {
        startMoversOnMeshes();
        makeMeshObject(2, 2, {facingUp ? kFloor : flipped(kFloor)});
        dropSphere(1, {0, 5, 0}, {0, -5, 0});
    }

    // A unit sphere, a type-1 mover, placed at `from` and moved to `to`,
    // then one pass.
    void dropSphere(int number, zep::Vec3 from, zep::Vec3 to) {
        makeMover(number, 1, {1, 1, 1}, from);
        moveTo(number, to);
        RunCollisionZEP();
    }

    // The one warning so far: a pass's, about `object`, saying `text`.
    void expectOnlyPassWarning(int32_t object, const std::string& text) {
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].command, "RunCollisionZEP");
        EXPECT_EQ(warnings[0].object, object);
        EXPECT_THAT(warnings[0].text, HasSubstr(text));
    }
};

TEST_F(WarningTest, TrianglesForAnObjectWithoutMesh) {
    StartCollisionZEP();
    NewCollObjZEP(7, 2);
    AddMeshTri(7, 0, 0, 0, 0, 0, 1, 1, 0, 0);
    const auto block = meshBlock(12, 3, std::vector<float>(9, 0.0f));
    AddMeshZEP(7, block.data());
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0].command, "AddMeshTri");
    EXPECT_EQ(warnings[0].object, 7);
    EXPECT_TRUE(warnings[0].hasObject);
    EXPECT_THAT(warnings[0].text, HasSubstr("no mesh shape"));
    EXPECT_EQ(warnings[1].command, "AddMeshZEP");
    // Adding the mesh afterwards does not bring the triangle back.
    AddObjShapeZEP(7, ZEP_SHAPE_MESH);
    EXPECT_EQ(warnings.size(), 2u);
}

TEST_F(WarningTest, OutOfRangeTypesKindsAndComponents) {
    floorAndSphere();
    SetCollisionZEP(1, 301, 0, 0, 0);
    NewCollObjZEP(3, -1);
    AddObjShapeZEP(3, 3);
    EXPECT_EQ(CheckShapeZEP(1, 0), 0);
    EXPECT_FLOAT_BITS(0.0f, CollisionHit(1, 1, 4));
    EXPECT_FLOAT_BITS(0.0f, CollisionHitNorm(1, 1, 0));
    EXPECT_FLOAT_BITS(0.0f, CollisionTriCorner(1, 1, 1, -2));
    EXPECT_THAT(commands(), ElementsAre("SetCollisionZEP", "NewCollObjZEP", "AddObjShapeZEP", "CheckShapeZEP",
                                        "CollisionHit", "CollisionHitNorm", "CollisionTriCorner"));
    EXPECT_FALSE(warnings[0].hasObject);
    EXPECT_THAT(warnings[0].text, HasSubstr("0 to 300"));
    EXPECT_EQ(CheckShapeZEP(3, 1), 0);  // no shape was added
}

TEST_F(WarningTest, NonFiniteNumbersAndMalformedBlocks) {
    StartCollisionZEP();
    NewCollObjZEP(4, 1);
    AddObjShapeZEP(4, ZEP_SHAPE_ELLIPSOID);
    const float inf = std::numeric_limits<float>::infinity();
    SetObjRadiusZEP(4, 1, inf, 1);
    UpdateObjZEP(4, std::nanf(""), 0, 0, 0, 0, 0);
    SetObjRadiusZEP(5, 1, 1, 1);  // undefined: a failure, warned as the box's text
    AddObjShapeZEP(4, ZEP_SHAPE_MESH);
    const auto fewVertices = meshBlock(12, 2, std::vector<float>(6, 0.0f));
    const auto smallStride = meshBlock(8, 3, std::vector<float>(9, 0.0f));
    const auto leftOver = meshBlock(12, 4, std::vector<float>(12, 0.0f));
    AddMeshZEP(4, fewVertices.data());
    AddMeshZEP(4, smallStride.data());
    AddMeshZEP(4, leftOver.data());
    AddMeshZEP(4, nullptr);
    ASSERT_EQ(warnings.size(), 7u);
    EXPECT_THAT(warnings[0].text, HasSubstr("inf"));
    EXPECT_THAT(warnings[1].text, HasSubstr("not finite"));
    EXPECT_EQ(warnings[2].text, "Object isn't defined: 5");
    EXPECT_THAT(warnings[3].text, HasSubstr("2 vertices"));
    EXPECT_THAT(warnings[4].text, HasSubstr("8 bytes"));
    EXPECT_THAT(warnings[5].text, HasSubstr("last 1 of the block's 4"));
    EXPECT_THAT(warnings[6].text, HasSubstr("null"));
}

TEST_F(WarningTest, CommandsBeforeStart) {
    NewCollObjZEP(1, 1);
    AddObjShapeZEP(1, 1);
    RunCollisionZEP();
    EXPECT_EQ(PeekCollisionStackZEP(), 0);
    // A failure comes first as the box's text, then the warning saying why.
    EXPECT_THAT(commands(), ElementsAre("Collision Error", "NewCollObjZEP", "Collision Error", "AddObjShapeZEP",
                                        "RunCollisionZEP", "PeekCollisionStackZEP"));
    EXPECT_EQ(warnings[0].text, "Cannot create collision object, system not started1");
    EXPECT_THAT(warnings[4].text, HasSubstr("StartCollisionZEP"));
}

TEST_F(WarningTest, BoxesAndResultsAreUnchanged) {
    StartCollisionZEP();
    StartCollisionDebugZEP();
    NewCollObjZEP(2, 2);
    AddMeshTri(2, 0, 0, 0, 0, 0, 1, 1, 0, 0);  // warned, and the box stays armed
    FreeObjZEP(9);
    FreeObjZEP(8);  // the box showed only the first; the handler sees both
    EXPECT_THAT(texts(), ElementsAre("Object isn't defined: 9"));
    EXPECT_THAT(commands(), ElementsAre("AddMeshTri", "Collision Error", "Collision Error"));
    EXPECT_EQ(warnings[2].text, "Object isn't defined: 8");
}

// ---- the silent ways to fall through the floor, warned by RunCollisionZEP

// Sound use gives none, and nor does a mesh taken away on purpose.
TEST_F(WarningTest, QuietForSoundUseAndAMeshTakenAwayOnPurpose) {
    floorAndSphere();
    EXPECT_EQ(CountCollisionsZEP(1), 1);
    EXPECT_FLOAT_BITS(1.0f, CollisionHitNorm(1, 1, 2));
    makeMeshObject(3, 2, {kFloor}, {0, -1, 0});  // a second floor, active for one pass, then taken away
    RunCollisionZEP();
    DeActivateObjZEP(3);
    RunCollisionZEP();
    EXPECT_TRUE(warnings.empty());
}

// A closed room of inward faces, large enough for a tree, with a mover
// that walks into a wall and one that waits placed but inactive: nothing.
TEST_F(WarningTest, QuietInASoundRoom) {
    startMoversOnMeshes();
    makeMeshObject(2, 2, strip(300));
    addQuad(2, {0, 0, 0}, {300, 0, 0}, {300, 10, 0}, {0, 10, 0}, {0, 0, 1});
    addQuad(2, {0, 0, 1}, {300, 0, 1}, {300, 10, 1}, {0, 10, 1}, {0, 0, -1});
    addQuad(2, {0, 10, 0}, {300, 10, 0}, {300, 10, 1}, {0, 10, 1}, {0, -1, 0});
    NewCollObjZEP(3, 1);
    AddObjShapeZEP(3, ZEP_SHAPE_ELLIPSOID);
    moveTo(3, {5, 5, 0.5f});
    makeMover(1, 1, {0.4f, 0.4f, 0.4f}, {10, 2, 0.5f});
    for (int frame = 0; frame < 10; ++frame) {
        moveTo(1, zep::Add(positionOf(1), zep::Vec3{0, -0.5f, 0.3f}));
        RunCollisionZEP();
    }
    EXPECT_GT(CountCollisionsZEP(1), 0);
    EXPECT_TRUE(warnings.empty());
}

// A walker that got into a pillar open at the top walks out through its
// wall from behind: the pillar's other walls, in another mesh, enclose it,
// so that is no winding mistake.
TEST_F(WarningTest, QuietForAWalkerLeavingAPillarItFellInto) {
    startMoversOnMeshes();
    makeMeshObject(2, 2, {kFloor});
    for (int mesh : {3, 4}) makeMeshObject(mesh, 2, {});
    addQuad(3, {-1, 0, -1}, {-1, 0, 1}, {-1, 2, 1}, {-1, 2, -1}, {-1, 0, 0});
    addQuad(3, {-1, 0, -1}, {1, 0, -1}, {1, 2, -1}, {-1, 2, -1}, {0, 0, -1});
    addQuad(4, {1, 0, -1}, {1, 0, 1}, {1, 2, 1}, {1, 2, -1}, {1, 0, 0});
    addQuad(4, {-1, 0, 1}, {1, 0, 1}, {1, 2, 1}, {-1, 2, 1}, {0, 0, 1});
    dropSphere(5, {5, 1, 5}, {5, 1, 5});  // outside, before the pillar's faces
    makeMover(1, 1, {0.4f, 0.4f, 0.4f}, {0, 0.5f, 0});
    moveTo(1, {3, 0.5f, 0});
    RunCollisionZEP();
    EXPECT_GT(positionOf(1).x, 2.0f);  // out through the back of the east wall
    EXPECT_TRUE(warnings.empty());
}

TEST_F(WarningTest, MoverWhoseTypeNoRuleMoves) {
    floorAndSphere();
    NewCollObjZEP(3, 7);
    AddObjShapeZEP(3, ZEP_SHAPE_ELLIPSOID);
    ActivateObjZEP(3);
    RunCollisionZEP();
    RunCollisionZEP();  // once per object and cause
    expectOnlyPassWarning(3, "no SetCollisionZEP rule moves its type 7");
}

TEST_F(WarningTest, RuleWhoseMeshTypeHasNoActiveMesh) {
    floorAndSphere();
    SetCollisionZEP(1, 9, 0, 0, 0);
    RunCollisionZEP();
    expectOnlyPassWarning(1, "rule 1 -> 9 meets nothing");
}

TEST_F(WarningTest, FloorNeverActivated) {
    startMoversOnMeshes();
    SetCollisionZEP(1, 3, 0, 0, 0);
    NewCollObjZEP(3, 3);  // an active mesh of a met type, so the rule meets something
    AddObjShapeZEP(3, ZEP_SHAPE_MESH);
    ActivateObjZEP(3);
    NewCollObjZEP(2, 2);
    AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    AddMeshTri(2, -30, 0, -30, -30, 0, 90, 90, 0, -30);
    makeMover(1, 1, {1, 1, 1}, {});
    RunCollisionZEP();
    EXPECT_THAT(commands(), ElementsAre("RunCollisionZEP", "RunCollisionZEP"));
    EXPECT_EQ(warnings[0].object, 2);
    EXPECT_THAT(warnings[0].text, HasSubstr("never activated"));
    EXPECT_EQ(warnings[1].object, 1);  // and so type 2 has no active mesh at all
    EXPECT_THAT(warnings[1].text, HasSubstr("rule 1 -> 2 meets nothing"));
}

TEST_F(WarningTest, FloorWoundTheWrongWay) {
    floorAndSphere(false);
    EXPECT_EQ(CountCollisionsZEP(1), 0);  // fell through, as before
    expectOnlyPassWarning(2, "all 1 triangles face away from every mover that meets them, and mover 1 went through "
                             "triangle 1 from behind");
}

// A wrongly wound floor under a wall that faces the mover: not every
// triangle faces away, and the warning names the one it fell through.
TEST_F(WarningTest, WrongFloorInAMeshWithARightWall) {
    startMoversOnMeshes();
    makeMeshObject(2, 2, {kWall, flipped(kFloor)});
    dropSphere(1, {0, 5, 0}, {0, -5, 0});
    expectOnlyPassWarning(2, "triangle 2 faces away from mover 1, which went through it from behind");
}

// A floor of 300 triangles, enough for a tree, wound the wrong way: found
// through the index, the triangle under the mover named.
TEST_F(WarningTest, WrongFloorInALargeMesh) {
    startMoversOnMeshes();
    std::vector<Triangle> floor = strip(300);
    for (Triangle& t : floor) t = flipped(t);
    makeMeshObject(2, 2, floor);
    dropSphere(1, {150.25f, 5, 0.25f}, {150.25f, -5, 0.25f});
    expectOnlyPassWarning(2, "triangle 151 faces away from mover 1");
    EXPECT_NE(zep::asMesh(shapeAt(2, 0))->index, nullptr);  // it was searched through its tree
}

// One UpdateObjZEP before the pass: the mover sweeps up from the origin
// through the back of a floor above it. That is said, and not winding.
TEST_F(WarningTest, MoverSweptInFromTheOrigin) {
    startMoversOnMeshes();
    makeMeshObject(2, 2, {kFloor}, {0, 2, 0});
    makeMover(1, 1, {1, 1, 1}, {0, 5, 0});
    RunCollisionZEP();
    RunCollisionZEP();
    expectOnlyPassWarning(1, "sweeps the ellipsoid in from (0, 0, 0), where a new object starts, to (0, 5, 0)");
}

TEST_F(WarningTest, MoverMovedButNeverActivated) {
    floorAndSphere();
    NewCollObjZEP(3, 1);
    AddObjShapeZEP(3, ZEP_SHAPE_ELLIPSOID);
    moveTo(3, {5, 5, 5});
    RunCollisionZEP();  // placed only: not yet a mistake
    moveTo(3, {5, -5, 5});
    RunCollisionZEP();
    RunCollisionZEP();
    expectOnlyPassWarning(3, "UpdateObjZEP moves it and a rule moves its type 1, but it was never activated");
}

// Far coordinates and a tiny radius are one warning each, per mover; a
// level piece far away from a mover that is near its own floor is not.
TEST_F(WarningTest, OutsideTheSafeRanges) {
    startMoversOnMeshes();
    makeMeshObject(2, 2, {shifted(kFloor, 1e9f)});
    makeMeshObject(3, 2, {kFloor}, {0, -1000, 0});
    dropSphere(1, {1e9f, 1e9f + 512, 1e9f}, {1e9f, 1e9f - 512, 1e9f});
    expectOnlyPassWarning(1, "the ellipsoid's path runs 1e+09 of its radii from mesh 2's position, past the 10^6");
    makeMover(4, 1, {1e-20f, 1e-20f, 1e-20f}, {0, -995, 0});
    moveTo(4, {0, -1005, 0});
    RunCollisionZEP();
    RunCollisionZEP();
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[1].object, 4);
    EXPECT_THAT(warnings[1].text, HasSubstr("of its radii from mesh 3's position"));
}

// Every cause at once gives the same positions and contacts as with no
// handler: looking never changes a pass.
TEST_F(WarningTest, ResultsAreTheSameWithoutAHandler) {
    const auto scene = [this] {
        startMoversOnMeshes();
        std::vector<Triangle> floor = strip(300);
        floor.push_back(flipped(kFloor));
        makeMeshObject(2, 2, floor);
        dropSphere(1, {150.25f, 5, 0.25f}, {150.25f, -5, 0.25f});
        dropSphere(3, {-10, 5, -10}, {-10, -5, -10});
        makeMover(4, 1, {1e-20f, 1e-20f, 1e-20f}, {0, 0.5f, 0.5f});
        RunCollisionZEP();
        std::vector<uint32_t> view;
        for (int number : {1, 3, 4}) appendHostView(view, number);
        return view;
    };
    const std::vector<uint32_t> watched = scene();
    EXPECT_FALSE(warnings.empty());
    zepSetWarningHandler(nullptr, nullptr);
    EXPECT_EQ(scene(), watched);
}

TEST_F(WarningTest, EveryFailureEachTime) {
    StartCollisionZEP();
    PeekObjXZEP(9);
    PeekObjXZEP(9);
    PeekObjXZEP(6000);
    EXPECT_TRUE(boxes.empty());  // never armed
    EXPECT_THAT(commands(), ElementsAre("Collision Error", "Collision Error", "Collision Error"));
    EXPECT_EQ(warnings[2].text, "Object number too high for collision system: 6000");
}

TEST_F(WarningTest, NullHandlerStopsThem) {
    zepSetWarningHandler(nullptr, this);
    StartCollisionZEP();
    SetCollisionZEP(-5, 2, 0, 0, 0);
    EXPECT_TRUE(warnings.empty());
}

}  // namespace
}  // namespace zeptest
