// Characters walked as a game walks them: each frame the host moves the
// character to where it wants to be (its walk plus its own vertical speed)
// and runs a pass. Slopes under and over the limit, steps under and over
// the step offset, down a ramp and stairs with a snap, platforms that rise,
// sink and slide, a jump, what was touched, and plain movers beside a
// character moving exactly as without it.
#include <cmath>
#include <vector>

#include "support/fixture.h"
#include "support/invariants.h"
#include "support/scene.h"

namespace zeptest {
namespace {

using ::testing::IsEmpty;

constexpr int kCharacter = 1;
constexpr int kLevel = 2;
constexpr int kPlatform = 3;
constexpr zep::Vec3 kTall{0.4f, 0.9f, 0.4f};
constexpr zep::Vec3 kBall{0.5f, 0.5f, 0.5f};
constexpr double kDegrees = M_PI / 180.0;

// A plane through the origin rising along +x at `degrees`, facing up.
void addSlope(int object, double degrees, float half = 40.0f) {
    const float rise = float(std::tan(degrees * kDegrees)) * half;
    addQuad(object, {-half, -rise, -half}, {half, rise, -half}, {half, rise, half}, {-half, -rise, half},
            {float(-std::sin(degrees * kDegrees)), float(std::cos(degrees * kDegrees)), 0});
}

// A level box from (x0, 0, -20) to (x1, height, 20): its top and its riser
// toward -x, both facing out.
void addStep(int object, float x0, float x1, float height) {
    addQuad(object, {x0, height, -20}, {x1, height, -20}, {x1, height, 20}, {x0, height, 20}, {0, 1, 0});
    addQuad(object, {x0, 0, -20}, {x0, height, -20}, {x0, height, 20}, {x0, 0, 20}, {-1, 0, 0});
}

class CharacterTest : public CommandTest {
protected:
    // A level (object 2) and a character (object 1) standing at `at`.
    void makeCharacter(zep::Vec3 radii, zep::Vec3 at, float slope = 45, float step = 0.5f, float snap = 0.5f) {
        makeMover(kCharacter, 1, radii, at);
        moveTo(kCharacter, at);
        SetCharacterZEP(kCharacter, slope, step, snap);
    }
    void startLevel() {
        startMoversOnMeshes();
        NewCollObjZEP(kLevel, 2);
        AddObjShapeZEP(kLevel, ZEP_SHAPE_MESH);
    }
    void finishLevel() {
        moveTo(kLevel, {0, 0, 0});
        ActivateObjZEP(kLevel);
    }

