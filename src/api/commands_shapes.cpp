// Shapes and meshes: ellipsoids with their radii, mesh triangles one at a time
// or in bulk from the host's mesh memory block.
#include "api/checks.h"
#include "api/errors.h"
#include "world/shapes.h"
#include "zepcollide.h"

using namespace zep;

extern "C" {

ZEP_API void ZEPCALL AddObjShapeZEP(int32_t number, int32_t shapeKind) {
    if (CollisionObject* object = validateObject(number)) addShape(object->body, shapeKind);
}

ZEP_API void ZEPCALL SetObjRadiusZEP(int32_t number, float rx, float ry, float rz) {
    CollisionObject* object = validateObject(number);
    if (!object) return;
    // Written as !(r > 0) so that NaN fails like zero and negatives do.
    if (!(rx > 0.0f) || !(ry > 0.0f) || !(rz > 0.0f)) {
        reportError(message::kRadiusNotPositive, number);
        return;
    }
    setEllipsoidRadii(object->body, Vec3{rx, ry, rz});
}

ZEP_API void ZEPCALL AddMeshTri(int32_t number, float x1, float y1, float z1, float x2, float y2,
                                float z2, float x3, float y3, float z3) {
    CollisionObject* object = validateObject(number);
    if (!object) return;
    const float corners[9] = {x1, y1, z1, x2, y2, z2, x3, y3, z3};
    addTriangleToMeshes(object->body, corners);
}

ZEP_API void ZEPCALL AddMeshZEP(int32_t number, const void* block) {
    if (CollisionObject* object = validateObject(number)) addMeshBlock(object->body, block);
}

}  // extern "C"
