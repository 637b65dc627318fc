// Shapes and meshes: ellipsoids with their radii, mesh triangles one at a time
// or in bulk from the host's mesh memory block.
#include <cmath>
#include <cstring>

#include "api/checks.h"
#include "api/command_entry.h"
#include "api/diagnostics.h"
#include "api/errors.h"
#include "api/memory_reports.h"
#include "world/mesh_block.h"
#include "world/shapes.h"
#include "zepcollide.h"

using namespace zep;

namespace {

bool allFinite(const float* values, int count) {
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i])) return false;
    return true;
}

// A mesh command on an object that cannot keep triangles: they are dropped,
// not kept for a mesh added later, and the mover falls through that floor.
bool warnNoMesh(const char* command, int32_t number, const CollisionBody* body) {
    if (hasShapeOfKind(body, kShapeMesh)) return false;
    warnAbout(command, number,
              "triangles ignored: the object has no mesh shape (AddObjShapeZEP %d 2 must come first)", int(number));
    return true;
}

// What is wrong with a host mesh block, if anything: the header first, then
// the positions of the vertices it describes.
void checkMeshBlock(int32_t number, const void* block) {
    constexpr const char* command = "AddMeshZEP";
    if (!block) {
        warnAbout(command, number, "ignored: the block address is null");
        return;
    }
    const MeshBlock mesh = readMeshBlock(block);
    const uint32_t vertexSize = mesh.vertexSize;
    const int32_t vertexCount = mesh.vertexCount;
    if (vertexCount < 3) {
        warnAbout(command, number, "ignored: the block header gives %d vertices, fewer than one triangle",
                  int(vertexCount));
        return;
    }
    if (vertexSize < 12) {
        warnAbout(command, number,
                  "the block header gives %u bytes per vertex, fewer than the 12 of a position: vertices overlap",
                  unsigned(vertexSize));
        return;
    }
    if (vertexCount % 3 != 0) {
        warnAbout(command, number, "the last %d of the block's %d vertices make no whole triangle and are ignored",
                  int(vertexCount % 3), int(vertexCount));
        return;
    }
    for (int32_t vertex = 0; vertex < vertexCount; ++vertex) {
        float position[3];
        mesh.position(vertex, position);
        if (!allFinite(position, 3)) {
            warnAbout(command, number, "vertex %d of the block has a non-finite coordinate (%g, %g, %g)",
                      int(vertex), double(position[0]), double(position[1]), double(position[2]));
            return;
        }
    }
}

}  // namespace

extern "C" {

ZEP_API void ZEPCALL AddObjShapeZEP(int32_t number, int32_t shapeKind) {
    const CommandEntry entry("AddObjShapeZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    CollisionObject* object = validateObject(number, "AddObjShapeZEP");
    if (!object) return;
    if (warningsWanted() && shapeKind != kShapeEllipsoid && shapeKind != kShapeMesh)
        warnAbout("AddObjShapeZEP", number, "ignored: shape kind %d; the kinds are 1 (ellipsoid) and 2 (mesh)",
                  int(shapeKind));
    const MemoryWatch memory;
    addShape(object->body, shapeKind);
    if (memory.ranOut())
        reportOutOfMemory("AddObjShapeZEP", number, message::kShapeNoMemory, number, "the shape was not added");
}

ZEP_API void ZEPCALL SetObjRadiusZEP(int32_t number, float rx, float ry, float rz) {
    const CommandEntry entry("SetObjRadiusZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    CollisionObject* object = validateObject(number, "SetObjRadiusZEP");
    if (!object) return;
    // Written as !(r > 0) so that NaN fails like zero and negatives do.
    if (!(rx > 0.0f) || !(ry > 0.0f) || !(rz > 0.0f)) {
        reportError(message::kRadiusNotPositive, number);
        return;
    }
    if (warningsWanted()) {
        const float radii[3] = {rx, ry, rz};
        if (!hasShapeOfKind(object->body, kShapeEllipsoid))
            warnAbout("SetObjRadiusZEP", number, "ignored: the object has no ellipsoid shape");
        else if (!allFinite(radii, 3))
            warnAbout("SetObjRadiusZEP", number,
                      "radii (%g, %g, %g) are not finite: the ellipsoid's sweeps have no meaning", double(rx),
                      double(ry), double(rz));
    }
    setEllipsoidRadii(object->body, Vec3{rx, ry, rz});
}

ZEP_API void ZEPCALL AddMeshTri(int32_t number, float x1, float y1, float z1, float x2, float y2,
                                float z2, float x3, float y3, float z3) {
    const CommandEntry entry("AddMeshTri", FromHandler::Refused);
    if (!entry.admitted()) return;
    CollisionObject* object = validateObject(number, "AddMeshTri");
    if (!object) return;
    const float corners[9] = {x1, y1, z1, x2, y2, z2, x3, y3, z3};
    if (warningsWanted() && !warnNoMesh("AddMeshTri", number, object->body) && !allFinite(corners, 9))
        warnAbout("AddMeshTri", number, "a corner of the triangle is not finite: sweeps against it have no meaning");
    const MemoryWatch memory;
    addTriangleToMeshes(object->body, corners);
    if (memory.ranOut())
        reportOutOfMemory("AddMeshTri", number, message::kTrianglesNoMemory, number,
                          "the triangle was added to none of the object's meshes");
}

ZEP_API void ZEPCALL AddMeshZEP(int32_t number, const void* block) {
    const CommandEntry entry("AddMeshZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    CollisionObject* object = validateObject(number, "AddMeshZEP");
    if (!object) return;
    if (warningsWanted() && !warnNoMesh("AddMeshZEP", number, object->body)) checkMeshBlock(number, block);
    const MemoryWatch memory;
    addMeshBlock(object->body, block);
    if (memory.ranOut())
        reportOutOfMemory("AddMeshZEP", number, message::kTrianglesNoMemory, number,
                          "none of the block's triangles were added to any of the object's meshes");
}

}  // extern "C"
