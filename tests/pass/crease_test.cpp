// Creases: where a slide meets a second surface. A seam between coplanar
// triangles is no crease at all. (That an elongated mover's crease lies where
// the two surfaces meet in its own unit-sphere space, so that it never sinks
// into the sides of a valley, is the level scenario "V-valley 40/40".)
#include "support/fixture.h"
#include "support/scene.h"

namespace zeptest {
namespace {

using zep::Vec3;

class CreaseTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        startMoversOnMeshes();
        NewCollObjZEP(2, 2);
        AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    }
    void placeLevel(Vec3 at = {}) {
        UpdateObjZEP(2, at.x, at.y, at.z, 0, 0, 0);
        ActivateObjZEP(2);
    }
};

// Straight up a ramp quad (rising 3 in 10 along z) whose diagonal the walk
// crosses: nothing pushes the mover sideways. The crease direction between
// the quad's two triangles used to be rounding noise made unit, a shove of a
// fifth of a unit in any direction.
TEST_F(CreaseTest, WalkingUpARampQuadAcrossItsDiagonalStaysOnItsLine) {
    for (Vec3 at : {Vec3{}, Vec3{-310.5f, 20.25f, 1207.0f}}) {
        SetUp();
        addQuad(2, {-3, 0, 0}, {3, 0, 0}, {3, 3, 10}, {-3, 3, 10}, {0, 1, 0});
        placeLevel(at);
        const Vec3 start{at.x + 0.4f, at.y + 1.2f, at.z + 1};
        makeMover(1, 1, {1, 1, 1}, start);
        for (int frame = 0; frame < 40; ++frame) {
            const Vec3 p = positionOf(1);
            moveTo(1, {p.x, p.y - 0.2f, p.z + 0.25f});
            RunCollisionZEP();
            ASSERT_NEAR(positionOf(1).x, start.x, 1e-3f) << "frame " << frame;
        }
        EXPECT_GT(positionOf(1).z, at.z + 7);  // it walked well past the diagonal
        TearDown();
    }
}

}  // namespace
}  // namespace zeptest
