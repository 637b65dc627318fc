// Creases: where a slide meets a second surface. A seam between coplanar
// triangles is no crease at all, and an elongated mover's crease lies where
// the two surfaces meet in its own unit-sphere space.
#include <cmath>

#include "support/fixture.h"
#include "support/scene.h"

namespace zeptest {
namespace {

using zep::Vec3;

class CreaseTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
        SetCollisionZEP(1, 2, 0, 0, 0);
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

// How deep an ellipsoid at c with radii r reaches through the plane n·x = d
// (n unit), in radii along n; negative when clear of it.
double depthInRadii(Vec3 c, Vec3 r, Vec3 n, double d) {
    const double extent = std::sqrt(std::pow(r.x * n.x, 2) + std::pow(r.y * n.y, 2) + std::pow(r.z * n.z, 2));
    return (extent - (double(n.x) * c.x + double(n.y) * c.y + double(n.z) * c.z - d)) / extent;
}

// A 0.4 x 0.9 x 0.4 mover walking along a V-valley with 40 degree sides,
// pushed into one side: its world contact normals are weighted by its radii,
// so a crease taken in world space would let it sink into the sides.
TEST_F(CreaseTest, AnElongatedMoverStaysOutOfTheSidesOfAValley) {
    const float rise = std::tan(40.0f * 3.14159265f / 180.0f);
    addQuad(2, {-5, 5 * rise, -20}, {0, 0, -20}, {0, 0, 20}, {-5, 5 * rise, 20}, {rise, 1, 0});
    addQuad(2, {0, 0, -20}, {5, 5 * rise, -20}, {5, 5 * rise, 20}, {0, 0, 20}, {-rise, 1, 0});
    placeLevel();
    const Vec3 radii{0.4f, 0.9f, 0.4f};
    makeMover(1, 1, radii, {0.5f, 2.5f, -15});
    const double norm = std::sqrt(1.0 + double(rise) * rise);
    const Vec3 left{float(rise / norm), float(1 / norm), 0}, right{float(-rise / norm), float(1 / norm), 0};
    double deepest = -1;
    for (int frame = 0; frame < 80; ++frame) {
        const Vec3 p = positionOf(1);
        moveTo(1, {p.x + (frame % 2 ? 0.3f : -0.3f), p.y - 0.3f, p.z + 0.3f});
        RunCollisionZEP();
        const Vec3 c = positionOf(1);
        deepest = std::max({deepest, depthInRadii(c, radii, left, 0), depthInRadii(c, radii, right, 0)});
    }
    EXPECT_LT(deepest, 0.01);
    EXPECT_GT(positionOf(1).z, 5.0f);  // it kept walking
}

}  // namespace
}  // namespace zeptest
