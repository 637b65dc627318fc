// A character walking as a game moves it: each frame a step plus gravity, one
// pass, over a floor of tile objects with crates and low steps standing on it.
// The mover must never sink below the floor nor end inside a crate.
#include <cmath>
#include <random>

#include "support/fixture.h"
#include "support/scene.h"

namespace zeptest {
namespace {

using zep::Vec3;

constexpr float kTile = 4.0f;
constexpr int kTilesPerSide = 8;
constexpr Vec3 kRadii{0.4f, 0.9f, 0.4f};
// How far below its resting height the mover may dip for a frame. Sliding
// along a crate's side across the diagonal of its quad, the crease against the
// nearly parallel edge contact can tip the slide a little downward (about 3%
// of the height at worst in these walks); the next frame's sweep, embedded in
// the floor, pushes it back out. Falling through is what must never happen.
constexpr float kSinkTolerance = 0.05f * kRadii.y;
// How close to a crate's faces still counts as outside it.
constexpr float kCrateSkin = 1e-3f;

struct Box {
    Vec3 low, high;
};

// A closed box, corners relative to the object placed at box.low.
void addBoxObject(int object, const Box& box) {
    NewCollObjZEP(object, 2);
    AddObjShapeZEP(object, ZEP_SHAPE_MESH);
    const Vec3 s = zep::Subtract(box.high, box.low);
    const Vec3 c[8] = {{0, 0, 0},   {s.x, 0, 0},   {s.x, 0, s.z},   {0, 0, s.z},
                       {0, s.y, 0}, {s.x, s.y, 0}, {s.x, s.y, s.z}, {0, s.y, s.z}};
    addQuad(object, c[4], c[5], c[6], c[7], {0, 1, 0});
    addQuad(object, c[0], c[1], c[2], c[3], {0, -1, 0});
    addQuad(object, c[0], c[1], c[5], c[4], {0, 0, -1});
    addQuad(object, c[3], c[2], c[6], c[7], {0, 0, 1});
    addQuad(object, c[0], c[3], c[7], c[4], {-1, 0, 0});
    addQuad(object, c[1], c[2], c[6], c[5], {1, 0, 0});
    UpdateObjZEP(object, box.low.x, box.low.y, box.low.z, 0, 0, 0);
    ActivateObjZEP(object);
}

class WalkingTest : public CommandTest {
protected:
    std::vector<Box> crates;
    std::vector<Box> allBoxes;

    void SetUp() override {
        CommandTest::SetUp();
        StartCollisionZEP();
        SetCollisionZEP(1, 2, 0, 0, 0);
        int object = 10;
        for (int i = 0; i < kTilesPerSide; ++i)
            for (int j = 0; j < kTilesPerSide; ++j) {
                NewCollObjZEP(object, 2);
                AddObjShapeZEP(object, ZEP_SHAPE_MESH);
                addQuad(object, {0, 0, 0}, {kTile, 0, 0}, {kTile, 0, kTile}, {0, 0, kTile}, {0, 1, 0});
                UpdateObjZEP(object, i * kTile, 0, j * kTile, 0, 0, 0);
                ActivateObjZEP(object++);
            }
        crates = {{{6, 0, 6}, {8, 1.5f, 8}}, {{14, 0, 3}, {15, 2, 9}}, {{3, 0, 15}, {9, 1, 16}}};
        const Box steps[] = {{{10, 0, 10}, {14, 0.3f, 14}}, {{11, 0.3f, 11}, {13, 0.6f, 13}},
                             {{17, 0, 17}, {21, 0.25f, 20}}};
        allBoxes = crates;
        allBoxes.insert(allBoxes.end(), std::begin(steps), std::end(steps));
        for (const Box& box : allBoxes) addBoxObject(object++, box);
    }

    static bool overFloor(Vec3 p) {
        const float edge = kTile * kTilesPerSide;
        return p.x > kRadii.x && p.x < edge - kRadii.x && p.z > kRadii.z && p.z < edge - kRadii.z;
    }

    // A start whose ellipsoid already overlaps a box is no walk: it begins
    // embedded in the geometry.
    bool overlapsABox(Vec3 p) const {
        for (const Box& b : allBoxes)
            if (p.x > b.low.x - kRadii.x && p.x < b.high.x + kRadii.x && p.z > b.low.z - kRadii.z &&
                p.z < b.high.z + kRadii.z)
                return true;
        return false;
    }

    bool insideCrate(Vec3 p) const {
        for (const Box& b : crates)
            if (p.x > b.low.x + kCrateSkin && p.x < b.high.x - kCrateSkin &&
                p.y > b.low.y + kCrateSkin && p.y < b.high.y - kCrateSkin &&
                p.z > b.low.z + kCrateSkin && p.z < b.high.z - kCrateSkin)
                return true;
        return false;
    }

    // Walks frames from `from` with a heading that turns a little each frame.
    void walk(Vec3 from, float heading, float turn, float speed, int frames) {
        makeMover(1, 1, kRadii, from);
        Vec3 at = from;
        for (int frame = 0; frame < frames; ++frame, heading += turn) {
            moveTo(1, {at.x + speed * std::cos(heading), at.y - 0.3f, at.z + speed * std::sin(heading)});
            RunCollisionZEP();
            at = positionOf(1);
            if (!overFloor(at)) return;  // walked off the edge: falling is right
            ASSERT_GE(at.y, kRadii.y - kSinkTolerance) << "sank at frame " << frame;
            ASSERT_FALSE(insideCrate(at)) << "inside a crate at frame " << frame;
            ASSERT_TRUE(std::isfinite(at.x) && std::isfinite(at.z));
        }
    }
};

TEST_F(WalkingTest, StraightWalksAcrossTileSeamsAndIntoCrates) {
    const float headings[] = {0.0f, 0.785398f, 1.570796f, 0.3f, 1.2f};
    for (float heading : headings) walk({1, kRadii.y, 1}, heading, 0.0f, 0.25f, 120);
}

TEST_F(WalkingTest, OntoStepsAndDownAgain) {
    walk({9, kRadii.y, 12}, 0.0f, 0.0f, 0.2f, 60);
    walk({12, kRadii.y, 9}, 1.570796f, 0.0f, 0.2f, 60);
    walk({16, kRadii.y, 18}, 0.1f, 0.0f, 0.2f, 60);
}

TEST_F(WalkingTest, RandomWanderings) {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<float> place(1.0f, 23.0f), angle(0.0f, 6.283f), bend(-0.08f, 0.08f);
    for (int walkNumber = 0; walkNumber < 60; ++walkNumber) {
        Vec3 from{place(random), kRadii.y, place(random)};
        if (overlapsABox(from)) continue;
        walk(from, angle(random), bend(random), 0.3f, 150);
    }
}

}  // namespace
}  // namespace zeptest