    // One frame: the walk plus the vertical speed, and a pass.
    void frame(zep::Vec3 walk, float vertical) {
        const zep::Vec3 p = positionOf(kCharacter);
        moveTo(kCharacter, {p.x + walk.x, p.y + vertical, p.z + walk.z});
        RunCollisionZEP();
    }
    // Frames under a steady gravity; how many of them ended on walkable ground.
    int frames(int count, zep::Vec3 walk, float fall = -0.05f) {
        int grounded = 0;
        for (int i = 0; i < count; ++i) {
            frame(walk, fall);
            grounded += CharacterGroundZEP(kCharacter) == ZEP_ON_GROUND;
        }
        EXPECT_THAT(worldViolations(), IsEmpty());
        return grounded;
    }
    zep::Vec3 groundNormal() const {
        return {zepFloat(CharacterGroundNormZEP(kCharacter, 1)), zepFloat(CharacterGroundNormZEP(kCharacter, 2)),
                zepFloat(CharacterGroundNormZEP(kCharacter, 3))};
    }
};

struct SlopeCase {
    double degrees;
    bool walkable;
};

TEST_F(CharacterTest, SlopesUnderTheLimitAreWalkedAndStoodOnOverItBlockAndSlide) {
    for (const zep::Vec3 radii : {kTall, kBall})
        for (const SlopeCase slope : {SlopeCase{30, true}, {44, true}, {46, false}, {60, false}}) {
            SCOPED_TRACE(::testing::Message() << slope.degrees << " degrees, radii " << radii.y);
            startLevel();
            addSlope(kLevel, slope.degrees);
            finishLevel();
            makeCharacter(radii, {0, 3, 0});
            frames(60, {0, 0, 0});  // settle
            const zep::Vec3 rest = positionOf(kCharacter);
            const zep::Vec3 face{float(-std::sin(slope.degrees * kDegrees)), float(std::cos(slope.degrees * kDegrees)), 0};
            EXPECT_TRUE(near(groundNormal(), face, 1e-4));
            if (slope.walkable) {
                EXPECT_EQ(frames(600, {0, 0, 0}), 600) << "grounded every frame standing";
                const zep::Vec3 still = positionOf(kCharacter);
                EXPECT_TRUE(near(still, rest, 1e-3)) << "gravity does not make it creep";
                frames(40, {0.05f, 0, 0});
                EXPECT_GT(positionOf(kCharacter).x - still.x, 1.9f) << "walks up";
            } else {
                EXPECT_EQ(CharacterGroundZEP(kCharacter), ZEP_ON_STEEP_GROUND);
                const zep::Vec3 before = positionOf(kCharacter);
                frames(40, {0.05f, 0, 0});
                EXPECT_LT(positionOf(kCharacter).x, before.x) << "cannot walk up; slides down";
                EXPECT_EQ(CharacterGroundZEP(kCharacter), ZEP_ON_STEEP_GROUND);
            }
        }
}

TEST_F(CharacterTest, StepsUpToTheOffsetAreClimbedHigherOnesBlock) {
    for (const zep::Vec3 radii : {kTall, kBall})
        for (const float height : {0.45f, 0.55f}) {
            SCOPED_TRACE(::testing::Message() << "step " << height << ", radii " << radii.y);
            startLevel();
            addQuad(kLevel, {-20, 0, -20}, {1, 0, -20}, {1, 0, 20}, {-20, 0, 20}, {0, 1, 0});
            addStep(kLevel, 1, 20, height);
            finishLevel();
            makeCharacter(radii, {0, radii.y + 0.01f, 0});
            frames(60, {0.05f, 0, 0});
            const zep::Vec3 p = positionOf(kCharacter);
            if (height < 0.5f) {
                EXPECT_GT(p.x, 2.0f);
                EXPECT_NEAR(p.y, height + radii.y, 0.01);
            } else {
                EXPECT_LT(p.x, 1.0f);
                EXPECT_NEAR(p.y, radii.y, 0.01);
            }
            EXPECT_EQ(CharacterGroundZEP(kCharacter), ZEP_ON_GROUND);
        }
}

TEST_F(CharacterTest, SnapKeepsItOnTheFloorDownARampAndStairs) {
    // Down a 30 degree ramp, and down stairs of 0.3 (treads 0.6 long), with a
    // gravity far short of the drop of each frame's walk.
    startLevel();
    addSlope(kLevel, 30);
    finishLevel();
    makeCharacter(kTall, {10, 7, 0});
    frames(40, {0, 0, 0});
    EXPECT_EQ(frames(100, {-0.1f, 0, 0}, -0.02f), 100);

    startLevel();
    addQuad(kLevel, {-20, 0, -20}, {0, 0, -20}, {0, 0, 20}, {-20, 0, 20}, {0, 1, 0});
    for (int i = 0; i < 8; ++i) addStep(kLevel, 0.6f * float(i), 20, 0.3f * float(i + 1));
    finishLevel();
    makeCharacter(kTall, {5.7f, 2.4f + 0.95f, 0});
    frames(20, {0, 0, 0});
    EXPECT_EQ(frames(70, {-0.1f, 0, 0}, -0.02f), 70);
    EXPECT_NEAR(positionOf(kCharacter).y, 0.9, 0.01);
}

TEST_F(CharacterTest, PlatformsCarryWhatStandsOnThem) {
    startLevel();
    addQuad(kLevel, {-20, 0, -20}, {20, 0, -20}, {20, 0, 20}, {-20, 0, 20}, {0, 1, 0});
    finishLevel();
    makeMeshObject(kPlatform, 2, {}, {0, 1, 0});
    addQuad(kPlatform, {-3, 0, -3}, {3, 0, -3}, {3, 0, 3}, {-3, 0, 3}, {0, 1, 0});
    makeCharacter(kTall, {0, 2, 0});
    frames(30, {0, 0, 0});
    ASSERT_EQ(CharacterGroundObjZEP(kCharacter), kPlatform);
    zep::Vec3 platform{0, 1, 0};
    const zep::Vec3 moves[] = {{0, 0.05f, 0}, {0, -0.04f, 0}, {0.06f, 0, 0.03f}};
    for (const zep::Vec3 move : moves) {
        SCOPED_TRACE(::testing::Message() << "platform moves " << move.x << ", " << move.y << ", " << move.z);
        for (const zep::Vec3 walk : {zep::Vec3{0, 0, 0}, zep::Vec3{0.02f, 0, 0}}) {
            for (int i = 0; i < 20; ++i) {
                const zep::Vec3 before = positionOf(kCharacter);
                platform = zep::Add(platform, move);
                moveTo(kPlatform, platform);
                frame(walk, -0.05f);
                const zep::Vec3 moved = zep::Subtract(positionOf(kCharacter), before);
                EXPECT_TRUE(near(moved, zep::Add(move, walk), 1e-3));
                EXPECT_EQ(CharacterGroundObjZEP(kCharacter), kPlatform);
            }
        }
    }
}

TEST_F(CharacterTest, JumpLandsAndTheFlagsSayWhatWasTouched) {
    startLevel();
    addQuad(kLevel, {-20, 0, -20}, {20, 0, -20}, {20, 0, 20}, {-20, 0, 20}, {0, 1, 0});
    addQuad(kLevel, {3, 0, -20}, {3, 9, -20}, {3, 9, 20}, {3, 0, 20}, {-1, 0, 0});      // a wall at x = 3
    addQuad(kLevel, {-20, 2.5f, 6}, {-20, 2.5f, 20}, {20, 2.5f, 20}, {20, 2.5f, 6}, {0, -1, 0});  // a ceiling past z = 6
    finishLevel();
    makeCharacter(kTall, {0, 1, 0});
    frames(10, {0, 0, 0});
    EXPECT_EQ(CharacterFlagsZEP(kCharacter), ZEP_TOUCHED_BELOW);
    EXPECT_EQ(CharacterGroundObjZEP(kCharacter), kLevel);
    // A jump: up at 0.3 a frame, less 0.02 each frame, until it lands.
    float speed = 0.3f;
    bool leftGround = false;
    int landedAfter = 0;
    for (int i = 0; i < 60 && !landedAfter; ++i) {
        frame({0, 0, 0}, speed);
        speed -= 0.02f;
        if (CharacterGroundZEP(kCharacter) == ZEP_IN_AIR) leftGround = true;
        else if (leftGround) landedAfter = i;
    }
    EXPECT_TRUE(leftGround);
    EXPECT_GT(landedAfter, 20);
    EXPECT_EQ(CharacterGroundZEP(kCharacter), ZEP_ON_GROUND);
    EXPECT_NEAR(positionOf(kCharacter).y, 0.9, 0.01);
    frames(60, {0.05f, 0, 0});
    EXPECT_EQ(CharacterFlagsZEP(kCharacter), ZEP_TOUCHED_BELOW | ZEP_TOUCHED_SIDES) << "at the wall";
    EXPECT_LT(positionOf(kCharacter).x, 3 - 0.4f + 1e-3f);
    moveTo(kCharacter, {0, 0.9f, 8});
    moveTo(kCharacter, {0, 0.9f, 8});
    frame({0, 0, 0}, 1.0f);
    EXPECT_TRUE(CharacterFlagsZEP(kCharacter) & ZEP_TOUCHED_ABOVE) << "under the ceiling";
    EXPECT_NEAR(positionOf(kCharacter).y, 2.5 - 0.9, 1e-3);
}

// A plain mover meets the same floor with a character beside it, and with
// the same object a plain mover: its results are the same to the bit.
TEST_F(CharacterTest, PlainMoversMoveAsWithoutCharacters) {
    std::vector<uint32_t> views[2];
    for (int withCharacter = 0; withCharacter < 2; ++withCharacter) {
        startLevel();
        addSlope(kLevel, 20);
        finishLevel();
        makeMover(5, 1, {0.5f, 1, 0.5f}, {1, 4, 1});
        makeCharacter(kTall, {-2, 3, 0});
        if (!withCharacter) NewCollObjZEP(kCharacter, 7);
        for (int i = 0; i < 30; ++i) {
            moveTo(5, zep::Add(positionOf(5), {0.1f, -0.2f, 0.05f}));
            frame({0.05f, 0, 0}, -0.05f);
            appendHostView(views[withCharacter], 5);
        }
    }
    EXPECT_EQ(views[0], views[1]);
}

TEST_F(CharacterTest, SettingsAreCheckedAndANonCharacterReadsAsInTheAir) {
    startLevel();
    finishLevel();
    makeMover(kCharacter, 1, kTall, {0, 1, 0});
    const struct {
        float slope, step, snap;
        const char* text;
    } bad[] = {{-1, 0, 0, "Character slope limit must be 0 to 89.9 degrees, object: 1"},
               {90, 0, 0, "Character slope limit must be 0 to 89.9 degrees, object: 1"},
               {NAN, 0, 0, "Character slope limit must be 0 to 89.9 degrees, object: 1"},
               {45, -0.1f, 0, "Character step and snap must be finite and not negative, object: 1"},
               {45, 0, INFINITY, "Character step and snap must be finite and not negative, object: 1"}};
    for (const auto& b : bad) {
        StartCollisionDebugZEP();
        SetCharacterZEP(kCharacter, b.slope, b.step, b.snap);
        EXPECT_EQ(texts().back(), b.text);
    }
    StartCollisionDebugZEP();
    SetCharacterZEP(kLevel, 45, 0, 0);
    EXPECT_EQ(texts().back(), "Character needs an ellipsoid shape, object: 2");
    StartCollisionDebugZEP();
    SetCharacterZEP(9, 45, 0, 0);
    EXPECT_EQ(texts().back(), "Object isn't defined: 9");
    EXPECT_EQ(CharacterGroundZEP(kCharacter), ZEP_IN_AIR);
    EXPECT_EQ(CharacterGroundObjZEP(kCharacter), 0);
    EXPECT_EQ(CharacterFlagsZEP(9), 0);
}

}  // namespace
}  // namespace zeptest
