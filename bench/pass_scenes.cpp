#include "pass_scenes.h"

#include "levels.h"

namespace zepbench {

namespace {

constexpr int kCrowd = 1000;
constexpr int kShots = 1000;
constexpr int kSmallScene = 16;
constexpr int64_t kTriangles = 100000;
constexpr int64_t kLargeTriangles = 1000000;

void buildCrowd(const Commands& zep) { placeMovers(zep, kMoverBase, kCrowd, loadTerrain(zep, kLevelObject, kTriangles)); }
void buildLargeCrowd(const Commands& zep) {
    placeMovers(zep, kMoverBase, kCrowd, loadTerrain(zep, kLevelObject, kLargeTriangles));
}
void buildSmallScene(const Commands& zep) {
    placeMovers(zep, kMoverBase, kSmallScene, loadTerrain(zep, kLevelObject, kTriangles));
}

void buildShots(const Commands& zep) {
    loadTerrain(zep, kLevelObject, kTriangles);
    placeShots(zep, kMoverBase, kShots);
}

}  // namespace

std::vector<PassScene> passScenes() {
    return {
        {"walking crowd, 0.1 a frame: 1000 movers of radii 0.4 x 0.9 x 0.4 on 10^5 triangles", "crowd-0.1", kCrowd,
         buildCrowd, [](const Commands& zep, int frame) { stepWalkers(zep, kMoverBase, kCrowd, frame, kStroll); }},
        {"walking crowd, 0.35 a frame: 1000 movers of radii 0.4 x 0.9 x 0.4 on 10^5 triangles", "crowd-0.35", kCrowd,
         buildCrowd, [](const Commands& zep, int frame) { stepWalkers(zep, kMoverBase, kCrowd, frame, kBriskWalk); }},
        {"1000 shots of 40 units on 10^5 triangles", "shots", kShots, buildShots,
         [](const Commands& zep, int frame) { aimShots(zep, kMoverBase, kShots, frame, terrainSide(kTriangles)); }},
        {"walking crowd, 0.1 a frame: 1000 movers on 10^6 triangles", "crowd-0.1-large", kCrowd, buildLargeCrowd,
         [](const Commands& zep, int frame) { stepWalkers(zep, kMoverBase, kCrowd, frame, kStroll); }},
        {"walking crowd, 0.35 a frame: 1000 movers on 10^6 triangles", "crowd-0.35-large", kCrowd, buildLargeCrowd,
         [](const Commands& zep, int frame) { stepWalkers(zep, kMoverBase, kCrowd, frame, kBriskWalk); }},
        {"16 movers walking 0.1 a frame on 10^5 triangles", "sixteen", kSmallScene, buildSmallScene,
         [](const Commands& zep, int frame) { stepWalkers(zep, kMoverBase, kSmallScene, frame, kStroll); }},
    };
}

void freshWorld(const Commands& zep) {
    zep.StopCollisionZEP();
    zep.StartCollisionZEP();
    zep.SetCollisionZEP(1, 2, 0, 0, 0);
}

uint64_t resultDigest(const Commands& zep, int movers) {
    uint64_t digest = 14695981039346656037ull;
    for (uint32_t word : snapshot(zep, kMoverBase, movers))
        for (int byte = 0; byte < 4; ++byte) {
            digest ^= (word >> (8 * byte)) & 0xffu;
            digest *= 1099511628211ull;
        }
    return digest;
}

}  // namespace zepbench
