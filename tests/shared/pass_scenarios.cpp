// Scenarios of meshes by memory block and of the collision pass end to end:
// a mover dropped onto a floor, and the contact queries after it.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "shared/scenario_parts.h"
#include "support/mesh_block.h"

namespace zeptest {
namespace {

const std::vector<float> kFloor = {-30, 0, -30, -30, 0, 90, 90, 0, -30};

// Sets up object 1 as a unit sphere mover of type 1 and object 2 as a mesh
// of type 2 at `meshAt`, moving the mover from `from` to `to` (previous and
// current positions) without a pass in between.
void dropSetup(const Commands& z, const float meshAt[3], const float from[3], const float to[3]) {
    z.StartCollisionZEP();
    z.SetCollisionZEP(1, 2, 0, 0, 0);
    z.NewCollObjZEP(1, 1);
    z.AddObjShapeZEP(1, ZEP_SHAPE_ELLIPSOID);
    z.SetObjRadiusZEP(1, w(1.0f), w(1.0f), w(1.0f));
    z.NewCollObjZEP(2, 2);
    z.AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    z.UpdateObjZEP(2, w(meshAt[0]), w(meshAt[1]), w(meshAt[2]), 0, 0, 0);
    z.UpdateObjZEP(2, w(meshAt[0]), w(meshAt[1]), w(meshAt[2]), 0, 0, 0);
    z.UpdateObjZEP(1, w(from[0]), w(from[1]), w(from[2]), 0, 0, 0);
    z.UpdateObjZEP(1, w(from[0]), w(from[1]), w(from[2]), 0, 0, 0);
    z.UpdateObjZEP(1, w(to[0]), w(to[1]), w(to[2]), 0, 0, 0);
    z.ActivateObjZEP(1);
    z.ActivateObjZEP(2);
}

// Components 1 to 3 of what `query` gives of mover 1's first contact.
template <class Query>
void checkVector(Checks& c, Query query, float x, float y, float z) {
    SHARED_CHECK_FLOAT(c, x, query(1));
    SHARED_CHECK_FLOAT(c, y, query(2));
    SHARED_CHECK_FLOAT(c, z, query(3));
}

void checkCorner(Checks& c, const Commands& z, int32_t corner, float x, float y, float zc) {
    checkVector(c, [&](int32_t k) { return z.CollisionTriCorner(1, 1, corner, k); }, x, y, zc);
}

void meshBlockAddsNothingToBodiesWithoutMesh(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    z.NewCollObjZEP(3, 2);
    const std::vector<uint8_t> block = meshBlock(12, 3, kFloor);
    z.AddMeshZEP(3, block.data());
    const std::vector<uint8_t> negative = meshBlock(12, -3, {});
    z.AddObjShapeZEP(3, ZEP_SHAPE_MESH);
    z.AddMeshZEP(3, negative.data());  // nothing to read, nothing read
    z.StartCollisionDebugZEP();
    z.AddMeshZEP(4, block.data());
    SHARED_CHECK_EQ(c, std::string("[Object isn't defined: 4]"), joinedTexts(host));
}

// --- The collision pass end to end -------------------------------------------------

void dropOntoFloorByTriangle(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    const float mesh[3] = {0, 0, 0}, from[3] = {-1, 5, -1}, to[3] = {-1, -5, -1};
    dropSetup(z, mesh, from, to);
    z.AddMeshTri(2, w(-30), w(0), w(-30), w(-30), w(0), w(90), w(90), w(0), w(-30));
    z.RunCollisionZEP();
    SHARED_CHECK_EQ(c, 1, z.CountCollisionsZEP(1));
    checkVector(c, [&](int32_t k) { return z.CollisionHit(1, 1, k); }, -1, 0, -1);
    checkVector(c, [&](int32_t k) { return z.CollisionHitNorm(1, 1, k); }, 0, 1, 0);
    SHARED_CHECK_EQ(c, 2, z.CollisionObjHit(1, 1));
    SHARED_CHECK_EQ(c, 1, z.CollisionPolyHit(1, 1));
    checkCorner(c, z, 1, -30, 0, -30);
    checkCorner(c, z, 2, -30, 0, 90);
    checkCorner(c, z, 3, 90, 0, -30);
    SHARED_CHECK_FLOAT(c, -1.0f, z.PeekObjXZEP(1));
    SHARED_CHECK_FLOAT(c, 1.0f, z.PeekObjYZEP(1));
    SHARED_CHECK_FLOAT(c, -1.0f, z.PeekObjZZEP(1));
    SHARED_CHECK_EQ(c, 0, z.CountCollisionsZEP(2));
}

void dropOntoRaisedFloorByMeshBlock(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    const float mesh[3] = {0, 2, 0}, from[3] = {-1, 7, -1}, to[3] = {-1, -3, -1};
    dropSetup(z, mesh, from, to);
    // Stride 20 (22 rounded down); a fourth vertex that makes no triangle.
    std::vector<float> positions = kFloor;
    positions.insert(positions.end(), {5, 5, 5});
    const std::vector<uint8_t> block = meshBlock(22, 4, positions);
    z.AddMeshZEP(2, block.data());
    z.RunCollisionZEP();
    SHARED_CHECK_EQ(c, 1, z.CountCollisionsZEP(1));
    checkVector(c, [&](int32_t k) { return z.CollisionHit(1, 1, k); }, -1, 2, -1);
    SHARED_CHECK_EQ(c, 1, z.CollisionPolyHit(1, 1));
    checkCorner(c, z, 1, -30, 2, -30);
    checkCorner(c, z, 2, -30, 2, 90);
    checkCorner(c, z, 3, 90, 2, -30);
    SHARED_CHECK_FLOAT(c, 3.0f, z.PeekObjYZEP(1));
}

void troughQueries(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    const float mesh[3] = {0, 0, 0}, from[3] = {0, 1.5f, 0}, to[3] = {3, -2, 3};
    dropSetup(z, mesh, from, to);
    z.AddMeshTri(2, w(-30), w(0), w(-30), w(-30), w(0), w(90), w(90), w(0), w(-30));
    z.AddMeshTri(2, w(-14), w(-12), w(-30), w(-14), w(-12), w(90), w(50), w(36), w(-30));
    z.RunCollisionZEP();
    SHARED_CHECK_EQ(c, 2, z.CountCollisionsZEP(1));
    const int32_t hitY = z.CollisionHit(1, 2, 2);
    SHARED_CHECK(c, std::fabs(floatOf(Word(hitY)) - 0.2f) < 5e-5f);
    SHARED_CHECK(c, std::fabs(floatOf(Word(z.CollisionHitNorm(1, 2, 1))) + 0.6f) < 5e-5f);
    SHARED_CHECK_EQ(c, 2, z.CollisionPolyHit(1, 2));
    SHARED_CHECK_EQ(c, 2, z.CollisionObjHit(1, 1));
    SHARED_CHECK_FLOAT(c, 36.0f, z.CollisionTriCorner(1, 2, 3, 2));
    z.UpdateObjZEP(2, w(0), w(1), w(0), 0, 0, 0);
    SHARED_CHECK_FLOAT(c, 37.0f, z.CollisionTriCorner(1, 2, 3, 2));
    SHARED_CHECK_EQ(c, Word(hitY), Word(z.CollisionHit(1, 2, 2)));
    SHARED_CHECK_EQ(c, 0, z.CountCollisionsZEP(2));  // the mesh body holds no contacts of its own
}

}  // namespace

std::vector<Scenario> passScenarios() {
    return {
        {"MeshBlockWithoutMeshShape", false, meshBlockAddsNothingToBodiesWithoutMesh},
        {"DropOntoFloorByTriangle", true, dropOntoFloorByTriangle},
        {"DropOntoRaisedFloorByMeshBlock", true, dropOntoRaisedFloorByMeshBlock},
        {"TroughQueries", true, troughQueries},
    };
}

}  // namespace zeptest
